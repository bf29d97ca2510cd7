// Inversion geometry: point and circle inversion, world frames, the random
// inversion walk, circle generations and coaxal circles. Draws only through
// the raster kit, on a canvas given, or on the window in the forms of
// screen_inversion.h.
#pragma once

#include "circle.h"
#include "circle_generation.h"
#include "coaxal_circles.h"
#include "invert_circle.h"
#include "invert_point.h"
#include "inversion_walk.h"
#include "screen_inversion.h"
#include "world_frame.h"

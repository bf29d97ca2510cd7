// Inversion geometry: point and circle inversion, world frames, the random
// inversion walk, circle generations and coaxal circles. Draws only through
// the raster kit.
#pragma once

#include "circle.h"
#include "circle_generation.h"
#include "coaxal_circles.h"
#include "invert_circle.h"
#include "invert_point.h"
#include "inversion_walk.h"
#include "world_frame.h"

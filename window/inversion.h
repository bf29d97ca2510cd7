// The inversion kit as the programs include it: point and circle
// inversion, world frames, the random inversion walk, circle generations and
// coaxal circles (inversion/, on a canvas given), with their forms that draw
// on the window (screen_inversion.h).
#pragma once

#include "circle.h"
#include "circle_generation.h"
#include "coaxal_circles.h"
#include "invert_circle.h"
#include "invert_point.h"
#include "inversion_walk.h"
#include "screen_inversion.h"
#include "world_frame.h"

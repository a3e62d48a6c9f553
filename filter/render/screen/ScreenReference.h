// The reference screening of a monochrome and a colour band (ScreenBandFunction in Screening.h),
// pixel by pixel and dot by dot, kept to check the fast one (ScreenFast.h) against.
#pragma once

#include "filter/render/screen/Screening.h"

ScreenBandFunction ScreenBandMonoReference;
ScreenBandFunction ScreenBandColorReference;

// The reference screening of a monochrome and a colour band (ScreenBandFunction in Screening.h),
// pixel by pixel and dot by dot, kept to check the fast one (ScreenFast.h) against.
#pragma once

#include "filter/render/screen/Screening.h"

ScreenBandFunction ScreenBandMonoReference;
ScreenBandFunction ScreenBandColorReference;

struct tagSCREENFRAME;

// The reference screening of a frame already built (ScreenFrame.h), monochrome with one plane and
// colour with four, through the frame's colour cache when it has one: the fast screening's way out
// when it has no working memory.
void ScreenFrameReference(const tagSCREENFRAME& frame, DWORD* inkMask);

// The screening the filter runs, for a monochrome and a colour band (ScreenBandFunction in
// Screening.h): white skipped by 16- to 128-byte compares, pixels of one ink screened from one bit
// each, groups of pixels that repeat reused, 16 to 64 thresholds compared at once. It sets exactly
// the dots of the reference (ScreenReference.h), and leaves a band to it when its working memory
// cannot be had.
#pragma once

#include "filter/render/screen/Screening.h"

ScreenBandFunction ScreenBandMono;
ScreenBandFunction ScreenBandColor;

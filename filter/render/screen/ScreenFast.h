// The screening the filter runs, for a monochrome and a colour band (ScreenBandFunction in
// Screening.h): white skipped by 16- to 128-byte compares, pixels of one ink screened from one bit
// each, groups of pixels that repeat reused, 16 to 64 thresholds compared at once. It sets exactly
// the dots of the reference (ScreenReference.h), and leaves a band to it when its working memory
// cannot be had.
#pragma once

#include "filter/render/screen/Screening.h"

struct tagSCREENSCRATCH;

// On the context's scratch memory (ContextScreenScratch).
ScreenBandFunction ScreenBandMono;
ScreenBandFunction ScreenBandColor;

// A monochrome or colour band screened as ScreenBandMono and ScreenBandColor, on the given scratch
// memory. On memory other than the context's, bands of one page may be screened at the same time on
// several threads when they share no bitmap byte: the context is then only read (a band whose
// working memory cannot be had goes to the reference without the context's colour cache).
WORD ScreenBandFast(bool mono, uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                    const DRVDEVMODE* settings, tagRENDERCONTEXT* context, tagPAGEBITMAP* bitmap,
                    tagSCREENSCRATCH* scratch, DWORD* inkMask);

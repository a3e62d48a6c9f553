// Rendering the colour adjustment dialog's previews: the source picture mapped pixel by pixel
// into the dialog's working picture, both RGB with 8 bits per sample, 3 channels and the same
// size and row stride (the working picture is a copy of the source picture). A render allocates
// nothing, so it can run on every slider step.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"

// Two pictures of one layout.
struct tagPREVIEWPICTURES {
    const BYTE* pSource;  // the preview photograph, read only
    BYTE* pTarget;        // the working picture the preview image shows
    int nWidth;           // pixels per row
    int nHeight;          // rows
    int nRowStride;       // bytes from one row to the next, at least 3 x nWidth
};

// Whether the pictures can be mapped: both present and distinct, a positive size and a row
// stride that holds a row. A missing or undecodable picture gives false and nothing is touched.
bool IsRenderable(const tagPREVIEWPICTURES& pictures);

// The colour preview of the Adjustment page for the dialog's slider values (the working copy's
// colour-control block, -50..50 each): scales them, builds the preview table and maps every pixel.
// False, with nothing written, when the pictures are not renderable.
bool RenderColorPreview(const CLRCTRL& sliders, const tagPREVIEWPICTURES& pictures);

// The gray preview of the Brightness page for the gray brightness -50..50 (gamma 1 - 0.01 x the
// value: 50 lighter, -50 darker): every pixel's GrayGamma in all three channels. A value outside
// the slider range counts as the nearest end. False, with nothing written, when the pictures are
// not renderable.
bool RenderGrayPreview(SHORT sGrayBrightness, const tagPREVIEWPICTURES& pictures);

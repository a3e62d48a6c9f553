// The three colour transforms of the colour adjustment preview (saturation, RGB balance, CMYK
// balance), evaluated at the lattice nodes of the preview table, and the scaling of the dialog's
// slider values into the block they read.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"
#include "gui/dlgcoloradj/PreviewColorModel.h"

namespace preview {

// The slider range of every colour setting, 0 neutral.
constexpr SHORT kSliderMin = -50;
constexpr SHORT kSliderMax = 50;

// A slider value -50..50 as the transforms read it, 0..255: (v + 50) x 255 / 100 in integers,
// truncated, so -50 gives 0, 0 gives 127 (one below the transforms' centre 128) and 50 gives 255.
// A value outside the slider range (a damaged saved-settings file) counts as the nearest end.
SHORT ScaleSliderValue(SHORT sValue);

// The colour-control block with brightness, saturation, red, green, blue, cyan, magenta, yellow
// and black scaled by ScaleSliderValue; every other member, wType included, copied as it is.
CLRCTRL ScaleColorControl(const CLRCTRL& sliders);

// The transform parameters of a scaled block, each held to 0..255.
struct TransformParams {
    int brightness, saturation, red, green, blue, cyan, magenta, yellow, black;
};
TransformParams ParamsOf(const CLRCTRL& scaled);

// The three transforms, on colour values (which may lie a little outside 0..255 at the outer
// lattice nodes). Each returns R, G, B as doubles for RoundToByte.
Triple SaturationTransform(double r, double g, double b, const TransformParams& p);
Triple RgbBalanceTransform(double r, double g, double b, const TransformParams& p);
Triple CmykBalanceTransform(double r, double g, double b, const TransformParams& p);

using TransformFunction = Triple (*)(double, double, double, const TransformParams&);

// The transform of an adjustment type: 1 saturation, 2 RGB balance, 3 CMYK balance; NULL for any
// other type.
TransformFunction TransformOfType(WORD wType);

}  // namespace preview

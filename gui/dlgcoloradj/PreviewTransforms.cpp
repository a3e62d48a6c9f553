#include "gui/dlgcoloradj/PreviewTransforms.h"

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

// The transforms centre their formulas on 128.
constexpr double kCentre = 128.0;
// One brightness step: 100 / 127 colour values.
constexpr double kBrightnessStep = 0.7874015748031497;
// One saturation step: 1 / 127 of the chroma.
constexpr double kSaturationStep = 0.007874015748031496;
// The lightness curve's knees, for gain 1 and offset 0.
constexpr double kLowLightness = 50.0 - 40.0 / (1.0 + 1e-6);
constexpr double kHighLightness = 50.0 + 40.0 / (1.0 + 1e-6);

int ClampParam(SHORT s)
{
    return std::clamp<int>(s, 0, 255);
}

void ApplyBrightness(double& r, double& g, double& b, const TransformParams& p)
{
    const double k = (p.brightness - kCentre) * kBrightnessStep;
    r += k;
    g += k;
    b += k;
}

double ClampColour(double v)
{
    return ClampFinite(v, 0.0, 255.0);
}

double Lightness(double l)
{
    if (l < kLowLightness)
        return l * 10.0 / kLowLightness;
    if (l > kHighLightness)
        return 100.0 + (l - 100.0) * 10.0 / (100.0 - kHighLightness);
    return l;
}

// The exponent of a CMYK balance parameter: 255 gives about 0.502 (more ink), 0 about 1.502.
double InkExponent(int q)
{
    return 1.0 - (q - kCentre) / 255.0;
}

double Ink(double density, double black, int q, double blackTerm)
{
    const double ink = 255.0 * std::pow((density - black) / 255.0, InkExponent(q)) + blackTerm;
    return ClampFinite(ink, 0.0, 255.0);
}

}  // namespace

SHORT ScaleSliderValue(SHORT sValue)
{
    const int v = std::clamp<int>(sValue, kSliderMin, kSliderMax);
    return static_cast<SHORT>((v + 50) * 255 / 100);
}

CLRCTRL ScaleColorControl(const CLRCTRL& sliders)
{
    CLRCTRL scaled = sliders;
    SHORT* const scaledMembers[] = {&scaled.sBrightness, &scaled.sSaturation, &scaled.sRed,
                                    &scaled.sGreen,      &scaled.sBlue,       &scaled.sCyan,
                                    &scaled.sMagenta,    &scaled.sYellow,     &scaled.sBlack};
    for (SHORT* member : scaledMembers)
        *member = ScaleSliderValue(*member);
    return scaled;
}

TransformParams ParamsOf(const CLRCTRL& scaled)
{
    return {ClampParam(scaled.sBrightness), ClampParam(scaled.sSaturation), ClampParam(scaled.sRed),
            ClampParam(scaled.sGreen),      ClampParam(scaled.sBlue),       ClampParam(scaled.sCyan),
            ClampParam(scaled.sMagenta),    ClampParam(scaled.sYellow),     ClampParam(scaled.sBlack)};
}

Triple SaturationTransform(double r, double g, double b, const TransformParams& p)
{
    r = std::min(r, 255.0);
    g = std::min(g, 255.0);
    b = std::min(b, 255.0);
    ApplyBrightness(r, g, b, p);
    const Triple luv = RgbToLuv(ClampColour(r), ClampColour(g), ClampColour(b));
    const Triple lch = LuvToLch(luv.a, luv.b, luv.c);
    const double chroma = lch.b * (1.0 + (p.saturation - kCentre) * kSaturationStep);
    const Triple adjusted = LchToLuv(lch.a, chroma, Lightness(lch.c));
    const Triple rgb = LuvToRgb(adjusted.a, adjusted.b, adjusted.c);
    return {ClampColour(rgb.a), ClampColour(rgb.b), ClampColour(rgb.c)};
}

Triple RgbBalanceTransform(double r, double g, double b, const TransformParams& p)
{
    ApplyBrightness(r, g, b, p);
    const auto shift = [](int q) { return (q - kCentre) / 127.0 * 100.0; };
    return {ToneCurve(ClampColour(r), shift(p.red)), ToneCurve(ClampColour(g), shift(p.green)),
            ToneCurve(ClampColour(b), shift(p.blue))};
}

Triple CmykBalanceTransform(double r, double g, double b, const TransformParams& p)
{
    ApplyBrightness(r, g, b, p);
    const double c = ValueToDensity(ClampColour(r));
    const double m = ValueToDensity(ClampColour(g));
    const double y = ValueToDensity(ClampColour(b));
    const double k = 0.5 * std::min({c, m, y});
    const double blackTerm = 255.0 * std::pow(k / 255.0, InkExponent(p.black));
    return {DensityToValue(Ink(c, k, p.cyan, blackTerm)), DensityToValue(Ink(m, k, p.magenta, blackTerm)),
            DensityToValue(Ink(y, k, p.yellow, blackTerm))};
}

TransformFunction TransformOfType(WORD wType)
{
    switch (wType) {
    case 1:
        return SaturationTransform;
    case 2:
        return RgbBalanceTransform;
    case 3:
        return CmykBalanceTransform;
    default:
        return nullptr;
    }
}

}  // namespace preview

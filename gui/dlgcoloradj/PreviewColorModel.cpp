#include "gui/dlgcoloradj/PreviewColorModel.h"

#include <cmath>

namespace preview {

namespace {

// Reference white of illuminant C in u'v'.
constexpr double kWhiteU = 0.200892;
constexpr double kWhiteV = 0.460893;
// Below this the CIE lightness follows its linear segment.
constexpr double kLinearY = 0.008856;
constexpr double kLinearSlope = 903.29;
constexpr double kPi = 3.14159265358979323846;

// The balance curve's knees: 30 from either end.
constexpr double kLowKnee = 30.0;
constexpr double kHighKnee = 225.0;

}  // namespace

double ClampFinite(double x, double lo, double hi)
{
    if (!std::isfinite(x))
        x = 0.0;
    return x < lo ? lo : (x > hi ? hi : x);
}

BYTE RoundToByte(double x)
{
    // Clamped before the conversion: a double outside the int range (or NaN) must never be
    // converted.
    const double clamped = ClampFinite(std::trunc(x + 0.5), 0.0, 255.0);
    return static_cast<BYTE>(clamped);
}

double ClampLinear(double x1, double x2, double y1, double y2, double x)
{
    double y = y1 + (x - x1) * (y2 - y1) / (x2 - x1);
    if (y < y2)
        y = y2;
    if (y > y1)
        y = y1;
    return y;
}

double ValueToDensity(double v)
{
    const double reflectance = ClampLinear(255.0, 0.0, 1.0, 0.1, v);
    return ClampLinear(1.0, 0.0, 255.0, 0.0, -std::log10(reflectance));
}

double DensityToValue(double d)
{
    return ClampLinear(1.0, 0.1, 255.0, 0.0, std::pow(10.0, -ClampLinear(255.0, 0.0, 1.0, 0.0, d)));
}

Triple RgbToLuv(double r, double g, double b)
{
    r /= 2.55;
    g /= 2.55;
    b /= 2.55;
    const double x = 0.6069 * r + 0.1739 * g + 0.2009 * b;
    const double y = 0.2991 * r + 0.587 * g + 0.1139 * b;
    const double z = 0.066 * g + 1.1169 * b;
    const double yr = y / 100.0;
    const double l = yr > kLinearY ? 116.0 * std::pow(yr, 0.3333333) - 16.0 : kLinearSlope * yr;
    const double n = x + 15.0 * y + 3.0 * z;
    double up = 0.0;
    double vp = 0.0;
    if (std::fabs(n) >= 1e-7) {
        up = 4.0 * x / n;
        vp = 9.0 * y / n;
    }
    return {l, 13.0 * l * (up - kWhiteU), 13.0 * l * (vp - kWhiteV)};
}

Triple LuvToRgb(double l, double u, double v)
{
    if (std::fabs(l) < 1e-7)
        return {0.0, 0.0, 0.0};
    double vp = v / 13.0 / l + kWhiteV;
    if (vp < 0.0)
        vp = 1.0;
    double up = u / 13.0 / l + kWhiteU;
    if (up < 0.0)
        up = 0.0;
    const double y = l > 8.0 ? 100.0 * std::pow((l + 16.0) / 116.0, 3.0) : l / kLinearSlope * 100.0;
    const double x = 9.0 * up / (4.0 * vp) * y;
    const double z = (9.0 / vp - 15.0 - 9.0 * up / (4.0 * vp)) / 3.0 * y;
    return {2.55 * (1.91 * x - 0.5335 * y - 0.289 * z), 2.55 * (-0.985 * x + 2.0 * y - 0.027 * z),
            2.55 * (0.058 * x - 0.118 * y + 0.896 * z)};
}

Triple LuvToLch(double l, double u, double v)
{
    const double chroma = std::sqrt(u * u + v * v);
    double hue;
    if (std::fabs(u) < 1e-6) {
        hue = v > 0.0 ? 90.0 : 270.0;
    } else {
        double angle = std::atan(v / u);
        if (u < 0.0)
            angle += kPi;
        if (angle < 0.0)
            angle += 2.0 * kPi;
        hue = angle * 180.0 / kPi;
    }
    return {hue, chroma, l};
}

Triple LchToLuv(double hue, double chroma, double l)
{
    const float angle = static_cast<float>(static_cast<double>(static_cast<float>(hue)) * 0.01745329252);
    return {l, chroma * std::cos(static_cast<double>(angle)), chroma * std::sin(static_cast<double>(angle))};
}

double ToneCurve(double x, double s)
{
    if (s > 0.0) {
        if (x <= kLowKnee)
            return x * (kLowKnee + s) / kLowKnee;
        if (x <= kHighKnee - s)
            return x + s;
        return 255.0 + (x - 255.0) * kLowKnee / (kLowKnee + s);
    }
    if (x <= kLowKnee - s)
        return x * kLowKnee / (kLowKnee - s);
    if (x <= kHighKnee)
        return x + s;
    return 255.0 + (x - 255.0) * (kLowKnee - s) / kLowKnee;
}

}  // namespace preview

BYTE GrayGamma(BYTE r, BYTE g, BYTE b, double gamma)
{
    const int weighted = 313 * r + 562 * g + 125 * b;
    const double gray = 255.0 * std::pow(weighted / 1000.0 / 255.0, gamma);
    return preview::RoundToByte(preview::ClampFinite(gray, 0.0, 255.0));
}

#include "filter/render/color/ColorAdjust.h"
#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"

#include "filter/render/color/ColorConvert.h"
#include "filter/render/color/ColorTableFile.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/RenderContext.h"
#include "core/settings/DevMode.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr LONG kViewContrastRange = 1;  // tagCONTRASTRANGE
constexpr DWORD kContrastOverridesBrightness = DMX2_CONTRAST;

// A slider value as a strength in -1..1.
double Strength(int value)
{
    return std::clamp(value / 50.0, -1.0, 1.0);
}

// Held to 0..255; a value that is not a number counts as 0.
double ClampByte(double v)
{
    return v > 0.0 ? (v < 255.0 ? v : 255.0) : 0.0;
}

// 255 (x / 255)^(1 / gain).
double Gamma(double x, double gain)
{
    return 255.0 * std::pow(x / 255.0, 1.0 / gain);
}

double InkGain(double s, double whenNegative, double whenPositive)
{
    return 1.0 + s * (s < 0 ? whenNegative : whenPositive);
}

// The node's C, M and Y go into its K.
void FoldIntoBlack(BYTE* node)
{
    const int k = node[3] + std::max({node[0], node[1], node[2]});
    node[3] = static_cast<BYTE>(std::min(k, 255));
    node[0] = node[1] = node[2] = 0;
}

}  // namespace

WORD SetAdjustParams(tagCOLORADJUST* params, int red, int green, int blue, int brightness, int saturation, int cyan,
                     int magenta, int yellow, int black, int tonerLevel, BYTE lutKeyFlags)
{
    *params = tagCOLORADJUST{};
    params->bFlags = lutKeyFlags & (ADJUST_BLACK_CORNER | ADJUST_GRAY_AXIS_BLACK);

    if (tonerLevel != 0) {
        // Toner save lightens every ink by itself; no slider applies on top of it.
        params->bFlags |= ADJUST_TONER_SAVE;
        params->dTonerFactor = 0.7 - 0.4 * std::clamp(tonerLevel / 50.0, 0.0, 1.0);
        return FLAG_TRUE;
    }

    if (brightness != 0 || red != 0 || green != 0 || blue != 0) {
        params->bFlags |= ADJUST_RGB;
        const double b = Strength(brightness);
        const double lift = b < 0 ? 0.6 * b : b;
        double* const gains[3] = {&params->dRedGain, &params->dGreenGain, &params->dBlueGain};
        const int balance[3] = {red, green, blue};
        for (int c = 0; c < 3; ++c) {
            const double v = std::clamp(Strength(balance[c]) + lift, -1.0, 1.0);
            *gains[c] = 1.0 + v * (v < 0 ? 0.4 : 0.8);
        }
        params->dBrightnessExponent = b > 0 ? 1.0 - 0.64 * b : 1.0 - 0.4 * b;
    }

    if (saturation != 0) {
        params->bFlags |= ADJUST_SATURATION;
        const double s = Strength(saturation);
        params->dSaturation = s < 0 ? 0.8 * s : s;
    }

    if (cyan != 0 || magenta != 0 || yellow != 0 || black != 0) {
        params->bFlags |= ADJUST_CMYK;
        params->dCyanGain = InkGain(Strength(cyan), 0.48, 0.24);
        params->dMagentaGain = InkGain(Strength(magenta), 0.48, 0.32);
        params->dYellowGain = InkGain(Strength(yellow), 0.40, 0.32);
        params->dBlackGain = InkGain(Strength(black), 0.48, 0.40);
    }
    return FLAG_TRUE;
}

WORD BuildAdjustedLut(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    (void)options;
    if (settings == nullptr || context == nullptr || context->pColorBlock == nullptr) {
        return FLAG_FALSE;
    }
    const CLRCTRL& ctl = settings->priv.dmClrCtrl;
    int red = 0, green = 0, blue = 0, saturation = 0, cyan = 0, magenta = 0, yellow = 0, black = 0;
    int tonerLevel = 0;
    if (settings->priv.dmTonerSave == 1) {
        tonerLevel = context->sTonerSaveLevel;
    } else {
        switch (ctl.wType) {
        case 1:
            saturation = ctl.sSaturation;
            break;
        case 2:
            red = ctl.sRed, green = ctl.sGreen, blue = ctl.sBlue;
            break;
        case 3:
            cyan = ctl.sCyan, magenta = ctl.sMagenta, yellow = ctl.sYellow, black = ctl.sBlack;
            break;
        default:
            break;
        }
    }
    tagCOLORADJUST params;
    SetAdjustParams(&params, red, green, blue, ctl.sBrightness, saturation, cyan, magenta, yellow, black, tonerLevel,
                    context->pColorBlock->abLutKey[CT_KEY_LUTFLAGS]);
    return RebuildLut(&params, context);
}

WORD RebuildLut(const tagCOLORADJUST* params, tagRENDERCONTEXT* context)
{
    if (params == nullptr || context == nullptr || context->pColorBlock == nullptr) {
        return FLAG_FALSE;
    }
    const BYTE flags = params->bFlags;
    if (flags == 0) {
        return FLAG_TRUE;
    }
    BYTE* lut = context->pColorBlock->abLut;
    if ((flags & ADJUST_GRAY_AXIS_BLACK) != 0) {
        for (int n = 0; n < LUT_AXIS_NODES; ++n) {
            FoldIntoBlack(lut + LutNodeOffset(n, n, n));
        }
    } else if ((flags & ADJUST_BLACK_CORNER) != 0) {
        FoldIntoBlack(lut + LutNodeOffset(0, 0, 0));
    }

    // Every node is computed from the folded table, so the new one is built aside (76 KB).
    std::unique_ptr<BYTE[]> rebuilt(new (std::nothrow) BYTE[LUT_BYTES]);
    if (!rebuilt) {
        return FLAG_FALSE;
    }
    const double a = params->dSaturation;
    const double d = -0.15 * a;
    const double e = 1.0 + 0.3 * a;
    const double rgbGain[3] = {params->dRedGain, params->dGreenGain, params->dBlueGain};
    const double inkGain[4] = {params->dCyanGain, params->dMagentaGain, params->dYellowGain, params->dBlackGain};
    for (int i = 0; i < LUT_AXIS_NODES; ++i) {
        for (int j = 0; j < LUT_AXIS_NODES; ++j) {
            for (int k = 0; k < LUT_AXIS_NODES; ++k) {
                double rgb[3] = {15.9375 * i, 15.9375 * j, 15.9375 * k};  // 255 / 16 per node
                if ((flags & ADJUST_RGB) != 0) {
                    for (int c = 0; c < 3; ++c) {
                        rgb[c] = Gamma(rgb[c], rgbGain[c]);
                    }
                }
                if ((flags & ADJUST_SATURATION) != 0) {
                    const double r = rgb[0], g = rgb[1], b = rgb[2];
                    rgb[0] = e * r + d * g + d * b;
                    rgb[1] = d * r + e * g + d * b;
                    rgb[2] = d * r + d * g + e * b;
                }
                BYTE input[3];
                for (int c = 0; c < 3; ++c) {
                    input[c] = static_cast<BYTE>(ClampByte(rgb[c]));
                }
                BYTE ink[4];
                InterpolateTetrahedral(input[0], input[1], input[2], ink, lut);
                BYTE* out = rebuilt.get() + LutNodeOffset(i, j, k);
                for (int c = 0; c < 4; ++c) {
                    double x = ink[c];
                    if ((flags & ADJUST_CMYK) != 0) {
                        x = Gamma(x, inkGain[c]);
                    }
                    if ((flags & ADJUST_TONER_SAVE) != 0) {
                        x *= params->dTonerFactor;
                    }
                    out[c] = static_cast<BYTE>(ClampByte(x));
                }
            }
        }
    }
    std::memcpy(lut, rebuilt.get(), LUT_BYTES);
    return FLAG_TRUE;
}

WORD BuildMonoCurve(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (settings == nullptr || context == nullptr) {
        return FLAG_FALSE;
    }
    int brightness = settings->priv.dmClrCtrl.sGrayBrightness;
    if ((settings->priv.dmFieldsExtra2 & kContrastOverridesBrightness) != 0) {
        const ModelAnswer answer(RenderModelData(options), SPCID_CONTRAST, 0, kViewContrastRange,
                                 RenderModelQuery(options));
        const tagCONTRASTRANGE range = answer.Record<tagCONTRASTRANGE>();
        if (answer.Found() && answer.Count() != 0 && answer.Holds(&tagCONTRASTRANGE::sMinimum) &&
            answer.Holds(&tagCONTRASTRANGE::sMaximum) && range.sMinimum != range.sMaximum) {
            const int lo = range.sMinimum;
            const int hi = range.sMaximum;
            // The contrast setting's place in the model's range, as a brightness of 50 down to -50.
            brightness = 50 - (settings->priv.dmContrast - lo) * 100 / (hi - lo);
        }
    }
    int tonerLevel = 0;
    if (settings->priv.dmTonerSave == 1) {
        tonerLevel = context->sTonerSaveLevel;
        brightness = 0;
    }
    tagCOLORADJUST params;
    SetAdjustParams(&params, 0, 0, 0, brightness, 0, 0, 0, 0, 0, tonerLevel, 0);
    return RemapMonoCurve(&params, context);
}

WORD RemapMonoCurve(const tagCOLORADJUST* params, tagRENDERCONTEXT* context)
{
    if (params == nullptr || context == nullptr || context->pColorBlock == nullptr ||
        context->pColorBlock->apToneCurve[SLOT_BLACK] == nullptr) {
        return FLAG_FALSE;
    }
    BYTE* curve = context->pColorBlock->apToneCurve[SLOT_BLACK];
    BYTE remapped[TONE_CURVE_BYTES];
    for (int i = 0; i < 256; ++i) {
        double x = i;
        if ((params->bFlags & ADJUST_RGB) != 0) {
            x = 255.0 * (1.0 - std::pow(1.0 - x / 255.0, params->dBrightnessExponent));
        }
        x = ClampByte(x);
        if ((params->bFlags & ADJUST_TONER_SAVE) != 0) {
            x *= params->dTonerFactor;
        }
        remapped[255 - i] = curve[static_cast<int>(ClampByte(x))];  // a factor of 1 at most: x stays
    }
    std::memcpy(curve, remapped, TONE_CURVE_BYTES);
    return FLAG_TRUE;
}

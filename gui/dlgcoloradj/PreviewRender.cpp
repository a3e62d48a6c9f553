#include "gui/dlgcoloradj/PreviewRender.h"

#include "gui/dlgcoloradj/PreviewColorModel.h"
#include "gui/dlgcoloradj/PreviewLut.h"
#include "gui/dlgcoloradj/PreviewTransforms.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kChannels = 3;

}  // namespace

bool IsRenderable(const tagPREVIEWPICTURES& pictures)
{
    if (pictures.pSource == nullptr || pictures.pTarget == nullptr || pictures.pSource == pictures.pTarget)
        return false;
    if (pictures.nWidth <= 0 || pictures.nHeight <= 0 || pictures.nWidth > INT_MAX / kChannels)
        return false;
    return pictures.nRowStride >= pictures.nWidth * kChannels;
}

bool RenderColorPreview(const CLRCTRL& sliders, const tagPREVIEWPICTURES& pictures)
{
    if (!IsRenderable(pictures))
        return false;
    const CLRCTRL scaled = preview::ScaleColorControl(sliders);
    BuildLut(&scaled);
    InitPreviewTables();
    const size_t stride = static_cast<size_t>(pictures.nRowStride);
    for (int y = 0; y < pictures.nHeight; ++y) {
        const BYTE* src = pictures.pSource + y * stride;
        BYTE* dst = pictures.pTarget + y * stride;
        for (int x = 0; x < pictures.nWidth; ++x, src += kChannels, dst += kChannels)
            LutInterpolate(src[0], src[1], src[2], &dst[0], &dst[1], &dst[2]);
    }
    return true;
}

bool RenderGrayPreview(SHORT sGrayBrightness, const tagPREVIEWPICTURES& pictures)
{
    if (!IsRenderable(pictures))
        return false;
    const int value = std::clamp<int>(sGrayBrightness, preview::kSliderMin, preview::kSliderMax);
    const double gamma = 1.0 + value * (-0.01);
    const size_t stride = static_cast<size_t>(pictures.nRowStride);
    for (int y = 0; y < pictures.nHeight; ++y) {
        const BYTE* src = pictures.pSource + y * stride;
        BYTE* dst = pictures.pTarget + y * stride;
        for (int x = 0; x < pictures.nWidth; ++x, src += kChannels, dst += kChannels) {
            const BYTE gray = GrayGamma(src[0], src[1], src[2], gamma);
            dst[0] = gray;
            dst[1] = gray;
            dst[2] = gray;
        }
    }
    return true;
}

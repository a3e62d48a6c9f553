#include "core/printerinfo/LayoutRules.h"

#include <utility>

namespace {

constexpr WORD kLayoutNone = 0;
constexpr WORD kLayoutNup = 1;
constexpr WORD kLayoutBooklet = 2;
constexpr WORD kLayoutPoster = 4;
constexpr WORD kLayoutFitOutput = 8;

constexpr SHORT kPortrait = 1;
constexpr SHORT kLandscape = 2;

}  // namespace

SHORT GetEffectiveOrientation(const DRVDEVMODE* pdm)
{
    if (pdm == nullptr) {
        return kPortrait;
    }
    const PRIVDM& priv = pdm->priv;
    const bool turned = priv.dmLayoutPrint == kLayoutBooklet ||
                        (priv.dmLayoutPrint == kLayoutPoster && priv.dmPosterX != priv.dmPosterY) ||
                        (priv.dmLayoutPrint == kLayoutNup && (priv.dmNup == 2 || priv.dmNup == 6 || priv.dmNup == 8));
    if (!turned) {
        return pdm->dm.dmOrientation;
    }
    return pdm->dm.dmOrientation == kPortrait ? kLandscape : kPortrait;
}

SHORT GetEffectivePaperId(const DRVDEVMODE* pdm)
{
    if (pdm == nullptr) {
        return 0;
    }
    return pdm->priv.dmOutputPaperSize != 0 ? pdm->priv.dmOutputPaperSize : pdm->dm.dmPaperSize;
}

SHORT MapQualityMode(const tagMODELHANDLE* /*pHandle*/, SHORT sMode)
{
    return MapQualityValue(sMode);
}

SHORT MapQualityValue(SHORT sMode)
{
    return (sMode == 1 || sMode == 3 || sMode == 4) ? sMode : 2;
}

WORD ResetPosterTiles(SHORT* psTilesX, SHORT* psTilesY)
{
    if (psTilesX != nullptr) {
        *psTilesX = 2;
    }
    if (psTilesY != nullptr) {
        *psTilesY = 2;
    }
    return FLAG_TRUE;
}

void SyncOutputPaperMode(DRVDEVMODE* pdm)
{
    if (pdm == nullptr) {
        return;
    }
    PRIVDM& priv = pdm->priv;
    if (priv.dmOutputPaperSize != 0) {
        if (priv.dmLayoutPrint == kLayoutNone) {
            priv.dmLayoutPrint = kLayoutFitOutput;
        }
    } else if (priv.dmLayoutPrint == kLayoutFitOutput) {
        priv.dmLayoutPrint = kLayoutNone;
    }
}

WORD IsPosterTilesValid(const DRVDEVMODE* pdm)
{
    if (pdm == nullptr) {
        return FLAG_TRUE;
    }
    const SHORT x = pdm->priv.dmPosterX;
    const SHORT y = pdm->priv.dmPosterY;
    const SHORT orientation = pdm->dm.dmOrientation;
    const bool valid = (x == y && x >= 2 && x <= 4) || (x == 1 && y == 2 && orientation == kPortrait) ||
                       (x == 2 && y == 1 && orientation == kLandscape);
    return valid ? FLAG_TRUE : FLAG_FALSE;
}

void NormalisePosterTiles(DRVDEVMODE* pdm)
{
    if (pdm == nullptr) {
        return;
    }
    PRIVDM& priv = pdm->priv;
    if (pdm->dm.dmOrientation == kPortrait && priv.dmPosterY < priv.dmPosterX) {
        std::swap(priv.dmPosterX, priv.dmPosterY);
    } else if (pdm->dm.dmOrientation == kLandscape && priv.dmPosterX < priv.dmPosterY) {
        std::swap(priv.dmPosterX, priv.dmPosterY);
    }
    if (!IsPosterTilesValid(pdm)) {
        ResetPosterTiles(&priv.dmPosterX, &priv.dmPosterY);
    }
}

void ClampScaleTo(DRVDEVMODE* pdm, SHORT sMin, SHORT sMax)
{
    // The private part lies at dmSize behind the start; only the one layout there is can be
    // written without leaving the record.
    if (pdm == nullptr || pdm->dm.dmSize != kDevmodePublicSize) {
        return;
    }
    SHORT& scale = pdm->priv.dmScaleTo;
    if (scale < sMin) {
        scale = sMin;
    }
    if (scale > sMax) {
        scale = sMax;
    }
}

// The private-field step of the revise pipeline.
#include "core/dialog/RevisePrivate.h"

#include "core/model/SpcIds.h"
#include "core/model/SpcFixedAnswers.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/LayoutRules.h"
#include "core/printerinfo/MMInch.h"
#include "core/printerinfo/PaperLookup.h"
#include "core/printerinfo/PrinterInfo.h"
#include "core/printerinfo/ZoomRange.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {

constexpr DWORD kWatermarkLayerFlag = 0x400;
constexpr WORD kMetricUnits = 0x2;
constexpr LONG kDefaultDpi = 600;
// Largest binding margins without the model's own: 50 mm and 2 inches.
constexpr LONG kDefaultMetricLimit = 500;  // 0.1 mm
constexpr LONG kDefaultInchLimit = 200;    // 1/100 inch
constexpr SHORT kCoverSourceDefault = 4;
constexpr DWORD kCollateBit = 0x8000;
constexpr DWORD kSortBit = 0x100000;

// The model's duplex margins (capability 25 view 4): default in inches at 0, largest in inches at 2,
// default in millimetres at 4, largest in millimetres at 6 (1/100 inch, 0.1 mm).
bool GetDuplexMargins(const tagMODELHANDLE* pHandle, tagDUPLEXMARGINS* pMargins)
{
    CPrinterInfo info(pHandle, SPCID_DUPLEX, 0, 4);
    const tagDUPLEXMARGINS* pRecord = info.First<tagDUPLEXMARGINS>();
    if (pRecord == nullptr)
        return false;
    *pMargins = *pRecord;
    return true;
}

LONG LayoutDpi(const DRVDEVMODE* pdm)
{
    return pdm->priv.dmUnitOfLayout < 1 ? kDefaultDpi : pdm->priv.dmUnitOfLayout;
}

bool IsMetric(const DRVDEVMODE* pdm)
{
    return (pdm->priv.dmMetric & kMetricUnits) != 0;
}

// The model's default binding margin in the record's layout unit, within [0, limit].
WORD DefaultDuplexMargin(const tagMODELHANDLE* pHandle, const DRVDEVMODE* pdm)
{
    tagDUPLEXMARGINS margins {};
    GetDuplexMargins(pHandle, &margins);
    const bool metric = IsMetric(pdm);
    CMMInch length;
    length.SetDpi(static_cast<SHORT>(LayoutDpi(pdm)));
    length.SetLength(metric, true, metric ? margins.sWords[2] / 10.0 : margins.sWords[0] / 100.0);
    const LONG dots = std::clamp<LONG>(length.GetDots(), 0, GetDuplexMarginLimit(pHandle, pdm));
    return static_cast<WORD>(dots);
}

// The six switches at +24..+34 of the colour-control block: even slots default to 0, odd to 1.
void ReviseColorSwitches(CLRCTRL& clr, int mode)
{
    BYTE* base = reinterpret_cast<BYTE*>(&clr);
    for (size_t at = 24, slot = 0; at <= 34; at += 2, ++slot) {
        const WORD fallback = (slot % 2 == 0) ? 0 : 1;
        WORD value;
        memcpy(&value, base + at, sizeof value);
        if (mode == REVISE_MODE_DEFAULTS || value > 1)
            value = fallback;
        memcpy(base + at, &value, sizeof value);
    }
}

bool IsKnownFinisher(WORD finisher)
{
    static const WORD kFinishers[] = {0, 1, 2, 0x101, 0x102, 0x201, 0x202, 0x301, 0x302, 0x303};
    return std::find(std::begin(kFinishers), std::end(kFinishers), finisher) != std::end(kFinishers);
}

}  // namespace

LONG GetDuplexMarginLimit(const tagMODELHANDLE* pHandle, const DRVDEVMODE* pdm)
{
    LONG metricLimit = kDefaultMetricLimit;
    LONG inchLimit = kDefaultInchLimit;
    tagDUPLEXMARGINS margins;
    if (GetDuplexMargins(pHandle, &margins)) {
        metricLimit = margins.sWords[3];
        inchLimit = margins.sWords[1];
    }
    const long long dpi = LayoutDpi(pdm);
    long long limit = IsMetric(pdm) ? static_cast<long long>(std::floor(dpi * metricLimit / 254.0 + 0.5))
                                    : dpi * inchLimit / 100;
    return static_cast<LONG>(std::clamp<long long>(limit, 0, 0xFFFF));
}

SHORT bRevisePrivateDevmode(const tagREVISEINFO* pInfo, DRVDEVMODE* pdm, int mode)
{
    if (pInfo == nullptr || pInfo->pModelHandle == nullptr || pdm == nullptr)
        return 0;
    const tagMODELHANDLE* mh = pInfo->pModelHandle;
    DEVMODE& pub = pdm->dm;
    PRIVDM& priv = pdm->priv;

    priv.dmUseDeptCode |= 2;
    priv.dmExtraFlag |= 1;

    if (mode == REVISE_MODE_REVISE) {
        // A margin stored by an older program may read as negative; it means none.
        const LONG margin = static_cast<SHORT>(priv.dmDuplexMargin);
        priv.dmDuplexMargin = static_cast<WORD>(std::clamp<LONG>(margin, 0, GetDuplexMarginLimit(mh, pdm)));
    }

    ReplaceUnsupportedOutputPaper(mh, pInfo->pUserPaper, pdm);
    SyncOutputPaperMode(pdm);
    NormalisePosterTiles(pdm);

    SHORT zoomMin = 100;
    SHORT zoomMax = 100;
    if (GetZoomRange(mh, pInfo->pUserPaper, pdm, pub.dmPrintQuality, &zoomMin, &zoomMax))
        ClampScaleTo(pdm, zoomMin, zoomMax);

    if (priv.dmFrontCoverMedia == 0)
        priv.dmFrontCoverMedia = pub.dmMediaType;
    if (priv.dmBackCoverMedia == 0)
        priv.dmBackCoverMedia = pub.dmMediaType;

    if (mode == REVISE_MODE_DEFAULTS) {
        priv.dmFrontCoverSource = kCoverSourceDefault;
        priv.dmBackCoverSource = kCoverSourceDefault;
        priv.dmWord362 = 0;
        priv.dmWMInfo.wLayer = 0;
        CPrinterInfo watermark(mh, SPCID_OPTIONBITS620, 0, 1);
        const tagFLAGWORD* pFlags = watermark.First<tagFLAGWORD>();
        if (pFlags != nullptr && (pFlags->dwFlags & kWatermarkLayerFlag) != 0)
            priv.dmWMInfo.wLayer = 1;
    }

    if (!IsKnownFinisher(priv.dmFinisher))
        priv.dmFinisher = 0;
    if (priv.dmStaple > 6)
        priv.dmStaple = 0;
    if (priv.dmPunch > 3)
        priv.dmPunch = 0;

    if (priv.dmColor < 1 || priv.dmColor > 3)
        priv.dmColor = 2;
    priv.dmPrintStyle = 0;
    priv.dmColorManagement = priv.dmColor == 1 ? 1 : 0;
    pub.dmICMMethod = 1;
    if (priv.dmClrCtrl.wType == 0 || priv.dmClrCtrl.wType > 3)
        priv.dmClrCtrl.wType = 1;
    ReviseColorSwitches(priv.dmClrCtrl, mode);

    if (pub.dmDuplex == 1)
        priv.dmExtraFlag &= ~1u;

    if (mode == REVISE_MODE_DEFAULTS && priv.dmDuplexMargin == 0)
        priv.dmDuplexMargin = DefaultDuplexMargin(mh, pdm);

    if ((pub.dmFields & kCollateBit) != 0 && (priv.dmFieldsExtra1 & kSortBit) != 0) {
        if (priv.dmSort == 3)
            priv.dmSort = 2;
        else if (priv.dmSort == 5)
            priv.dmSort = 4;
        else if (priv.dmSort == 1)
            priv.dmSort = 0;
    }
    return -1;
}

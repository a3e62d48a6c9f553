// Booklet: two pages per sheet side, each turned by 90 degrees, in the order that gives a folded
// booklet (or a stack of booklets of a fixed number of sheets) when the sheets are printed on both
// sides.
#include "filter/pagepass/PageLayoutBooklet.h"

#include "filter/pagepass/PageLayoutTransform.h"
#include "filter/pagepass/PagePassIo.h"
#include "filter/pagepass/PagePassRun.h"

#include "filter/log/FilterLog.h"
#include "filter/pagepass/SettingsRecord.h"

#include <algorithm>

namespace {

constexpr DWORD kDuplexCapsNoBlankPage = 0x200;  // the printer adds the blank back side itself
constexpr WORD kLayoutFit = 8;

int CeilDiv(int a, int b)
{
    return (a + b - 1) / b;
}

// Sheets per booklet: the setting when it is one the printer folds, else one booklet for all.
int BookletUnit(const tagJOBINFO* pJob, int iPageCount)
{
    const SHORT unit = pJob->devmode.priv.dmBookletUnit;
    if (unit == 1 || unit == 2 || unit == 4 || unit == 8) {
        return unit;
    }
    return std::max(1, CeilDiv(iPageCount, 4));
}

int BookletSides(int iUnit, int iPageCount)
{
    const int perBooklet = 4 * iUnit;
    return 2 * iUnit * (iPageCount / perBooklet) + 2 * CeilDiv(iPageCount % perBooklet, 4);
}

}  // namespace

int BookletPageIndex(int iBinding, int iUnit, int iPageCount, int iSide, int iHalf)
{
    if (iUnit <= 0 || iSide <= 0 || iPageCount <= 0) {
        return iPageCount;
    }
    const int perBooklet = 4 * iUnit;
    // Sheets of the booklet this side belongs to: the last booklet may be short.
    int sheets = iUnit;
    if (perBooklet * (iPageCount / perBooklet) < 2 * iSide) {
        sheets = CeilDiv(iPageCount % perBooklet, 4);
    }
    if (sheets <= 0) {
        return iPageCount;
    }

    int half = iHalf;
    if (iBinding == 1) {
        half = 1 - half;
    }

    const int g = iSide - 1;
    const int base = perBooklet * (g / (2 * iUnit));
    const int pos = (g % (2 * iUnit)) % (2 * sheets);
    const bool oddSide = (iSide % 2) == 1;
    const bool front = (oddSide && half == 0) || (!oddSide && half == 1);
    return front ? base + pos : base + 4 * sheets - pos - 1;
}

int BookletHalfTransform(tagJOBINFO* pJob, tagDOCSTATE* pDoc, int iHalf, tagPAGETRANSFORM* pTransform)
{
    *pTransform = tagPAGETRANSFORM{};
    const PRIVDM& p = pJob->devmode.priv;
    if (p.dmUnitOfLayout == 0) {
        return 0;
    }
    const ppd_size_t& in = pDoc->inputSize;
    const ppd_size_t& out = pDoc->outputSize;
    tagLAYOUTSIZES sizes;
    if (!GetLayoutSizes(pDoc, &sizes)) {
        return 0;
    }
    const double W = sizes.dOutWidth, H = sizes.dOutHeight, w = sizes.dInWidth, h = sizes.dInHeight;

    const double g = p.dmGutter * 72.0 / p.dmUnitOfLayout;
    const double a = (H - 2.0 * g) / 2.0 / w;
    const double c = W / h;
    const double s = CutToHundredths(a < c ? a : c);
    if (!(s > 0)) {
        return 0;
    }

    pTransform->fScaleX = pTransform->fScaleY = static_cast<float>(s);
    pTransform->iRotate = 90;
    pTransform->fTranslateX = static_cast<float>((out.width - in.length * s) / 2.0 + in.length * s);
    if (iHalf == 0) {
        pTransform->fTranslateY = static_cast<float>(out.length / 2.0 - in.width * s - g + in.left * s);
    } else {
        pTransform->fTranslateY = static_cast<float>(out.length / 2.0 + g - in.left * s);
    }
    return 1;
}

void RunBooklet(tagJOBINFO* pJob, tagDOCSTATE* pDoc)
{
    DEVMODE& dm = pJob->devmode.dm;
    PRIVDM& p = pJob->devmode.priv;
    const int pageCount = static_cast<int>(pDoc->pages.size());
    int copySets = DriverCopySets(pJob);
    const int unit = BookletUnit(pJob, pageCount);
    int sides = BookletSides(unit, pageCount);

    if (pJob->dwDuplexCaps & kDuplexCapsNoBlankPage) {
        // The printer fills a missing back side itself: trailing empty sides are not sent.
        while (sides > 1 && BookletPageIndex(p.dmBookletBinding, unit, pageCount, sides, 0) >= pageCount &&
               BookletPageIndex(p.dmBookletBinding, unit, pageCount, sides, 1) >= pageCount) {
            --sides;
        }
    }
    if (pageCount == 1 && dm.dmCopies > 1 && dm.dmCollate == 1) {
        dm.dmDuplex = 1;
        dm.dmCollate = 0;
        p.dmLayoutPrint = p.dmOutputPaperSize != 0 ? kLayoutFit : 0;
        copySets = 1;
        sides = 1;
    }

    p.dmTotalPages = static_cast<DWORD>(sides);
    WriteSettingsRecord(pJob, pDoc->io.iSettingsFd);

    for (int set = 0; set < copySets && !pDoc->bFeedFailed; ++set) {
        for (int side = 1; side <= sides && !pDoc->bFeedFailed; ++side) {
            pDoc->iOutputPages = side;
            LogDebug("do booklet: page %d, copies %d\n", side, set + 1);
            PrintfTo(pJob, pDoc, DocTarget::Document, "%%%%Page: (%d) %d\n", side, side + set * sides);
            for (int half = 0; half < 2; ++half) {
                const int index = BookletPageIndex(p.dmBookletBinding, unit, pageCount, side, half);
                if (index < 0 || index >= pageCount) {
                    continue;
                }
                tagPAGETRANSFORM transform;
                const bool placed = BookletHalfTransform(pJob, pDoc, half, &transform) != 0;
                EmitStoredPage(pJob, pDoc, pDoc->pages[static_cast<size_t>(index)], true,
                               placed ? &transform : nullptr);
            }
            DocPuts(pJob, pDoc, "ORVshowpage\n");
        }
    }
}

// One page per sheet, scaled and moved: zoom with its nine alignments, fit to the output paper and
// the scaling of pages per sheet (the printer itself places the pages on the sheet).
#include "filter/pagepass/PageLayoutTransform.h"

#include "filter/pagepass/PagePassIo.h"
#include "filter/pagepass/PagePassStore.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr WORD kLayoutNup = 1;
constexpr WORD kLayoutFit = 8;
constexpr WORD kLayoutZoom = 16;

// Printable width and height (right - left, bottom - top in the top-down convention).
double PrintableWidth(const ppd_size_t& size)
{
    return static_cast<double>(size.right) - size.left;
}
double PrintableHeight(const ppd_size_t& size)
{
    return static_cast<double>(size.bottom) - size.top;
}

bool Positive(double value)
{
    return std::isfinite(value) && value > 0.0;
}

}  // namespace

// The small bias keeps a value such as 0.9, which binary floating point holds as 0.8999..., at 0.9
// instead of 0.89.
double CutToHundredths(double value)
{
    return std::trunc(value * 100.0 + (value >= 0 ? 1e-6 : -1e-6)) / 100.0;
}

bool GetLayoutSizes(const tagDOCSTATE* pDoc, tagLAYOUTSIZES* pSizes)
{
    pSizes->dOutWidth = PrintableWidth(pDoc->outputSize);
    pSizes->dOutHeight = PrintableHeight(pDoc->outputSize);
    pSizes->dInWidth = PrintableWidth(pDoc->inputSize);
    pSizes->dInHeight = PrintableHeight(pDoc->inputSize);
    return Positive(pSizes->dOutWidth) && Positive(pSizes->dOutHeight) && Positive(pSizes->dInWidth) &&
           Positive(pSizes->dInHeight);
}

int ComputePageTransform(tagJOBINFO* pJob, tagDOCSTATE* pDoc, tagPAGETRANSFORM* pTransform)
{
    *pTransform = tagPAGETRANSFORM{};
    const PRIVDM& p = pJob->devmode.priv;
    const ppd_size_t& in = pDoc->inputSize;
    const ppd_size_t& out = pDoc->outputSize;
    tagLAYOUTSIZES sizes;
    const bool sizesUsable = GetLayoutSizes(pDoc, &sizes);
    const double W = sizes.dOutWidth, H = sizes.dOutHeight, w = sizes.dInWidth, h = sizes.dInHeight;

    if ((p.dmFieldsExtra2 & DMX2_ZOOM) && p.dmLayoutPrint == kLayoutZoom) {
        if (p.dmScaleTo <= 0 || !sizesUsable) {
            return 0;
        }
        const double s = p.dmScaleTo / 100.0;
        double tx = 0.0;
        const double t = out.length - in.length * s;
        double ty = t;
        const int align = p.dmAlign;
        if (align >= 0 && align <= 8) {
            switch (align % 3) {
            case 0:
                tx = out.left - in.left * s;
                break;
            case 1:
                tx = (W - w * s) / 2.0;
                break;
            default:
                tx = out.right - in.right * s;
                break;
            }
            switch (align / 3) {
            case 0:
                ty = t - (out.top - in.top * s);
                break;
            case 1:
                ty = t - (H - h * s) / 2.0;
                break;
            default:
                ty = t - (out.bottom - in.bottom * s);
                break;
            }
        }
        pTransform->fScaleX = pTransform->fScaleY = static_cast<float>(s);
        pTransform->fTranslateX = static_cast<float>(tx);
        pTransform->fTranslateY = static_cast<float>(ty);
        return 1;
    }

    if ((p.dmFieldsExtra2 & DMX2_FIT) && p.dmLayoutPrint == kLayoutFit && p.dmOutputPaperSize != 0) {
        if (!sizesUsable) {
            return 0;
        }
        const double a = W / w, b = H / h;
        double sx, sy;
        if (p.dmFittoPageRatio & 1) {
            sx = a;
            sy = b;
        } else {
            sx = sy = std::min(a, b);
        }
        // A page that is scaled at all is made 4 % smaller so that nothing touches the margins.
        if (std::fabs(sx - 1.0) > 0.00001) {
            sx -= 0.04;
        }
        if (std::fabs(sy - 1.0) > 0.00001) {
            sy -= 0.04;
        }
        sx = CutToHundredths(sx);
        sy = CutToHundredths(sy);
        if (!(sx > 0) || !(sy > 0)) {
            return 0;  // an output far smaller than the page: nothing sane to print
        }
        pTransform->fScaleX = static_cast<float>(sx);
        pTransform->fScaleY = static_cast<float>(sy);
        pTransform->fTranslateX = static_cast<float>((out.width - sx * in.width) / 2.0);
        pTransform->fTranslateY = static_cast<float>((out.length - sy * in.length) / 2.0);
        return 1;
    }

    if ((p.dmFieldsExtra2 & DMX2_NUP) && p.dmLayoutPrint == kLayoutNup) {
        if (!sizesUsable) {
            return 0;
        }
        const double s = std::min(H / h, W / w);
        pTransform->fScaleX = pTransform->fScaleY = static_cast<float>(s);
        pTransform->fTranslateX = static_cast<float>((W - s * w) / 2.0);
        pTransform->fTranslateY = static_cast<float>(out.length - s * in.length - (H - s * h) / 2.0);
        return 1;
    }
    return 0;
}

void WriteTransform(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const tagPAGETRANSFORM* pTransform)
{
    PrintfTo(pJob, pDoc, DocTarget::Document, "%.1f %.1f translate %d rotate %.3f %.3f scale\n",
             pTransform->fTranslateX, pTransform->fTranslateY, pTransform->iRotate, pTransform->fScaleX,
             pTransform->fScaleY);
}

void EmitStoredPage(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const tagPAGEINFO& page, bool bGsave,
                    const tagPAGETRANSFORM* pTransform)
{
    DocPuts(pJob, pDoc, "userdict/ORVps save put\n");
    if (bGsave) {
        DocPuts(pJob, pDoc, "gsave\n");
        if (pTransform != nullptr) {
            WriteTransform(pJob, pDoc, pTransform);
        }
    }
    CopyPageData(pJob, pDoc, pDoc->pStoreIn, page.lOffset, page.lLength);
    if (bGsave) {
        DocPuts(pJob, pDoc, "grestore\n");
    }
    DocPuts(pJob, pDoc, "ORVps restore\n");
}

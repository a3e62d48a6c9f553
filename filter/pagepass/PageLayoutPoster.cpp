// Poster: each page enlarged over a grid of sheets (2 x 2, 3 x 3, 4 x 4, or 1 x 2 and 2 x 1 turned
// by 90 degrees), neighbouring tiles sharing an overlap for gluing.
#include "filter/pagepass/PageLayoutPoster.h"

#include "filter/pagepass/PagePassIo.h"
#include "filter/pagepass/PageLayoutTransform.h"
#include "filter/pagepass/PagePassRun.h"

#include "filter/log/FilterLog.h"
#include "filter/pagepass/SettingsRecord.h"

#include <algorithm>

namespace {

// The grid; a size below 1 counts as 1, so every page still prints.
int GridColumns(const tagJOBINFO* pJob)
{
    return std::max<int>(1, pJob->devmode.priv.dmPosterX);
}
int GridRows(const tagJOBINFO* pJob)
{
    return std::max<int>(1, pJob->devmode.priv.dmPosterY);
}

}  // namespace

int PosterTileTransform(tagJOBINFO* pJob, tagDOCSTATE* pDoc, int iTile, tagPAGETRANSFORM* pTransform)
{
    *pTransform = tagPAGETRANSFORM{};
    const PRIVDM& p = pJob->devmode.priv;
    if (p.dmUnitOfLayout == 0 || iTile < 0) {
        return 0;
    }
    const ppd_size_t& in = pDoc->inputSize;
    const ppd_size_t& out = pDoc->outputSize;
    tagLAYOUTSIZES sizes;
    if (!GetLayoutSizes(pDoc, &sizes)) {
        return 0;
    }
    const double W = sizes.dOutWidth, H = sizes.dOutHeight, w = sizes.dInWidth, h = sizes.dInHeight;

    const double v = p.dmOverlap * 72.0 / p.dmUnitOfLayout;
    const int columns = GridColumns(pJob), rows = GridRows(pJob);
    const int lo = std::min(columns, rows), hi = std::max(columns, rows);
    const int q = iTile / lo, r = iTile % lo;

    double s, tx, ty;
    if (lo == hi) {
        const double spanX = lo * W - (lo - 1) * v;
        const double spanY = hi * H - (hi - 1) * v;
        s = std::min(spanX / w, spanY / h);
        tx = out.left - in.left * s - (W - v) * r + (spanX - w * s) / 2.0;
        ty = (out.length - out.bottom) - (in.length - in.bottom) * s - (H - v) * (hi - q - 1) + (spanY - h * s) / 2.0;
    } else {
        pTransform->iRotate = 90;
        s = std::min((hi * W - (hi - 1) * v) / h, (lo * H - (lo - 1) * v) / w);
        ty = (out.length - in.width * s) / 2.0;
        tx = in.length * s + out.right - in.length * s / hi - v / hi - (W - v) * q;
    }
    if (!(s > 0)) {
        return 0;
    }
    pTransform->fScaleX = pTransform->fScaleY = static_cast<float>(s);
    pTransform->fTranslateX = static_cast<float>(tx);
    pTransform->fTranslateY = static_cast<float>(ty);
    return 1;
}

void RunPoster(tagJOBINFO* pJob, tagDOCSTATE* pDoc)
{
    const int pageCount = static_cast<int>(pDoc->pages.size());
    const int copySets = DriverCopySets(pJob);
    const int columns = GridColumns(pJob), rows = GridRows(pJob);

    const long long tiles = static_cast<long long>(pageCount) * columns * rows;
    pJob->devmode.priv.dmTotalPages = static_cast<DWORD>(std::min<long long>(tiles, 0xFFFFFFFFLL));
    WriteSettingsRecord(pJob, pDoc->io.iSettingsFd);

    for (int set = 0; set < copySets && !pDoc->bFeedFailed; ++set) {
        pDoc->iOutputPages = 0;
        for (int j = 0; j < pageCount && !pDoc->bFeedFailed; ++j) {
            const tagPAGEINFO& page = pDoc->pages[static_cast<size_t>(j)];
            for (int row = 0; row < rows; ++row) {
                for (int column = 0; column < columns; ++column) {
                    LogDebug("do poster: page %d, part %d-%d, copies %d\n", j + 1, column + 1, row + 1, set);
                    ++pDoc->iOutputPages;
                    PrintfTo(pJob, pDoc, DocTarget::Document, "%%%%Page: %s %d\n", page.label.c_str(),
                             pDoc->iOutputPages);
                    tagPAGETRANSFORM transform;
                    const bool placed = PosterTileTransform(pJob, pDoc, row * columns + column, &transform) != 0;
                    EmitStoredPage(pJob, pDoc, page, true, placed ? &transform : nullptr);
                    DocPuts(pJob, pDoc, "ORVshowpage\n");
                }
            }
        }
    }
}

// One document through the page pass: its sections, its pages into the store, and the plain output
// loop with the driver's copies and the duplex blank page (booklet and poster have their own
// loops).
#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassSetup.h"
#include "filter/pagepass/PagePassRun.h"
#include "filter/pagepass/PagePassSections.h"
#include "filter/pagepass/PagePassStore.h"
#include "filter/pagepass/PagePassIo.h"

#include "filter/log/FilterLog.h"
#include "filter/pagepass/PageLayoutTransform.h"
#include "filter/pagepass/PageLayoutBooklet.h"
#include "filter/pagepass/PageLayoutPoster.h"
#include "filter/pagepass/SettingsRecord.h"

namespace {

constexpr DWORD kDuplexCapsNoBlankPage = 0x200;  // the printer adds the blank back side itself
constexpr WORD kLayoutBooklet = 2;
constexpr WORD kLayoutPoster = 4;

void EndShowpage(tagJOBINFO* pJob, tagDOCSTATE* pDoc)
{
    if (pDoc->bShowpageOverride) {
        DocPuts(pJob, pDoc, "ORVshowpage\n");
    } else if (pDoc->bEspShowpage) {
        DocPuts(pJob, pDoc, "ESPshowpage\n");
    } else {
        DocPuts(pJob, pDoc, "showpage\n");
    }
}

}  // namespace

int DriverCopySets(const tagJOBINFO* pJob)
{
    const DEVMODE& dm = pJob->devmode.dm;
    if (pJob->devmode.priv.dmCopiesByDriver == 1 && dm.dmCollate == 1 && dm.dmCopies > 1) {
        return dm.dmCopies;
    }
    return 1;
}

void WritePlainPages(tagJOBINFO* pJob, tagDOCSTATE* pDoc)
{
    DEVMODE& dm = pJob->devmode.dm;
    const int pageCount = static_cast<int>(pDoc->pages.size());

    LogDebug("not duplex and collection when output 1 page\n");
    if (pageCount == 1 && dm.dmCopies > 1 && dm.dmCollate == 1) {
        dm.dmDuplex = 1;
        dm.dmCollate = 0;
        LogDebug("not duplex and collection when output 1 page\n");
    }

    const int copySets = DriverCopySets(pJob);
    // Each copy set of an odd duplex job gets a blank back side, so the next set starts on a new
    // sheet, unless the printer adds that side itself.
    const bool blankPage =
        copySets > 1 && (pageCount % 2) == 1 && dm.dmDuplex != 1 && (pJob->dwDuplexCaps & kDuplexCapsNoBlankPage) == 0;

    pJob->devmode.priv.dmTotalPages = static_cast<DWORD>(pageCount + (blankPage ? 1 : 0));
    WriteSettingsRecord(pJob, pDoc->io.iSettingsFd);

    tagPAGETRANSFORM transform;
    const bool transformed = ComputePageTransform(pJob, pDoc, &transform) != 0;

    for (int set = 0; set < copySets && !pDoc->bFeedFailed; ++set) {
        if (set > 0 && pDoc->bEspShowpage) {
            DocPuts(pJob, pDoc, "%%BeginOrvalenProlog\n");
            DocPuts(pJob, pDoc, "userdict/showpage{}put\n");
            DocPuts(pJob, pDoc, "%%EndOrvalenProlog\n");
        }
        for (int j = 0; j < pageCount && !pDoc->bFeedFailed; ++j) {
            ++pDoc->iOutputPages;
            LogDebug("do page %d, copies %d\n", pDoc->iOutputPages, set + 1);
            PrintfTo(pJob, pDoc, DocTarget::Document, "%%%%Page: (%d) %d\n", set + 1, j + 1);
            EmitStoredPage(pJob, pDoc, pDoc->pages[static_cast<size_t>(j)], transformed, &transform);
            if (pDoc->bShowpageOverride) {
                DocPuts(pJob, pDoc, "ORVshowpage\n");
            }
        }
        if (blankPage) {
            PrintfTo(pJob, pDoc, DocTarget::Document, "%%%%Page: %s %d\n", "Duplex Add", pageCount + 1);
            PrintfTo(pJob, pDoc, DocTarget::Document, "%%%%PageBoundingBox: %.0f %.0f %.0f %.0f\n", pDoc->fLeft,
                     pDoc->fBottom, pDoc->fRight, pDoc->fTop);
            EndShowpage(pJob, pDoc);
        }
    }
}

int ProcessDocument(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize)
{
    iLength = CopyComments(pJob, pDoc, pLine, iLength, iSize);
    iLength = WriteProlog(pJob, pDoc, pLine, iLength, iSize);
    iLength = CopySetup(pJob, pDoc, pLine, iLength, iSize);

    int depth = 0;
    while (iLength > 0 && (depth > 0 || (!LineStarts(pLine, "%%Page:") && !LineStarts(pLine, "%%Trailer")))) {
        TrackEmbedding(pLine, &depth);
        iLength = PassLine(pJob, pDoc, DocTarget::Document, pLine, iLength, iSize);
    }
    if (pDoc->bFatal) {
        return 0;
    }

    if (iLength == 0 || !LineStarts(pLine, "%%Page:")) {
        // No page: the document is not one the pass can rewrite. It goes to the interpreter as it
        // came, and the parent keeps the settings it has.
        if (IsHolding(pDoc)) {
            LogDebug("page pass: no %%%%Page: comment, the document is printed unchanged\n");
            ReplayUnchanged(pJob, pDoc, pLine, iLength, iSize);
            return 1;
        }
    } else {
        ReleaseHeld(pJob, pDoc);
    }

    pDoc->iOutputPages = 0;
    while (iLength > 0 && !pDoc->bFatal && LineStarts(pLine, "%%Page:")) {
        iLength = StorePage(pJob, pDoc, pLine, iLength, iSize);
    }
    if (pDoc->bFatal) {
        return 0;
    }

    if (pDoc->pStoreOut != nullptr && !pDoc->pages.empty()) {
        if (!ReopenPageStore(pJob, pDoc)) {
            pDoc->bFatal = true;
            return 0;
        }
        pDoc->iOutputPages = 0;
        switch (pJob->devmode.priv.dmLayoutPrint) {
        case kLayoutBooklet:
            RunBooklet(pJob, pDoc);
            break;
        case kLayoutPoster:
            RunPoster(pJob, pDoc);
            break;
        default:
            WritePlainPages(pJob, pDoc);
            break;
        }
    }

    if (pDoc->bShowpageOverride) {
        DocPuts(pJob, pDoc, "userdict/showpage/ORVOldshowpage load put\n");
    } else if (pDoc->bEspShowpage) {
        DocPuts(pJob, pDoc, "userdict/showpage/ESPshowpage load put\n");
    }
    CopyTrailer(pJob, pDoc, pLine, iLength, iSize);
    return 0;
}

int RunPagePass(tagJOBINFO* pJob, const tagPAGEPASSIO* pIo, char* pLine, int iLength, int iSize)
{
    LogDebug("Start Orvalen pstops filter\n");
    tagDOCSTATE doc;
    doc.io = *pIo;
    int result = 0;
    if (SetupDocument(pJob, &doc) != 0) {
        StartHolding(pJob, &doc, pLine, iLength > 0 ? static_cast<size_t>(iLength) : 0);
        DocPuts(pJob, &doc, "%!PS-Adobe-3.0\n");
        const int unchanged = ProcessDocument(pJob, &doc, pLine, iLength, iSize);
        if (unchanged == 0 && !doc.bFatal) {
            DocPuts(pJob, &doc, "%%EOF\n");
            ReleaseHeld(pJob, &doc);
        }
    } else if (!doc.bFatal) {
        // Without the paper sizes no layout can be computed; the job still prints, as it came.
        LogMessage(LOG_ERROR, "No paper size for the page layout, the document is printed unchanged\n");
        FeedUnchanged(pJob, &doc, pLine, iLength, iSize);
    }
    EndHolding(&doc);
    RemovePageStore(pJob, &doc);
    if (doc.bFatal) {
        result = 1;
    }
    LogDebug("End Orvalen pstops filter\n");
    return result;
}

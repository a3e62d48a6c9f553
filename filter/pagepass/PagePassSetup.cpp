// When a job needs the page pass, and the paper boxes and orientation a document is rewritten for.
#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassSetup.h"

#include "core/codec/PpdChoiceId.h"
#include "core/model/SpcIds.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/model/ModelAnswer.h"
#include "filter/log/FilterLog.h"

#include <strings.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr DWORD kDuplexCapsNoBlankPage = 0x200;  // the printer adds the blank back side itself
constexpr WORD kLayoutNup = 1;
constexpr WORD kLayoutBooklet = 2;
constexpr WORD kLayoutPoster = 4;
constexpr WORD kLayoutFit = 8;
constexpr WORD kLayoutZoom = 16;

// The model's geometry values are in 1/divisor inch; the divisor is the paper list's resolution.
int PaperDivisor(const tagSPCDATA* pSpc)
{
    const ModelAnswer resolution(pSpc, SPCID_PAPERSIZE, 0, 2, sizeof(SHORT));
    if (!resolution.Found()) {
        return 600;
    }
    const SHORT value = resolution.Record<SHORT>();
    return value > 0 ? value : 600;
}

float DotsToPoints(WORD dots, int divisor)
{
    return static_cast<float>(dots) * 72.0f / static_cast<float>(divisor);
}

bool IsFalseWord(const char* value)
{
    return strcasecmp(value, "no") == 0 || strcasecmp(value, "off") == 0 || strcasecmp(value, "false") == 0;
}

int OrientationFromOptions(tagJOBINFO* pJob)
{
    if (pJob->cups.cupsGetOption == nullptr) {
        return 0;
    }
    const char* landscape = pJob->cups.cupsGetOption("landscape", pJob->iOptionCount, pJob->pOptions);
    if (landscape != nullptr && !IsFalseWord(landscape)) {
        return (pJob->ppd != nullptr && pJob->ppd->landscape >= 1) ? 1 : 3;
    }
    const char* requested = pJob->cups.cupsGetOption("orientation-requested", pJob->iOptionCount, pJob->pOptions);
    if (requested != nullptr) {
        // IPP values 3 portrait, 4 landscape, 5 reverse landscape, 6 reverse portrait; any other
        // value is not an orientation and leaves the page upright.
        const long value = std::strtol(requested, nullptr, 10);
        if (value >= 3 && value <= 6) {
            int o = static_cast<int>(value) - 3;
            if (o > 1) {
                o ^= 1;
            }
            return o;
        }
    }
    return 0;
}

}  // namespace

int NeedsPageProcessing(const tagJOBINFO* pJob)
{
    const DEVMODE& dm = pJob->devmode.dm;
    const PRIVDM& p = pJob->devmode.priv;
    const DWORD extra = p.dmFieldsExtra2;

    const bool needed =
        ((extra & DMX2_BOOKLET) && p.dmLayoutPrint == kLayoutBooklet && p.dmBookletBinding != 0) ||
        ((extra & DMX2_POSTER) && p.dmLayoutPrint == kLayoutPoster && (p.dmPosterX > 1 || p.dmPosterY > 1)) ||
        ((extra & DMX2_ZOOM) && p.dmLayoutPrint == kLayoutZoom) ||
        ((extra & DMX2_FIT) && p.dmLayoutPrint == kLayoutFit) ||
        ((extra & DMX2_NUP) && p.dmLayoutPrint == kLayoutNup) ||
        ((extra & DMX2_ALL_TEXT_BLACK) && p.dmAllTextBlack == 1) || dm.dmCopies > 1 ||
        (dm.dmDuplex != 1 && (pJob->dwDuplexCaps & kDuplexCapsNoBlankPage)) ||
        ((dm.dmFields & DM_DUPLEX) && dm.dmDuplex == 1);
    return needed ? -1 : 0;
}

int GetPrintableBox(tagJOBINFO* pJob, ppd_size_t* pSize)
{
    pSize->left = 0;
    pSize->top = 0;
    pSize->right = pSize->width;
    pSize->bottom = pSize->length;

    const int divisor = PaperDivisor(pJob->pSpcData);
    if (pJob->ppd == nullptr || pJob->cups.ppdFindOption == nullptr) {
        return 0;
    }
    ppd_option_t* option = pJob->cups.ppdFindOption(pJob->ppd, "PageSize");
    if (option == nullptr) {
        return 0;
    }

    ppd_choice_t* choice = pJob->cups.ppdFindChoice(option, pSize->name);
    long paperId = 0;
    if (choice != nullptr) {
        GetPpdChoiceId(choice->code, &paperId);
    }
    if (paperId > 0 && paperId <= 0x7FFF) {
        const ModelAnswer paper(pJob->pSpcData, SPCID_PAPERSIZE, static_cast<SHORT>(paperId), 4, sizeof(tagPAPERINFO));
        if (paper.Found()) {
            const tagPAPERINFO info = paper.Record<tagPAPERINFO>();
            pSize->left = DotsToPoints(static_cast<WORD>(info.sMargins[0]), divisor);
            pSize->top = DotsToPoints(static_cast<WORD>(info.sMargins[1]), divisor);
            pSize->right = DotsToPoints(static_cast<WORD>(info.sPrintWidthDots), divisor) + pSize->left;
            pSize->bottom = DotsToPoints(static_cast<WORD>(info.sPrintLengthDots), divisor) + pSize->top;
            return -1;
        }
    }

    // A custom size: the model's custom margins on all sides.
    const ModelAnswer custom(pJob->pSpcData, SPCID_CUSTOMSIZE, 0, 1, sizeof(tagCUSTOMLIMITS));
    if (!custom.Found()) {
        return 0;
    }
    const tagCUSTOMLIMITS limits = custom.Record<tagCUSTOMLIMITS>();
    pSize->left = DotsToPoints(static_cast<WORD>(limits.sLimits[8]), divisor);  // record byte 20
    pSize->top = DotsToPoints(static_cast<WORD>(limits.sLimits[9]), divisor);   // record byte 22
    pSize->right = pSize->width - pSize->left;
    pSize->bottom = pSize->length - pSize->top;
    return -1;
}

void ApplyOrientation(tagDOCSTATE* pDoc)
{
    const int orientation = pDoc->iOrientation & 3;
    if (orientation == 2 || orientation == 3) {
        const float left = pDoc->fWidth - pDoc->fRight;
        const float right = pDoc->fWidth - pDoc->fLeft;
        const float bottom = pDoc->fLength - pDoc->fTop;
        const float top = pDoc->fLength - pDoc->fBottom;
        pDoc->fLeft = left;
        pDoc->fRight = right;
        pDoc->fBottom = bottom;
        pDoc->fTop = top;
    }
    if (orientation == 1 || orientation == 3) {
        std::swap(pDoc->fLeft, pDoc->fBottom);
        std::swap(pDoc->fRight, pDoc->fTop);
        std::swap(pDoc->fWidth, pDoc->fLength);
    }
}

int SetupDocument(tagJOBINFO* pJob, tagDOCSTATE* pDoc)
{
    const tagPAGEPASSIO io = pDoc->io;
    *pDoc = tagDOCSTATE{};
    pDoc->io = io;

    if (pJob->ppd == nullptr || pJob->cups.ppdPageSize == nullptr) {
        return 0;
    }
    ppd_size_t* input = pJob->cups.ppdPageSize(pJob->ppd, nullptr);
    if (input == nullptr) {
        return 0;
    }

    ppd_size_t* output = input;
    const SHORT outputPaper = pJob->devmode.priv.dmOutputPaperSize;
    if (outputPaper != 0) {
        output = nullptr;
        ppd_option_t* option = pJob->cups.ppdFindOption(pJob->ppd, "PageSize");
        ppd_choice_t* choice = FindChoiceById(option, outputPaper);
        if (choice != nullptr) {
            output = pJob->cups.ppdPageSize(pJob->ppd, choice->choice);
        }
        if (output == nullptr) {
            return 0;
        }
    }
    // Work on copies: the PPD's own records keep the PPD's margins.
    pDoc->inputSize = *input;
    pDoc->outputSize = *output;
    pDoc->bOutputDiffers = output != input;
    if (GetPrintableBox(pJob, &pDoc->inputSize) == 0 || GetPrintableBox(pJob, &pDoc->outputSize) == 0) {
        return 0;
    }

    pDoc->fLeft = pDoc->outputSize.left;
    pDoc->fRight = pDoc->outputSize.right;
    pDoc->fBottom = pDoc->outputSize.bottom;
    pDoc->fTop = pDoc->outputSize.top;
    pDoc->fWidth = pDoc->outputSize.width;
    pDoc->fLength = pDoc->outputSize.length;

    pDoc->iOrientation = OrientationFromOptions(pJob);
    ApplyOrientation(pDoc);

    const WORD layout = pJob->devmode.priv.dmLayoutPrint;
    if (layout == kLayoutBooklet) {
        pDoc->bShowpageOverride = true;
        pDoc->bRectClip = true;
    } else if (layout == kLayoutPoster) {
        pDoc->bShowpageOverride = true;
    }

    pDoc->pStoreOut = pJob->cups.cupsTempFile2 != nullptr
                          ? pJob->cups.cupsTempFile2(pDoc->szStoreName, sizeof pDoc->szStoreName)
                          : nullptr;
    if (pDoc->pStoreOut == nullptr) {
        LogMessage(LOG_ERROR, "Unable to create temporary file: %s\n", std::strerror(errno));
        pDoc->bFatal = true;
        return 0;
    }
    return -1;
}

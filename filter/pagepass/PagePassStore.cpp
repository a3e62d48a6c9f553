// The page store: every page of the input is kept in a temporary file with its label, offset and
// length, so that the output loops can emit pages in any order and any number of times.
#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassSections.h"
#include "filter/pagepass/PagePassStore.h"
#include "filter/pagepass/PagePassIo.h"

#include "filter/log/FilterLog.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Page comments that the rewritten page does not keep.
bool IsDroppedPageComment(const char* pLine)
{
    static const char* const kDropped[] = {
        "%%PageBoundingBox:",  "%%PageCustomColors:", "%%PageMedia:",      "%%PageOrientation:", "%%PageProcessColors:",
        "%%PageRequirements:", "%%PageResources:",    "%%IncludeFeature:", "%%Include"};
    for (const char* prefix : kDropped) {
        if (LineStarts(pLine, prefix)) {
            return true;
        }
    }
    return false;
}

// Lines that end a page at the outer level; a broken page setup or feature block ends there too,
// so it cannot swallow the pages after it.
bool EndsPage(const char* pLine)
{
    return LineStarts(pLine, "%%Page:") || LineStarts(pLine, "%%Trailer") || LineStarts(pLine, "%%EOF");
}

}  // namespace

bool ParsePageLabel(const char* pszText, const char** ppszRest, char* pszLabel)
{
    const char* p = pszText;
    while (*p == ' ' || *p == '\t') {
        ++p;
    }

    constexpr int kMax = kPageLabelSize - 1;
    int n = 0;
    int level = 0;
    while (*p != '\0' && *p != '\n' && *p != '\r' && n < kMax) {
        if (level == 0 && IsBlank(*p)) {
            break;
        }
        if (*p == '(') {
            ++level;
        } else if (*p == ')' && level > 0) {
            --level;
        }
        if (*p == '\\') {
            // A backslash keeps up to three digits after it with the label.
            pszLabel[n++] = *p++;
            for (int i = 0; i < 3 && n < kMax && std::isdigit(static_cast<unsigned char>(*p)); ++i) {
                pszLabel[n++] = *p++;
            }
            continue;
        }
        pszLabel[n++] = *p++;
    }
    pszLabel[n] = '\0';
    if (ppszRest != nullptr) {
        *ppszRest = p;
    }

    if (n >= kMax) {
        pszLabel[0] = '\0';
        return false;
    }
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    if (!std::isdigit(static_cast<unsigned char>(*p))) {
        return false;
    }
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        ++p;
    }
    return *p == '\0' || IsBlank(*p);
}

tagPAGEINFO* AddPageRecord(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pszLabel)
{
    try {
        tagPAGEINFO page;
        page.label = pszLabel;
        page.lOffset = pDoc->pStoreOut != nullptr ? static_cast<long>(pJob->cups.cupsFileTell(pDoc->pStoreOut)) : 0;
        pDoc->pages.push_back(std::move(page));
        return &pDoc->pages.back();
    } catch (const std::bad_alloc&) {
        LogMessage(8, "Unable to allocate memory for pages info: %s\n", std::strerror(ENOMEM));
        pDoc->bFatal = true;
        return nullptr;
    }
}

int StorePage(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize)
{
    char label[kPageLabelSize];
    if (!ParsePageLabel(pLine + 7, nullptr, label)) {
        LogMessage(LOG_ERROR, "Bad %%%%Page: comment in file!\n");
    }
    tagPAGEINFO* page = AddPageRecord(pJob, pDoc, label);
    if (page == nullptr) {
        return 0;
    }
    const size_t index = pDoc->pages.size() - 1;

    iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
    while (iLength > 0 && IsDroppedPageComment(pLine)) {
        iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
    }

    StorePuts(pJob, pDoc, "%%BeginPageSetup\n");
    if (iLength > 0 && LineStarts(pLine, "%%BeginPageSetup")) {
        iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
        while (iLength > 0 && !LineStarts(pLine, "%%EndPageSetup") && !EndsPage(pLine)) {
            if (LineStarts(pLine, "%%BeginFeature:")) {
                // The page's own features (paper, tray) would fight the driver's settings.
                while (iLength > 0 && !LineStarts(pLine, "%%EndFeature") && !LineStarts(pLine, "%%EndPageSetup") &&
                       !EndsPage(pLine)) {
                    iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
                }
                if (iLength > 0 && LineStarts(pLine, "%%EndFeature")) {
                    StoreWrite(pJob, pDoc, pLine, static_cast<size_t>(iLength));
                    iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
                }
                continue;
            }
            if (LineStarts(pLine, "%%PageBoundingBox:") || LineStarts(pLine, "%%Include")) {
                iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
                continue;
            }
            iLength = PassLine(pJob, pDoc, DocTarget::Store, pLine, iLength, iSize);
        }
        if (iLength > 0 && LineStarts(pLine, "%%EndPageSetup")) {
            iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
        }
    }
    StorePuts(pJob, pDoc, "%%EndPageSetup\n");

    int depth = 0;
    bool leading = true;
    while (iLength > 0 && !pDoc->bFatal && (depth > 0 || !EndsPage(pLine))) {
        if (TrackEmbedding(pLine, &depth)) {
            leading = false;
            StoreWrite(pJob, pDoc, pLine, static_cast<size_t>(iLength));
            iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
            continue;
        }
        if (leading && LineStarts(pLine, "clippath pathbbox ")) {
            // Page size queries of text converters answer the input paper, not the transformed
            // clip. The rest of the line goes through as it is, however long.
            PrintfTo(pJob, pDoc, DocTarget::Store, "0 0 %.2f %.2f ", pDoc->inputSize.width, pDoc->inputSize.length);
            const char* rest = pLine + 18;
            StoreWrite(pJob, pDoc, rest, static_cast<size_t>(iLength - 18));
            iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
            continue;
        }
        leading = false;
        iLength = PassLine(pJob, pDoc, DocTarget::Store, pLine, iLength, iSize);
    }

    tagPAGEINFO& stored = pDoc->pages[index];
    if (pDoc->pStoreOut != nullptr) {
        stored.lLength = static_cast<long>(pJob->cups.cupsFileTell(pDoc->pStoreOut)) - stored.lOffset;
    }
    return pDoc->bFatal ? 0 : iLength;
}

void CopyPageData(tagJOBINFO* pJob, tagDOCSTATE* pDoc, FILE* pStore, long lOffset, long lLength)
{
    if (pStore == nullptr) {
        return;
    }
    if (fseek(pStore, lOffset, SEEK_SET) != 0) {
        LogMessage(LOG_ERROR, "Unable to seek to offset %ld in file - %s\n", lOffset, std::strerror(errno));
        return;
    }
    char buffer[kDocLineSize];
    bool toEnd = lLength == 0;
    long left = lLength;
    while (toEnd || left > 0) {
        const size_t want =
            toEnd ? sizeof buffer : static_cast<size_t>(left < static_cast<long>(sizeof buffer) ? left : sizeof buffer);
        const size_t n = fread(buffer, 1, want, pStore);
        if (n == 0) {
            break;
        }
        DocWrite(pJob, pDoc, buffer, n);
        left -= static_cast<long>(n);
    }
}

bool ReopenPageStore(tagJOBINFO* pJob, tagDOCSTATE* pDoc)
{
    if (pDoc->pStoreOut != nullptr) {
        pJob->cups.cupsFileClose(pDoc->pStoreOut);
        pDoc->pStoreOut = nullptr;
    }
    pDoc->pStoreIn = fopen(pDoc->szStoreName, "rb");
    if (pDoc->pStoreIn == nullptr) {
        LogMessage(LOG_ERROR, "Unable to open temporary file: %s\n", std::strerror(errno));
        return false;
    }
    return true;
}

void RemovePageStore(tagJOBINFO* pJob, tagDOCSTATE* pDoc)
{
    if (pDoc->pStoreOut != nullptr) {
        pJob->cups.cupsFileClose(pDoc->pStoreOut);
        pDoc->pStoreOut = nullptr;
    }
    if (pDoc->pStoreIn != nullptr) {
        fclose(pDoc->pStoreIn);
        pDoc->pStoreIn = nullptr;
    }
    if (pDoc->szStoreName[0] != '\0') {
        unlink(pDoc->szStoreName);
        pDoc->szStoreName[0] = '\0';
    }
}

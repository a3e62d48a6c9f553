// The sections of a document around its pages: the header comments, the prolog with the driver's
// own procedures, the setup with the output paper's feature, the trailer; and one body line with
// its counted binary data.
#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassSections.h"
#include "filter/pagepass/PagePassIo.h"

#include "core/codec/PpdChoiceId.h"
#include "core/model/SpcIds.h"
#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"
#include "filter/log/FilterLog.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The operators that paint text; with text as black each is wrapped to paint in black and then
// restore the colour. The saved colour goes into userdict under ORV names: the job's own "r", "g"
// and "b" are left alone, and the current dictionary (which may be the job's, read-only or full)
// is not written.
const char* const kShowOperators[] = {"show",  "xshow", "yshow",     "xyshow",     "ashow",
                                      "cshow", "kshow", "widthshow", "awidthshow", "glyphshow"};

// Counted binary data is taken whole only up to this size; larger counts are read as lines.
constexpr long kMaxCountedBytes = 64L * 1024 * 1024;
// Bytes that counts which did not hold may put back over a whole document: as many as the largest
// section taken whole. Each such count has its bytes read again as lines, so a document of many
// lines that announce counts would otherwise be read over and over; past this much, counted
// sections are read as lines at once.
constexpr size_t kMaxUnheldCountBytes = static_cast<size_t>(kMaxCountedBytes);
// Counted bytes are read in pieces of this size, so that a count far past the end of the input
// costs only the bytes that are there.
constexpr size_t kCountedPiece = 64 * 1024;

const char kRectClipProc[] =
    "/rectclip where{pop/rectclip load}\n"
    "{{newpath 4 2 roll moveto 1 index 0 rlineto 0 exch rlineto\n"
    "neg 0 rlineto closepath clip newpath}bind}ifelse put\n";
const char kRectStrokeProc[] =
    "/rectstroke where{pop/rectstroke load}\n"
    "{{gsave newpath 4 2 roll moveto 1 index 0 rlineto 0 exch rlineto\n"
    "neg 0 rlineto closepath stroke grestore}bind}ifelse put\n";

// The copy count of "%RBINumCopies:", kept to the model's range (1 to capability 23's maximum).
SHORT ClampCopies(const tagJOBINFO* pJob, long requested)
{
    long maximum = 1;
    const ModelAnswer copies(pJob->pSpcData, SPCID_MAXCOPIES, 0, 1, sizeof(tagMAXCOPIES));
    if (copies.Found()) {
        const SHORT value = static_cast<SHORT>(copies.Record<tagMAXCOPIES>().dwMaximum & 0xFFFF);
        if (value > 1) {
            maximum = value;
        }
    }
    if (requested < 1) {
        return 1;
    }
    return static_cast<SHORT>(requested > maximum ? maximum : requested);
}

void ReadRequirements(tagJOBINFO* pJob, const char* pLine)
{
    DEVMODE& dm = pJob->devmode.dm;
    if (dm.dmDuplex != 1) {
        return;
    }
    const char* duplex = std::strstr(pLine, " duplex");
    if (duplex == nullptr) {
        return;
    }
    const char next = duplex[7];
    if (next == '\0' || next == '\n' || next == '\r' || next == ' ') {
        dm.dmDuplex = 2;
    } else if (std::strncmp(duplex + 7, "(tumble)", 8) == 0) {
        dm.dmDuplex = 3;
    }
}

// Lines that can only start a later section, never be a header comment: a header without
// "%%EndComments" ends before them.
bool EndsHeader(const char* pLine)
{
    return LineStarts(pLine, "%%BeginProlog") || LineStarts(pLine, "%%BeginSetup") || LineStarts(pLine, "%%Page:") ||
           LineStarts(pLine, "%%Trailer");
}

// The byte count of a "%%BeginBinary:" / "%%BeginData:" line that announces raw bytes; -1 when
// the line announces none (ASCII or hex data, no usable number).
long CountedBytes(const char* pLine)
{
    const char* colon = std::strchr(pLine, ':');
    if (colon == nullptr) {
        return -1;
    }
    if (std::strstr(pLine, "ASCII") != nullptr || std::strstr(pLine, "Hex") != nullptr) {
        return -1;
    }
    const char* p = colon + 1;
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    if (!std::isdigit(static_cast<unsigned char>(*p))) {
        return -1;
    }
    errno = 0;
    char* end = nullptr;
    const long count = std::strtol(p, &end, 10);
    if (errno != 0 || count < 0) {
        return -1;
    }
    // "%%BeginData: n Binary Lines" counts lines, not bytes.
    if (std::strstr(end, "Lines") != nullptr) {
        return -1;
    }
    return count;
}

bool IsEndOfCounted(const char* pLine)
{
    return LineStarts(pLine, "%%EndBinary") || LineStarts(pLine, "%%EndData");
}

// Up to count bytes of the input, fewer only where the input ends.
std::vector<char> ReadCountedBytes(tagJOBINFO* pJob, tagDOCSTATE* pDoc, size_t count)
{
    std::vector<char> data;
    while (data.size() < count) {
        const size_t at = data.size();
        const size_t want = std::min(kCountedPiece, count - at);
        data.resize(at + want);
        const size_t got = ReadDocBytes(pJob, pDoc, data.data() + at, want);
        data.resize(at + got);
        if (got < want) {
            break;
        }
    }
    return data;
}

bool IsLineEndOnly(const char* pLine, int iLength)
{
    for (int i = 0; i < iLength; ++i) {
        if (pLine[i] != '\n' && pLine[i] != '\r') {
            return false;
        }
    }
    return iLength > 0;
}

}  // namespace

bool LineStarts(const char* pLine, const char* pszPrefix)
{
    return std::strncmp(pLine, pszPrefix, std::strlen(pszPrefix)) == 0;
}

bool TrackEmbedding(const char* pLine, int* piDepth)
{
    if (LineStarts(pLine, "%%BeginDocument") || LineStarts(pLine, "%ADO_BeginApplication")) {
        ++*piDepth;
        return true;
    }
    if (LineStarts(pLine, "%%EndDocument") || LineStarts(pLine, "%ADO_EndApplication")) {
        if (*piDepth > 0) {
            --*piDepth;
        }
        return true;
    }
    return false;
}

int PassLine(tagJOBINFO* pJob, tagDOCSTATE* pDoc, DocTarget target, char* pLine, int iLength, int iSize)
{
    const bool counted = LineStarts(pLine, "%%BeginBinary:") || LineStarts(pLine, "%%BeginData:");
    const long count = counted ? CountedBytes(pLine) : -1;
    WriteTo(pJob, pDoc, target, pLine, static_cast<size_t>(iLength));
    if (count < 0 || count > kMaxCountedBytes || pDoc->cbUnheldCounts > kMaxUnheldCountBytes) {
        return ReadDocLine(pJob, pDoc, pLine, iSize);
    }

    // Take the counted bytes, then check that the end comment follows them (one line end may come
    // between). A count that runs past the input or past the end comment does not hold: the bytes
    // go back and the section is read as lines, so no page or trailer disappears into it.
    std::vector<char> data = ReadCountedBytes(pJob, pDoc, static_cast<size_t>(count));
    const size_t got = data.size();
    std::string after;
    bool holds = false;
    if (got == static_cast<size_t>(count)) {
        int n = ReadDocLine(pJob, pDoc, pLine, iSize);
        after.assign(pLine, static_cast<size_t>(n));
        if (IsLineEndOnly(pLine, n)) {
            n = ReadDocLine(pJob, pDoc, pLine, iSize);
            after.append(pLine, static_cast<size_t>(n));
        }
        holds = n > 0 && IsEndOfCounted(pLine);
    }
    if (!holds) {
        LogDebug("page pass: the byte count of a binary section does not hold, read as lines\n");
        if (got < static_cast<size_t>(count)) {
            LogMessage(LOG_ERROR, "Early end-of-file while reading binary data\n");
        }
        UnreadDocBytes(pDoc, after.data(), after.size());
        UnreadDocBytes(pDoc, data.data(), got);
        pDoc->cbUnheldCounts += got + after.size();
        return ReadDocLine(pJob, pDoc, pLine, iSize);
    }
    WriteTo(pJob, pDoc, target, data.data(), data.size());
    // The end comment (and a line end before it) stay in the line stream.
    UnreadDocBytes(pDoc, after.data(), after.size());
    return ReadDocLine(pJob, pDoc, pLine, iSize);
}

int CopyComments(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize)
{
    while (iLength > 0 && pLine[0] == '%' && !EndsHeader(pLine)) {
        int n = iLength;
        while (n > 0 && std::isspace(static_cast<unsigned char>(pLine[n - 1]))) {
            --n;
        }
        pLine[n] = '\0';

        if (std::strcmp(pLine, "%%EndComments") == 0) {
            iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
            break;
        }
        if (!LineStarts(pLine, "%%Pages:") && !LineStarts(pLine, "%%BoundingBox:") && !LineStarts(pLine, "%!") &&
            !LineStarts(pLine, "%cups")) {
            if (LineStarts(pLine, "%%Requirements:")) {
                ReadRequirements(pJob, pLine);
            }
            if (LineStarts(pLine, "%RBINumCopies:")) {
                pJob->devmode.dm.dmCopies = ClampCopies(pJob, std::strtol(pLine + 14, nullptr, 10));
            }
            DocWrite(pJob, pDoc, pLine, static_cast<size_t>(n));
            DocPuts(pJob, pDoc, "\n");
        }
        iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
    }
    DocPuts(pJob, pDoc, "%%Pages: (atend)\n");
    DocPuts(pJob, pDoc, "%%BoundingBox: (atend)\n");
    DocPuts(pJob, pDoc, "%%EndComments\n");
    return iLength;
}

int WriteProlog(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize)
{
    int depth = 0;
    while (iLength > 0 && (depth > 0 || (!LineStarts(pLine, "%%BeginProlog") && !LineStarts(pLine, "%%BeginSetup") &&
                                         !LineStarts(pLine, "%%Page:")))) {
        TrackEmbedding(pLine, &depth);
        iLength = PassLine(pJob, pDoc, DocTarget::Document, pLine, iLength, iSize);
    }

    DocPuts(pJob, pDoc, "%%BeginProlog\n");
    DocPuts(pJob, pDoc, "%%BeginOrvalenProlog\n");
    DocPuts(pJob, pDoc, "userdict/ORVOldshowpage/showpage load put\n");
    if (pDoc->bShowpageOverride) {
        DocPuts(pJob, pDoc, "userdict/showpage{}put\n");
    }
    const PRIVDM& p = pJob->devmode.priv;
    if ((p.dmFieldsExtra2 & DMX2_ALL_TEXT_BLACK) && p.dmAllTextBlack == 1) {
        for (const char* op : kShowOperators) {
            PrintfTo(pJob, pDoc, DocTarget::Document,
                     "userdict/ORV%s/%s load put\n"
                     "userdict/%s { currentrgbcolor userdict/ORVb 3 -1 roll put userdict/ORVg 3 -1 roll put "
                     "userdict/ORVr 3 -1 roll put 0 setgray ORV%s ORVr ORVg ORVb setrgbcolor} put\n",
                     op, op, op, op);
        }
    }
    DocPuts(pJob, pDoc, "%%EndOrvalenProlog\n");

    if (iLength > 0 && LineStarts(pLine, "%%BeginProlog")) {
        iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
        depth = 0;
        while (iLength > 0 && (depth > 0 || (!LineStarts(pLine, "%%EndProlog") && !LineStarts(pLine, "%%BeginSetup") &&
                                             !LineStarts(pLine, "%%Page:")))) {
            TrackEmbedding(pLine, &depth);
            if (LineStarts(pLine, "userdict/ESPshowpage/")) {
                pDoc->bEspShowpage = true;
            }
            iLength = PassLine(pJob, pDoc, DocTarget::Document, pLine, iLength, iSize);
        }
        if (iLength > 0 && LineStarts(pLine, "%%EndProlog")) {
            iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
        }
    }

    if (pDoc->bShowpageOverride) {
        DocPuts(pJob, pDoc, "%%BeginOrvalenProlog\n");
        DocPuts(pJob, pDoc,
                pDoc->bEspShowpage ? "userdict/ORVshowpage/ORVOldshowpage load put\nuserdict/ESPshowpage{}put\n"
                                   : "userdict/ORVshowpage/ORVOldshowpage load put\nuserdict/showpage{}put\n");
        DocPuts(pJob, pDoc, "userdict/ORVclip");
        DocPuts(pJob, pDoc, kRectClipProc);
        DocPuts(pJob, pDoc, "userdict/ORVrs");
        DocPuts(pJob, pDoc, kRectStrokeProc);
        DocPuts(pJob, pDoc, "%%EndOrvalenProlog\n");
    }
    DocPuts(pJob, pDoc, "%%EndProlog\n");
    return iLength;
}

int CopySetup(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize)
{
    int depth = 0;
    while (iLength > 0 && (depth > 0 || (!LineStarts(pLine, "%%BeginSetup") && !LineStarts(pLine, "%%Page:")))) {
        TrackEmbedding(pLine, &depth);
        iLength = PassLine(pJob, pDoc, DocTarget::Document, pLine, iLength, iSize);
    }
    DocPuts(pJob, pDoc, "%%BeginSetup\n");

    if (iLength > 0 && LineStarts(pLine, "%%BeginSetup")) {
        bool copying = true;
        depth = 0;
        iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
        while (iLength > 0 && (depth > 0 || (!LineStarts(pLine, "%%EndSetup") && !LineStarts(pLine, "%%Page:")))) {
            if (depth == 0 && copying && pDoc->bOutputDiffers && LineStarts(pLine, "%%BeginFeature:")) {
                const char* p = pLine + 15;
                while (*p == ' ' || *p == '\t') {
                    ++p;
                }
                const bool pageFeature =
                    LineStarts(p, "*PageRegion") || LineStarts(p, "*PageSize") ||
                    (LineStarts(p, "*CustomPageSize") && pJob->devmode.priv.dmOutputPaperSize != 0);
                ppd_choice_t* choice = nullptr;
                if (pageFeature && pJob->cups.ppdFindOption != nullptr) {
                    ppd_option_t* option = pJob->cups.ppdFindOption(pJob->ppd, "PageSize");
                    if (option != nullptr) {
                        choice = pJob->cups.ppdFindChoice(option, pDoc->outputSize.name);
                    }
                }
                if (choice != nullptr) {
                    // The output paper's own code replaces the feature; the job's code is skipped.
                    PrintfTo(pJob, pDoc, DocTarget::Document, "%%%%BeginFeature: *PageRegion %s\n", choice->choice);
                    if (choice->code != nullptr) {
                        DocPuts(pJob, pDoc, choice->code);
                    }
                    DocPuts(pJob, pDoc, "\n");
                    do {
                        iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
                    } while (iLength > 0 && !LineStarts(pLine, "%%EndFeature") && !LineStarts(pLine, "%%EndSetup") &&
                             !LineStarts(pLine, "%%Page:"));
                    if (iLength > 0 && LineStarts(pLine, "%%EndFeature")) {
                        DocWrite(pJob, pDoc, pLine, static_cast<size_t>(iLength));
                        iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
                    }
                    continue;
                }
            }
            if (LineStarts(pLine, "%RBIBeginNonPPDFeature:")) {
                copying = false;
            } else if (LineStarts(pLine, "%RBIEndNonPPDFeature")) {
                copying = true;
            } else if (LineStarts(pLine, "%%BeginSetup")) {
                // not fed
            } else if (copying) {
                TrackEmbedding(pLine, &depth);
                iLength = PassLine(pJob, pDoc, DocTarget::Document, pLine, iLength, iSize);
                continue;
            }
            iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
        }
        if (iLength > 0 && LineStarts(pLine, "%%EndSetup")) {
            iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
        }
    }

    DocPuts(pJob, pDoc, "userdict/setpagedevice{pop}bind put\n");
    if (pDoc->bRectClip) {
        DocPuts(pJob, pDoc, "userdict/ORVrc");
        DocPuts(pJob, pDoc, kRectClipProc);
    }
    DocPuts(pJob, pDoc, "%%EndSetup\n");
    return iLength;
}

int CopyTrailer(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize)
{
    DocPuts(pJob, pDoc, "%%Trailer\n");
    int depth = 0;
    while (iLength > 0 && (depth > 0 || !LineStarts(pLine, "%%EOF"))) {
        if (depth == 0 &&
            (LineStarts(pLine, "%%Trailer") || LineStarts(pLine, "%%Pages:") || LineStarts(pLine, "%%BoundingBox:"))) {
            iLength = ReadDocLine(pJob, pDoc, pLine, iSize);
            continue;
        }
        TrackEmbedding(pLine, &depth);
        iLength = PassLine(pJob, pDoc, DocTarget::Document, pLine, iLength, iSize);
    }
    PrintfTo(pJob, pDoc, DocTarget::Document, "%%%%Pages: %d\n", pDoc->iOutputPages);
    PrintfTo(pJob, pDoc, DocTarget::Document, "%%%%BoundingBox: %.0f %.0f %.0f %.0f\n", pDoc->fLeft, pDoc->fBottom,
             pDoc->fRight, pDoc->fTop);
    return iLength;
}

// The PostScript page pass: in the Ghostscript child, a job whose settings ask for copies made by
// the driver, duplex blank pages, text as black or one of the page layouts is read as a DSC
// document, its pages are kept in a temporary page store, and the document is written again with
// the driver's own prolog and setup and its pages in the order and number the settings ask for.
// The settings record goes to the parent once, before the first page, with the final page count.
//
// A document the pass cannot structure (no "%%Page:" comment before its end) is given to the
// interpreter byte for byte as it came, never dropped.
#pragma once

#include "filter/job/JobInfo.h"

#include <cups/ppd.h>

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Where the rewritten PostScript goes: the running Ghostscript instance in the filter, a capture in
// tests. -1 when the text was taken, 0 when it was refused (the interpreter stopped on an error).
typedef int (*PFNDOCFEED)(void* pContext, const char* pText, size_t cbText);

struct tagPAGEPASSIO {
    cups_file_t* input;  // the job's PostScript, positioned after its first line
    PFNDOCFEED pfnFeed;
    void* pFeedContext;
    int iSettingsFd;  // the pipe to the parent
};

// Sizes of the line buffer and of a page label (with its terminator).
inline constexpr int kDocLineSize = 8192;
inline constexpr int kPageLabelSize = 256;

// One stored input page.
struct tagPAGEINFO {
    std::string label;  // the "%%Page:" label
    long lOffset = 0;   // where the page starts in the store
    long lLength = 0;   // bytes in the store
};

// One document being rewritten.
struct tagDOCSTATE {
    // 0 portrait, 1 landscape, 2 reverse portrait, 3 reverse landscape.
    int iOrientation = 0;

    // The input paper (the PPD's marked size) and the output paper, with their margins replaced by
    // the model's printable area in a top-down convention: left and top are the margins, right and
    // bottom the far edges of the printable area (points).
    ppd_size_t inputSize{};
    ppd_size_t outputSize{};
    bool bOutputDiffers = false;  // the output paper is another PPD size than the input paper

    // The output paper's box, turned by the orientation (points).
    float fLeft = 0, fRight = 0, fBottom = 0, fTop = 0, fWidth = 0, fLength = 0;

    // The page store: written through libcups while pages are read, then read back with stdio.
    cups_file_t* pStoreOut = nullptr;
    FILE* pStoreIn = nullptr;
    char szStoreName[1024] = {};
    std::vector<tagPAGEINFO> pages;

    bool bEspShowpage = false;       // the input prolog keeps the CUPS filter's showpage
    bool bShowpageOverride = false;  // booklet and poster call the real showpage themselves
    bool bRectClip = false;          // booklet
    int iOutputPages = 0;            // pages fed, reported in the trailer

    // Input and output plumbing (PagePassIo.cpp).
    tagPAGEPASSIO io{};
    std::string pushback;  // input bytes to read again before the file's next bytes
    size_t pushbackAt = 0;
    size_t cbUnheldCounts = 0;  // bytes put back by counted sections whose count did not hold
    FILE* pHeld = nullptr;      // rewritten text held back until the first page is seen
    FILE* pReplay = nullptr;    // the input as it came, until the first page is seen
    bool bFatal = false;        // the pass must stop; the child ends with status 1
    bool bFeedFailed = false;   // the interpreter refused text; nothing more is fed
};

// Where a body line goes: the rewritten document, or the page store while pages are read.
enum class DocTarget { Document, Store };

// The Ghostscript child's entry to the pass: the job's input after its first line (cchLine bytes in
// a buffer of cbBuffer bytes), the rewritten PostScript fed to the running interpreter, the settings
// record written to standard output (the pipe). 0 when the document went through, 1 when the pass
// stopped on an error and the child must end with status 1.
int pstops_run(tagJOBINFO* pJob, char* pszFirstLine, size_t cchLine, size_t cbBuffer);

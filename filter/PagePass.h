// The PostScript page pass: in the Ghostscript child, a job whose settings ask for copies made by
// the driver, duplex blank pages, text as black or one of the page layouts is read as a DSC
// document, its pages are kept in a temporary page store, and the document is written again with
// the driver's own prolog and setup and its pages in the order and number the settings ask for.
// The settings record goes to the parent once, before the first page, with the final page count.
//
// A document the pass cannot structure (no "%%Page:" comment before its end) is given to the
// interpreter byte for byte as it came, never dropped.
#pragma once

#include "filter/JobInfo.h"

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
    cups_file_t* input;    // the job's PostScript, positioned after its first line
    PFNDOCFEED pfnFeed;
    void* pFeedContext;
    int iSettingsFd;       // the pipe to the parent
};

// Sizes of the line buffer and of a page label (with its terminator).
inline constexpr int kDocLineSize = 8192;
inline constexpr int kPageLabelSize = 256;

// One stored input page.
struct tagPAGEINFO {
    std::string label;     // the "%%Page:" label
    long lOffset = 0;      // where the page starts in the store
    long lLength = 0;      // bytes in the store
};

// One document being rewritten.
struct tagDOCSTATE {
    // 0 portrait, 1 landscape, 2 reverse portrait, 3 reverse landscape.
    int iOrientation = 0;

    // The input paper (the PPD's marked size) and the output paper, with their margins replaced by
    // the model's printable area in a top-down convention: left and top are the margins, right and
    // bottom the far edges of the printable area (points).
    ppd_size_t inputSize {};
    ppd_size_t outputSize {};
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
    tagPAGEPASSIO io {};
    std::string pushback;            // input bytes to read again before the file's next bytes
    size_t pushbackAt = 0;
    size_t cbUnheldCounts = 0;       // bytes put back by counted sections whose count did not hold
    FILE* pHeld = nullptr;           // rewritten text held back until the first page is seen
    FILE* pReplay = nullptr;         // the input as it came, until the first page is seen
    bool bFatal = false;             // the pass must stop; the child ends with status 1
    bool bFeedFailed = false;        // the interpreter refused text; nothing more is fed
};

// ----- Settings and set-up (PagePassSetup.cpp) ----------------------------------------------

// -1 when the job's settings need the page pass, else 0.
int NeedsPageProcessing(const tagJOBINFO* pJob);

// The Ghostscript child's entry to the pass: the job's input after its first line (cchLine bytes in
// a buffer of cbBuffer bytes), the rewritten PostScript fed to the running interpreter, the settings
// record written to standard output (the pipe). 0 when the document went through, 1 when the pass
// stopped on an error and the child must end with status 1.
int pstops_run(tagJOBINFO* pJob, char* pszFirstLine, size_t cchLine, size_t cbBuffer);

// Replaces the size's margins by the model's printable area (top-down convention). -1 when the
// model gives the area, else 0.
int GetPrintableBox(tagJOBINFO* pJob, ppd_size_t* pSize);

// Turns the page box by the document's orientation.
void ApplyOrientation(tagDOCSTATE* pDoc);

// Fresh state for a document: paper sizes, orientation, layout flags and the page store. -1, or 0
// when a paper size or its printable area is missing or the store cannot be made (the latter also
// sets the fatal flag).
int SetupDocument(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

// ----- Whole document (PagePassRun.cpp) -----------------------------------------------------

// The page pass over one document, reading io.input after the given first line and feeding the
// result through io.pfnFeed. 0 when the document went through (or nothing could be fed because a
// paper size is missing), 1 when the pass had to stop on an error (the child ends with status 1).
int RunPagePass(tagJOBINFO* pJob, const tagPAGEPASSIO* pIo, char* pLine, int iLength, int iSize);

// The document after its first line. 0 when the rewritten document went out, 1 when it was given
// unchanged because it has no page.
int ProcessDocument(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);

// ----- Sections (PagePassSections.cpp) ------------------------------------------------------
// Each starts with the line that ended the previous section and returns the length of the next
// unprocessed line, 0 at the end of the input.

int CopyComments(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
int WriteProlog(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
int CopySetup(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
int CopyTrailer(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);

// Copies one body line to the document or the store. A "%%BeginBinary:" or "%%BeginData:" line
// (not ASCII or hex) brings its counted bytes along when the count holds: the bytes are there and
// the end comment follows them. A count that does not hold is ignored and the section is read as
// lines. Returns the length of the next unprocessed line.
enum class DocTarget { Document, Store };
int PassLine(tagJOBINFO* pJob, tagDOCSTATE* pDoc, DocTarget target, char* pLine, int iLength, int iSize);

// Counts "%%BeginDocument" / "%ADO_BeginApplication" against their end comments: true when the
// line opened or closed an embedded document (*piDepth changed).
bool TrackEmbedding(const char* pLine, int* piDepth);

// True when the line starts with the prefix.
bool LineStarts(const char* pLine, const char* pszPrefix);

// ----- Page store (PagePassStore.cpp) -------------------------------------------------------

// Stores the page that starts at this "%%Page:" line; returns the next unprocessed line's length.
int StorePage(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);

// The label of a "%%Page:" comment (the text after the colon). *ppszRest points behind the label.
// True for a well-formed comment: a label of fewer than 255 characters and a page number followed
// by white space or the end of the line. A label that fills all 255 characters is returned empty.
bool ParsePageLabel(const char* pszText, const char** ppszRest, char* pszLabel /* kPageLabelSize */);

// Adds a page record at the store's current position. NULL (and the fatal flag) without memory.
tagPAGEINFO* AddPageRecord(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pszLabel);

// Feeds the stored bytes of one page; a length of 0 feeds to the end of the store.
void CopyPageData(tagJOBINFO* pJob, tagDOCSTATE* pDoc, FILE* pStore, long lOffset, long lLength);

// Ends storing and reopens the store for reading. False (logged) when it cannot be read back.
bool ReopenPageStore(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

// Closes and removes the store, whichever handle is open.
void RemovePageStore(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

// The plain output loop: copies, the duplex blank page, the page transform.
void WritePlainPages(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

// ----- Input and output (PagePassIo.cpp) ----------------------------------------------------

// One line of the input, line end kept, NUL-terminated; the byte count, 0 at the end.
int ReadDocLine(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iSize);

// Up to cb raw bytes of the input; the count read.
size_t ReadDocBytes(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pb, size_t cb);

// Puts bytes back in front of the input (they are not kept for the unchanged copy a second time).
void UnreadDocBytes(tagDOCSTATE* pDoc, const char* pb, size_t cb);

// Text for the interpreter (held back while the document's structure is not yet known).
void DocWrite(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pb, size_t cb);
void DocPuts(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* psz);
// Formats into a 1024-byte buffer; a text that does not fit is logged and not fed.
int DocPrintf(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pszFormat, ...)
    __attribute__((format(printf, 3, 4)));

// Text for the page store while it is open for writing, else for the interpreter.
void StoreWrite(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pb, size_t cb);
void StorePuts(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* psz);
// Formats into a 1024-byte buffer; a text that does not fit is logged and ends the pass (fatal).
int doc_printf_store(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pszFormat, ...)
    __attribute__((format(printf, 3, 4)));

// Bytes to the document or the store.
void WriteTo(tagJOBINFO* pJob, tagDOCSTATE* pDoc, DocTarget target, const char* pb, size_t cb);

// Starts keeping the rewritten text and a copy of the input until the structure is known; false
// (nothing kept) when the scratch files cannot be made.
bool StartHolding(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pFirstLine, size_t cbFirstLine);
// The document has pages: the held text goes to the interpreter and the copy is dropped.
void ReleaseHeld(tagJOBINFO* pJob, tagDOCSTATE* pDoc);
// The document has none: the held text is dropped, the copy and the rest of the input go to the
// interpreter unchanged.
void ReplayUnchanged(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
// The given line and the rest of the input, unchanged, straight to the interpreter.
void FeedUnchanged(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
// True while the rewritten text and the input copy are both being kept.
bool IsHolding(const tagDOCSTATE* pDoc);
// Closes whatever holding files are still open.
void EndHolding(tagDOCSTATE* pDoc);

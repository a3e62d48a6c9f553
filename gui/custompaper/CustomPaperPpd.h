// User-defined paper sizes kept in a queue's PPD.
//
// A custom paper is an extra choice of the PPD's page-size option whose "%% ID=" number is above
// 456. Each paper is four lines, written with the C locale's numbers whatever the user's locale:
//
//   *PageSize K/N W x L mm: "<</PageSize[Wp Lp]/ImagingBBox null>>setpagedevice %% ID=I"
//   *PageRegion K/N W x L mm: "<</PageSize[Wp Lp]/ImagingBBox null>>setpagedevice %% ID=I"
//   *ImageableArea K/N W x L mm: "12 12 Wp-12 Lp-12"
//   *PaperDimension K/N W/25.4 x L/25.4 in: "Wp Lp"
//
// K is the choice keyword ("userpaper" and the id), N the display name, W and L the size in
// millimetres with one decimal (inches with two decimals for the paper dimension, and for the
// first two lines of an inch paper), Wp and Lp the size in points rounded half up, I the id.
// Nothing here needs GTK; the settings program's paper list, Basic page and custom paper dialog
// use these functions, the last one on a temporary copy of the queue's PPD that the companion
// program then installs.
#pragma once

#include "core/WinTypes.h"

// One custom paper as the queue's PPD holds it.
struct tagCUSTOMPAPER {
    char szName[128];     // display name, at most 127 bytes
    char szKeyword[128];  // PPD choice keyword, at most 127 bytes
    int nID;              // "%% ID=" number, 457..32767: the value stored in dmPaperSize
    int nUnit;            // 0 inches, anything else millimetres (the reader stores 1)
    double dWidth;        // millimetres whatever the unit
    double dLength;       // millimetres whatever the unit
};

// The custom papers of the PPD's page-size option, in file order: a heap array the caller releases
// with free(), and *pnCount the number of papers. NULL with *pnCount 0 when the file cannot be
// read, has no complete page-size option (its own "*OpenUI *PageSize" and "*CloseUI: *PageSize"
// lines) or holds no custom paper. pnCount may be NULL.
tagCUSTOMPAPER* ReadCustomPapersFromPpd(const char* pszPpdPath, int* pnCount);

// One line of a page-size option read as a custom paper: a heap record the caller releases with
// free(), or NULL when the line is not one. A custom paper line has a keyword of 1..127 bytes
// between its first blank and a "/", a name of at most 127 bytes ending at the fifth blank before
// "<</PageSize" (at the next blank when the line has no "<</PageSize"), a width, "x", a length, a
// blank and the unit ("i" inches, "m" millimetres), and "%% ID=" directly followed by 457..32767.
tagCUSTOMPAPER* ParseCustomPageSizeLine(const char* pszLine);

// Adds the four lines of one paper: the page-size line just before the page-size option's own
// "*CloseUI: *PageSize", the page-region line just before "*CloseUI: *PageRegion" of the option
// opened by "*OpenUI *PageRegion:", the imageable-area and paper-dimension lines before the first
// line of the groups that follow "*DefaultImageableArea:" and "*DefaultPaperDimension:". The name
// is pPaper->szName; nUnit 0 writes the first two lines in inches. Returns 1 when the file was
// rewritten (through a temporary file beside it renamed over it, with the file's mode kept), 0
// with the file unchanged when the arguments cannot be written (keyword of 1..127 bytes without
// blanks, "/" or ":"; name of at most 127 bytes without control characters or ":"; id 457..32767;
// sizes above 0 and at most 100 m), when the file is not a regular file, when a place is missing
// or not where it belongs, when the page-size option already has the keyword, or when writing
// fails.
WORD AddCustomPaperToPpd(const char* pszPpdPath, const char* pszKeyword, const tagCUSTOMPAPER* pPaper, int nID,
                         int nUnit, double dWidth, double dLength);

// Removes every line of the paper pszKeyword/pPaper->szName from the PPD: the lines of the four
// keywords above whose choice is exactly that keyword and name (letter case aside) followed by the
// written size. Returns 1 when the file was rewritten (as above), 0 with the file unchanged when no
// such line is there or anything fails.
WORD RemoveCustomPaperFromPpd(const char* pszPpdPath, const char* pszKeyword, const tagCUSTOMPAPER* pPaper);

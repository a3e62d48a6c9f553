// Job and page commands of the GDI language (language type 2): the job header lines after the PJL
// frame head, page headers with paper, media, source, resolution and raster window, blank and
// cover sheets, page trailers with the ink planes, the trailing sheets of a copy set and the job
// trailer. Writers take (settings record, renderer context, option block), empty the context's
// output buffer first and return 0xFFFF, or 0 when the buffer cannot be had or an argument is
// missing.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/OutputBuffer.h"

struct DRVDEVMODE;
struct tagRENDERCONTEXT;
struct tagRENDEROPTIONS;

// Raster code of every GDI page header.
inline constexpr SHORT kGdiRasterCode = 11;
// Rows of a blank sheet.
inline constexpr LONG kGdiBlankPageRows = 512;
// Duplex capability word: the printer closes an odd copy set itself on the last copy.
inline constexpr DWORD kDuplexCapsClosesLastSet = 0x200;

WORD GdiBeginJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
WORD GdiSetupJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
// Blank sheets due before the page (cover sheets, the back of a skipped duplex side), then the
// page header.
WORD GdiBeginPage(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
// "\033&&<planes>R" from the context's ink mask.
WORD GdiEndPage(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
// End of a copy set: the empty back side of an odd duplex set and the back cover. The result of
// the last blank sheet, 0 when none was written.
WORD GdiFlushPendingPages(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
WORD GdiEndJob(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// Appends one whole blank sheet with the context's last page-header values, without emptying the
// buffer. 0 when its blank band cannot be allocated (nothing is written).
WORD GdiBlankPage(tagOUTPUTBUFFER* out, const DRVDEVMODE* settings, tagRENDERCONTEXT* context,
                  const tagRENDEROPTIONS* options);

// At the first page of a copy set: which cover sheets are due; a front cover takes the header
// values of the coming page, a back cover its source.
void SetupCoverPages(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// The resolution pair (across, down) of a quality mode: 3 gives 1200 x 600, 4 1200 x 1200, 1
// 300 x 300, anything else 600 x 600.
void QualityResolution(SHORT quality, LONG* across, LONG* down);

// Printer paper code, or for a custom size (code 256) code 101 and the size in dots at the
// resolution pair, kept within the model's custom limits.
void AppendPaperCommands(tagOUTPUTBUFFER* out, SHORT paperCode, LONG widthTenthMm, LONG lengthTenthMm, LONG across,
                         LONG down, const tagRENDEROPTIONS* options);

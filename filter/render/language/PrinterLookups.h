// Model-data lookups of the job and page headers: the settings record's paper, media, source and
// duplex mode turned into printer codes and device geometry, and the PJL lines of the model.
// Answers are copied into the model data reader's own answer records (one definition each).
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcListAnswers.h"
#include "core/model/SpcPaperAnswers.h"

struct DRVDEVMODE;
struct tagRENDEROPTIONS;

// Page geometry in dots (the id aside). Printable = size - 2 x margin; inner = size - 2 x second
// margin.
struct tagPAGEGEOMETRY {
    SHORT sPaperSize;
    LONG lWidth, lLength;
    LONG lPrintableWidth, lPrintableLength;
    LONG lMarginX, lMarginY;
    LONG lInnerWidth, lInnerLength;
    LONG lSecondMarginX, lSecondMarginY;
};

// Resolution used when the model gives no positive one (its paper records, a request, a record's
// divisor).
inline constexpr LONG kFallbackResolution = 600;

// The resolution of the model's paper records in dots per inch (kFallbackResolution when absent
// or not positive).
LONG GetPaperBaseResolution(const tagRENDEROPTIONS* options);

// The custom-size limits record; false when the model has none.
bool GetCustomLimits(tagCUSTOMLIMITS* limits, const tagRENDEROPTIONS* options);

// Entries of tagCUSTOMLIMITS::sLimits in dots at the paper records' resolution.
inline constexpr int kCustomMaxWidthDots = 2;
inline constexpr int kCustomMaxLengthDots = 3;
inline constexpr int kCustomMinWidthDots = 6;
inline constexpr int kCustomMinLengthDots = 7;
// The four custom margins (x, y, second x, second y) start here, portrait and landscape.
inline constexpr int kCustomMarginsPortrait = 8;
inline constexpr int kCustomMarginsLandscape = 12;

// The records of one standard paper (ids 1 to 455) in dots at the model's base resolution;
// orientation 2 takes the landscape block. The printer paper record, when asked for, is always
// filled (defaults: id 1, code 256). 0xFFFF when the paper exists, else 0.
WORD GetPaperRecordDots(SHORT paperId, SHORT orientation, tagPAGEGEOMETRY* geometry, tagPRINTERPAPER* paper,
                        const tagRENDEROPTIONS* options);

// The paper of a page in dots at `dpi` (below 1: the base resolution): the paper itself, a custom
// size from the settings record's width and length, or else the model's default paper and then 9
// (metric) or 1 (inch). 0 when no paper is found or an argument is missing.
WORD GetPaperGeometryDots(SHORT paperId, SHORT orientation, LONG dpi, const DRVDEVMODE* settings,
                          tagPAGEGEOMETRY* geometry, tagPRINTERPAPER* paper, const tagRENDEROPTIONS* options);

// The paper of the option block's page (its paper id) at the settings record's orientation and
// resolution, as GetPaperGeometryDots gives it.
WORD GetPagePaperDots(const DRVDEVMODE* settings, tagPAGEGEOMETRY* geometry, tagPRINTERPAPER* paper,
                      const tagRENDEROPTIONS* options);

// Media, source and duplex records; each answer starts zeroed and takes the defaults when the
// model lacks the item. Always 0xFFFF (0 only without an answer record).
WORD GetMediaRecord(SHORT mediaId, tagPRINTERMEDIA* media, const tagRENDEROPTIONS* options);
WORD GetSourceRecord(SHORT sourceId, tagPRINTERSOURCE* source, const tagRENDEROPTIONS* options);
WORD GetDuplexRecord(SHORT duplexMode, tagPRINTERDUPLEX* duplex, const tagRENDEROPTIONS* options);

// The PJL records of item 94 or 96 of the PJL items: view 4 gives tagPJLFORMAT records, view 3
// tagPJLITEM records. The number of whole records in *list (the caller frees it with free()), 0
// and nullptr when absent or for another view.
DWORD GetPjlLineList(WORD item, DWORD view, void** list, const tagRENDEROPTIONS* options);

// The text of a field that may fill its bytes without a terminator: its length within the field.
size_t FieldTextLength(const char* field, size_t fieldSize);

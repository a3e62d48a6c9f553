// Answer records of the fixed records that the programs read field by field (the reader,
// SpcFixedRecord.cpp, builds them from its table of answer and file offsets): host-order records
// in the size and layout of their (capability, view). A field named wordN holds the section's
// 32-bit word at offset N.
#pragma once

#include "core/model/SpcPaperAnswers.h"

// 19 view 4: the printer-language and transfer words. Views 1 to 3 answer the first one to three
// words of the same record.
struct tagLANGUAGEOPTIONS {
    DWORD dwWord0;
    DWORD dwWord4;
    DWORD dwLanguageFlags;   // bit 0 selects the GDI language
    DWORD dwCompressOption;  // low 16 bits: the band compression option
    DWORD dwStripeRows;      // low 16 bits: rows of a compression stripe, 0 for all remaining rows
    DWORD dwKeepAliveSeconds;
    DWORD dwWord24;
};
SPC_ANSWER_LAYOUT(tagLANGUAGEOPTIONS, 28);
SPC_ANSWER_AT(tagLANGUAGEOPTIONS, dwLanguageFlags, 8);
SPC_ANSWER_AT(tagLANGUAGEOPTIONS, dwCompressOption, 12);
SPC_ANSWER_AT(tagLANGUAGEOPTIONS, dwKeepAliveSeconds, 20);

// 23 view 1: the copies range's maximum (the low 16 bits count).
struct tagMAXCOPIES {
    DWORD dwMaximum;
};
SPC_ANSWER_LAYOUT(tagMAXCOPIES, 4);

// 31 view 1: the limits of the zoom layout in percent.
struct tagZOOMLIMITS {
    DWORD dwFlags;
    SHORT sMinPercent;
    SHORT sMaxPercent;
};
SPC_ANSWER_LAYOUT(tagZOOMLIMITS, 8);
SPC_ANSWER_AT(tagZOOMLIMITS, sMinPercent, 4);
SPC_ANSWER_AT(tagZOOMLIMITS, sMaxPercent, 6);

// 45 view 2: the print density's range and default.
struct tagDENSITYRANGE {
    SHORT sMinimum;
    SHORT sMaximum;
    SHORT sWord12;
    SHORT sDefault;
};
SPC_ANSWER_LAYOUT(tagDENSITYRANGE, 8);
SPC_ANSWER_AT(tagDENSITYRANGE, sDefault, 6);

// 54 view 1: the PJL switch, a flag word and a value.
struct tagPJLSWITCH {
    DWORD dwFlags;  // bit 0: the switch is given
    WORD wValue;
    WORD wReserved;
};
SPC_ANSWER_LAYOUT(tagPJLSWITCH, 8);

// 77 view 3: the raster band geometry.
struct tagRENDERBANDS {
    DWORD dwWord16;
    SHORT sBandHeight;         // rows; 0 for the usual band
    SHORT sBandWidthMultiple;  // the band width is kept a whole multiple of this
};
SPC_ANSWER_LAYOUT(tagRENDERBANDS, 8);
SPC_ANSWER_AT(tagRENDERBANDS, sBandHeight, 4);
SPC_ANSWER_AT(tagRENDERBANDS, sBandWidthMultiple, 6);

// 78 view 1: the contrast range and default.
struct tagCONTRASTRANGE {
    DWORD dwFlags;
    SHORT sMinimum;
    SHORT sMaximum;
    SHORT sWord12;
    SHORT sWord16;
    SHORT sWord20;
    SHORT sReserved;
};
SPC_ANSWER_LAYOUT(tagCONTRASTRANGE, 16);
SPC_ANSWER_AT(tagCONTRASTRANGE, sMinimum, 4);
SPC_ANSWER_AT(tagCONTRASTRANGE, sMaximum, 6);

// 100 view 2: secure print, the job-kind words and text, and the least free spool space.
struct tagSECUREPRINT {
    DWORD dwFlags;  // bit 0: secure print is offered
    DWORD dwWords[3];
    char szText[32];
    DWORD dwMinimumFreeKb;  // 0 for the usual minimum
};
SPC_ANSWER_LAYOUT(tagSECUREPRINT, 52);
SPC_ANSWER_AT(tagSECUREPRINT, dwMinimumFreeKb, 48);

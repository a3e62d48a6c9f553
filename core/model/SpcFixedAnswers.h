// Answer records of the fixed records that the programs read field by field (the reader,
// SpcFixedRecord.cpp, builds them from its table of answer and file offsets): host-order records
// in the size and layout of their (capability, view). A field named wordN holds the section's
// 32-bit word at offset N.
#pragma once

#include "core/model/SpcPaperAnswers.h"

// The one flag word of a fixed record (the first view of 30, 40, 45, 50, 57, 58, 59, 64, 66, 67
// and 68), of paper 20 view 5 and of media 22 view 9 (the word behind the last media record). In
// the fixed records bit 0 says that the model has the feature.
struct tagFLAGWORD {
    DWORD dwFlags;
};
SPC_ANSWER_LAYOUT(tagFLAGWORD, 4);

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

// 28 view 1: pages per sheet.
struct tagNUPINFO {
    DWORD dwFlags;  // bit 0 offered; bit 2: reverse order not allowed with pages per sheet
};
SPC_ANSWER_LAYOUT(tagNUPINFO, 4);

// 28 view 2: the page border defaults of pages per sheet.
struct tagNUPBORDER {
    DWORD dwFlags;
    SHORT sBorder;       // 0 none to 5
    SHORT sBorderWidth;  // file offset 8, 16 bits
};
SPC_ANSWER_LAYOUT(tagNUPBORDER, 8);
SPC_ANSWER_AT(tagNUPBORDER, sBorder, 4);
SPC_ANSWER_AT(tagNUPBORDER, sBorderWidth, 6);

// 28 view 3: the view-2 defaults, the words at 12 to 28 and the unit kind.
struct tagNUPUNIT {
    DWORD dwFlags;
    SHORT sBorder;
    SHORT sBorderWidth;
    DWORD dwWords[5];
    DWORD dwUnitKind;  // file word 32
};
SPC_ANSWER_LAYOUT(tagNUPUNIT, 32);
SPC_ANSWER_AT(tagNUPUNIT, dwUnitKind, 28);

// 29 view 1: booklet.
struct tagBOOKLETINFO {
    DWORD dwFlags;       // bit 0 offered, bit 3 reverse order not allowed in booklets
    DWORD dwSortBits;    // the sort values a booklet allows
    // 0x1 or 0x2: a duplex mode the booklet needs (0x1: it is printed short-edge, else long-edge);
    // 0x4: pages per sheet
    DWORD dwConditions;
    DWORD dwRequirements;
};
SPC_ANSWER_LAYOUT(tagBOOKLETINFO, 16);
SPC_ANSWER_AT(tagBOOKLETINFO, dwConditions, 8);

// 29 view 2 and 67 view 2: a layout length (booklet gutter, poster overlap) in 1/100 inch.
struct tagLAYOUTLENGTH {
    DWORD dwFlags;
    SHORT sHundredths;
    SHORT sReserved;
};
SPC_ANSWER_LAYOUT(tagLAYOUTLENGTH, 8);
SPC_ANSWER_AT(tagLAYOUTLENGTH, sHundredths, 4);

// 29 view 3: the default and largest gutter in both units, the words at 44 to 52 and the unit
// kind.
struct tagBOOKLETUNIT {
    DWORD dwFlags;
    DWORD dwReserved;
    SHORT sHundredths;     // default, 1/100 inch (file offset 28)
    SHORT sMaxHundredths;  // largest, 1/100 inch
    SHORT sTenthsMm;       // default, 0.1 mm (file offset 32)
    SHORT sMaxTenthsMm;    // largest, 0.1 mm
    DWORD dwWords[3];
    DWORD dwUnitKind;   // file word 56
};
SPC_ANSWER_LAYOUT(tagBOOKLETUNIT, 32);
SPC_ANSWER_AT(tagBOOKLETUNIT, sHundredths, 8);
SPC_ANSWER_AT(tagBOOKLETUNIT, sMaxHundredths, 10);
SPC_ANSWER_AT(tagBOOKLETUNIT, sTenthsMm, 12);
SPC_ANSWER_AT(tagBOOKLETUNIT, sMaxTenthsMm, 14);
SPC_ANSWER_AT(tagBOOKLETUNIT, dwUnitKind, 28);

// 31 view 1: the limits of the zoom layout in percent.
struct tagZOOMLIMITS {
    DWORD dwFlags;
    SHORT sMinPercent;
    SHORT sMaxPercent;
};
SPC_ANSWER_LAYOUT(tagZOOMLIMITS, 8);
SPC_ANSWER_AT(tagZOOMLIMITS, sMinPercent, 4);
SPC_ANSWER_AT(tagZOOMLIMITS, sMaxPercent, 6);

// 31 view 2: where a zoomed page sits (0 to 8).
struct tagZOOMALIGN {
    DWORD dwFlags;
    SHORT sAlign;  // file word 12
    SHORT sReserved;
};
SPC_ANSWER_LAYOUT(tagZOOMALIGN, 8);
SPC_ANSWER_AT(tagZOOMALIGN, sAlign, 4);

// 38 view 1 (driver copies and collation) and view 1 of the job kinds 60, 61, 62, 73, 74: bit 0
// offered, and the installed options the feature needs.
struct tagFEATURERECORD {
    DWORD dwFlags;  // 38: bit 2 driver copies selectable, bit 3 driver copies need collation
    DWORD dwRequirements;
};
SPC_ANSWER_LAYOUT(tagFEATURERECORD, 8);

// 45 view 2: the print density's range and default.
struct tagDENSITYRANGE {
    SHORT sMinimum;
    SHORT sMaximum;
    SHORT sWord12;
    SHORT sDefault;
};
SPC_ANSWER_LAYOUT(tagDENSITYRANGE, 8);
SPC_ANSWER_AT(tagDENSITYRANGE, sDefault, 6);

// 48 and 56 view 1: an extra-print feature (56: blank pages) and its default. (54 view 1 has the
// same layout; the PJL header reads it as tagPJLSWITCH.)
struct tagFLAGVALUE {
    DWORD dwFlags;
    SHORT sValue;  // file word 4
    SHORT sReserved;
};
SPC_ANSWER_LAYOUT(tagFLAGVALUE, 8);
SPC_ANSWER_AT(tagFLAGVALUE, sValue, 4);

// 49 view 1 (mirror image) and 63 view 1 (department code): the first two words.
struct tagFLAGPAIR {
    DWORD dwFlags;  // 63: bit 0 offered, bit 2 used by default
    DWORD dwWord4;
};
SPC_ANSWER_LAYOUT(tagFLAGPAIR, 8);

// 50 view 2: reverse output order.
struct tagREVERSEORDERINFO {
    DWORD dwFlags;
    DWORD dwDefault;  // 1: reverse order by default
};
SPC_ANSWER_LAYOUT(tagREVERSEORDERINFO, 8);

// 52 view 1 and 79 view 1 (the option flags): a flag word and three more words.
struct tagOPTIONFLAGS {
    DWORD dwFlags;
    DWORD dwWords[3];
};
SPC_ANSWER_LAYOUT(tagOPTIONFLAGS, 16);

// 54 view 1: the PJL switch, a flag word and a value.
struct tagPJLSWITCH {
    DWORD dwFlags;  // bit 0: the switch is given
    WORD wValue;
    WORD wReserved;
};
SPC_ANSWER_LAYOUT(tagPJLSWITCH, 8);

// 57 view 2: covers.
struct tagCOVERINFO {
    DWORD dwFlags;
    DWORD dwWord4;
    DWORD dwFrontFlags;  // bit 9: driver copies not allowed with a front cover
    DWORD dwWord12;
    DWORD dwBackFlags;   // bit 9: the same with a back cover
};
SPC_ANSWER_LAYOUT(tagCOVERINFO, 20);
SPC_ANSWER_AT(tagCOVERINFO, dwFrontFlags, 8);
SPC_ANSWER_AT(tagCOVERINFO, dwBackFlags, 16);

// Job kinds 60, 73, 74, 61, 62 view 2: flags and the two entries' character masks and lengths
// (each length is the low 16 bits of its word).
struct tagJOBKINDLIMITS {
    DWORD dwFlags;
    DWORD dwWord4;
    DWORD dwMask1;
    DWORD dwMaxLength1;
    DWORD dwMask2;
    DWORD dwMaxLength2;
};
SPC_ANSWER_LAYOUT(tagJOBKINDLIMITS, 24);
SPC_ANSWER_AT(tagJOBKINDLIMITS, dwMask1, 8);
SPC_ANSWER_AT(tagJOBKINDLIMITS, dwMaxLength1, 12);
SPC_ANSWER_AT(tagJOBKINDLIMITS, dwMask2, 16);
SPC_ANSWER_AT(tagJOBKINDLIMITS, dwMaxLength2, 20);

// Job kinds view 3: the view-2 head with the two entries' default texts (not terminated).
struct tagJOBKINDTEXTS {
    DWORD dwWords[4];
    char szText1[32];
    DWORD dwMask2;
    DWORD dwMaxLength2;
    char szText2[32];
};
SPC_ANSWER_LAYOUT(tagJOBKINDTEXTS, 88);
SPC_ANSWER_AT(tagJOBKINDTEXTS, szText1, 16);
SPC_ANSWER_AT(tagJOBKINDTEXTS, szText2, 56);

// Department code 63 view 2: the entry's filter flags and largest length, then the characters the
// extra-character flag admits (terminated within the field, or not at all).
struct tagDEPTCODERULE {
    DWORD dwFlags;
    DWORD dwWord4;
    DWORD dwFilter;
    DWORD dwMaxLength;
    char szExtra[32];
};
SPC_ANSWER_LAYOUT(tagDEPTCODERULE, 48);
SPC_ANSWER_AT(tagDEPTCODERULE, dwFilter, 8);
SPC_ANSWER_AT(tagDEPTCODERULE, dwMaxLength, 12);
SPC_ANSWER_AT(tagDEPTCODERULE, szExtra, 16);

// 64 view 2: sorting.
struct tagSORTINFO {
    DWORD dwSortBits;
    DWORD dwDefault;  // low 16 bits: the default sort method
};
SPC_ANSWER_LAYOUT(tagSORTINFO, 8);

// 67 view 3: the default and largest poster overlap in both units.
struct tagPOSTERUNIT {
    DWORD dwFlags;
    SHORT sHundredths;     // default, 1/100 inch (file word 4)
    SHORT sMaxHundredths;  // largest, 1/100 inch
    SHORT sTenthsMm;       // default, 0.1 mm (file word 12)
    SHORT sMaxTenthsMm;    // largest, 0.1 mm
};
SPC_ANSWER_LAYOUT(tagPOSTERUNIT, 12);
SPC_ANSWER_AT(tagPOSTERUNIT, sHundredths, 4);
SPC_ANSWER_AT(tagPOSTERUNIT, sMaxHundredths, 6);
SPC_ANSWER_AT(tagPOSTERUNIT, sTenthsMm, 8);
SPC_ANSWER_AT(tagPOSTERUNIT, sMaxTenthsMm, 10);

// 77 view 1: the print modes offered and what each forbids.
struct tagPRINTMODEINFO {
    DWORD dwFlags;      // bit 0 vector mode offered, bit 1 raster mode offered, bit 2: dmOption342 on by default
    DWORD dwMaskMode0;  // for dmOption342 = 0: bit 1 item 36 not allowed, bit 2 toner save not allowed
    DWORD dwMaskMode1;  // the same for dmOption342 = 1
};
SPC_ANSWER_LAYOUT(tagPRINTMODEINFO, 12);

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
    SHORT sPageStep;  // file word 16: the slider's page step
    SHORT sDefault;   // file word 20
    SHORT sReserved;
};
SPC_ANSWER_LAYOUT(tagCONTRASTRANGE, 16);
SPC_ANSWER_AT(tagCONTRASTRANGE, sMinimum, 4);
SPC_ANSWER_AT(tagCONTRASTRANGE, sMaximum, 6);
SPC_ANSWER_AT(tagCONTRASTRANGE, sPageStep, 10);
SPC_ANSWER_AT(tagCONTRASTRANGE, sDefault, 12);

// Secure print 100 view 1, its first 16 of 48 bytes (the text behind them is not read): bit 0x1
// of the flags offers secure print; the job name entry's filter flags and largest length (the low
// 16 bits of its word, signed).
struct tagSECUREPRINTRULE {
    DWORD dwFlags;
    DWORD dwWord4;
    DWORD dwFilter;
    DWORD dwMaxLength;
};
SPC_ANSWER_LAYOUT(tagSECUREPRINTRULE, 16);
SPC_ANSWER_AT(tagSECUREPRINTRULE, dwFilter, 8);
SPC_ANSWER_AT(tagSECUREPRINTRULE, dwMaxLength, 12);

// 100 view 2: secure print, the job-kind words and text, and the least free spool space.
struct tagSECUREPRINT {
    DWORD dwFlags;  // bit 0: secure print is offered
    DWORD dwWords[3];
    char szText[32];
    DWORD dwMinimumFreeKb;  // 0 for the usual minimum
};
SPC_ANSWER_LAYOUT(tagSECUREPRINT, 52);
SPC_ANSWER_AT(tagSECUREPRINT, dwMinimumFreeKb, 48);

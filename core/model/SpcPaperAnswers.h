// Answer records of the paper, media and source capabilities (7, 18, 20-22, 24-26, 75, 101,
// 102): host-order records, one per answer, in the size and layout of their (capability, view).
// Answer buffers may be unaligned: readers build a record here and copy it out whole.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

#define SPC_ANSWER_LAYOUT(type, size) static_assert(sizeof(type) == (size), #type " must stay " #size " bytes")
#define SPC_ANSWER_AT(type, field, off) static_assert(offsetof(type, field) == (off), #type "." #field " offset")

// Paper 20 view 1: the default paper ids, the inch default first.
struct tagPAPERDEFAULTS {
    SHORT sInchDefault;
    SHORT sMetricDefault;
};
SPC_ANSWER_LAYOUT(tagPAPERDEFAULTS, 4);

// One 16-bit word: the default views of media 22 and source 24 (view 2), the default resolution
// mode (42 view 2) and the halftone setting's section word (47 view 1).
struct tagDEFAULTWORD {
    SHORT sValue;
};
SPC_ANSWER_LAYOUT(tagDEFAULTWORD, 2);

// Paper 20 view 3, media 22 view 1, source 24 view 1, group 26 view 1 (id and value or kind).
struct tagSPCIDVALUE {
    SHORT sId;
    SHORT sValue;
};
SPC_ANSWER_LAYOUT(tagSPCIDVALUE, 4);

// Paper 20 view 4: one paper's geometry (sizes in 0.1 mm and device dots at the section's
// resolution; "turned" is the sheet turned by 90 degrees).
struct tagPAPERINFO {
    SHORT sId;
    SHORT sValue2;
    SHORT sKind;
    SHORT sReserved;
    SHORT sWidthMm;            // 0.1 mm
    SHORT sLengthMm;
    SHORT sWidthDots;
    SHORT sLengthDots;
    SHORT sPrintWidthMm;       // printable size in 0.1 mm
    SHORT sPrintLengthMm;
    SHORT sPrintWidthDots;     // sheet size minus twice the margin of that direction
    SHORT sPrintLengthDots;
    SHORT sMargins[4];         // file offsets 28, 32, 36, 40
    SHORT sTurnedWidthMm;      // = length
    SHORT sTurnedLengthMm;     // = width
    SHORT sTurnedWidthDots;
    SHORT sTurnedLengthDots;
    SHORT sTurnedPrintWidthMm;
    SHORT sTurnedPrintLengthMm;
    SHORT sTurnedPrintWidthDots;
    SHORT sTurnedPrintLengthDots;
    SHORT sTurnedMargins[4];   // file offsets 44, 48, 52, 56
    DWORD dwDuplexFlags;       // file word 60
    DWORD dwWord64;
    DWORD dwWord68;
    DWORD dwWord76;
    DWORD dwWord72;
    DWORD dwLayoutFlags;       // file word 80
    SHORT sListAValue;
    SHORT sListACount;         // at most 32
    SHORT sListBValue;
    SHORT sListBCount;         // at most 20
    SHORT sListA[32];
    SHORT sListB[20];
};
SPC_ANSWER_LAYOUT(tagPAPERINFO, 192);
SPC_ANSWER_AT(tagPAPERINFO, sPrintWidthMm, 16);
SPC_ANSWER_AT(tagPAPERINFO, sMargins, 24);
SPC_ANSWER_AT(tagPAPERINFO, sTurnedWidthMm, 32);
SPC_ANSWER_AT(tagPAPERINFO, sTurnedPrintWidthMm, 40);
SPC_ANSWER_AT(tagPAPERINFO, sTurnedMargins, 48);
SPC_ANSWER_AT(tagPAPERINFO, dwDuplexFlags, 56);
SPC_ANSWER_AT(tagPAPERINFO, dwLayoutFlags, 76);
SPC_ANSWER_AT(tagPAPERINFO, sListAValue, 80);
SPC_ANSWER_AT(tagPAPERINFO, sListA, 88);
SPC_ANSWER_AT(tagPAPERINFO, sListB, 152);

// Name half: paper 20 view 6, custom view 2, media 22 view 4, source 24 view 4, group 26 view 4.
struct tagSPCNAME {
    SHORT sA;
    SHORT sB;
    char szName1[32];
};
SPC_ANSWER_LAYOUT(tagSPCNAME, 36);

// Paper 20 view 8, custom view 3, media 22 view 5: the name half with its second name.
struct tagSPCNAME2 {
    SHORT sA;
    SHORT sB;
    char szName1[32];
    char szName2[32];
};
SPC_ANSWER_LAYOUT(tagSPCNAME2, 68);

// Paper 20 view 7: the paper's word pairs (at most 64).
struct tagPAPERPAIRS {
    SHORT sId;
    SHORT sCount;
    SHORT sReserved[2];
    SHORT sFirst[64];
    SHORT sSecond[64];
};
SPC_ANSWER_LAYOUT(tagPAPERPAIRS, 264);
SPC_ANSWER_AT(tagPAPERPAIRS, sFirst, 8);
SPC_ANSWER_AT(tagPAPERPAIRS, sSecond, 136);

// Paper 20 view 9, media 22 view 6, source 24 view 5, group 26 view 5: the short counted list
// (at most 4 words) behind the names.
struct tagSPCTAILLIST {
    SHORT sId;
    SHORT sCount;
    SHORT sReserved[2];
    SHORT sWords[4];
};
SPC_ANSWER_LAYOUT(tagSPCTAILLIST, 16);

// Paper 20 view 10, media 22 view 7, source 24 view 6, group 26 view 6: list values and the
// three closing words.
struct tagSPCCLOSING {
    SHORT sId;
    SHORT sListAValue;
    SHORT sListBValue;
    SHORT sReserved;
    DWORD dwWords[3];
};
SPC_ANSWER_LAYOUT(tagSPCCLOSING, 20);

// Paper 20 view 11 and custom 21 view 7: the printer paper record (whole name block).
inline constexpr SHORT SPC_PRINTER_PAPER_CUSTOM = 256;  // printer paper code of a custom size
struct tagPRINTERPAPER {
    SHORT sA;
    SHORT sB;
    char szName1[32];
    char szName2[32];
    SHORT sC;              // 1 by default
    SHORT sPrinterCode;    // 256: custom size
    char szName3[32];
    char szName4[32];
};
SPC_ANSWER_LAYOUT(tagPRINTERPAPER, 136);
SPC_ANSWER_AT(tagPRINTERPAPER, sC, 68);
SPC_ANSWER_AT(tagPRINTERPAPER, szName3, 72);

// Custom limits 21/75/101/102 view 1.
struct tagCUSTOMLIMITS {
    DWORD dwFlags;
    SHORT sLimits[16];     // max width/length 0.1 mm, max 1/600 inch, min 0.1 mm, min 1/600 inch, margins
    DWORD dwWord68;        // duplex flags
    DWORD dwWord72;
    DWORD dwWord76;        // sort bits
    DWORD dwWord84;
    DWORD dwWord80;
    DWORD dwWord88;        // layout flags
    SHORT sListAValue;
    SHORT sListACount;     // at most 32
    SHORT sListBValue;
    SHORT sListBCount;     // at most 20
    SHORT sListA[32];
    SHORT sListB[20];
};
SPC_ANSWER_LAYOUT(tagCUSTOMLIMITS, 172);
SPC_ANSWER_AT(tagCUSTOMLIMITS, dwWord68, 36);
SPC_ANSWER_AT(tagCUSTOMLIMITS, dwWord88, 56);
SPC_ANSWER_AT(tagCUSTOMLIMITS, sListAValue, 60);
SPC_ANSWER_AT(tagCUSTOMLIMITS, sListA, 68);
SPC_ANSWER_AT(tagCUSTOMLIMITS, sListB, 132);

// Custom view 4: the counted list 72 bytes behind the name half (at most 4 words).
struct tagCUSTOMLIST {
    SHORT sCount;
    SHORT sReserved[3];
    SHORT sWords[4];
};
SPC_ANSWER_LAYOUT(tagCUSTOMLIST, 16);

// Custom view 5: the flag word and the word behind the list 144 bytes behind the name half
// (for 21: the most user-defined papers a queue may hold).
struct tagCUSTOMUSERMAX {
    DWORD dwFlags;
    DWORD dwMaxUserPapers;
};
SPC_ANSWER_LAYOUT(tagCUSTOMUSERMAX, 8);

// Custom view 6: list values and the second to fourth words behind the view-4 list.
struct tagCUSTOMCLOSING {
    SHORT sListAValue;
    SHORT sListBValue;
    DWORD dwWords[3];
};
SPC_ANSWER_LAYOUT(tagCUSTOMCLOSING, 16);

// Media 22 view 3 (list B: 20 slots) and source 24 view 3 / group 26 view 3 (list B: 32 slots).
template <int kListBSlots>
struct tagSPCTRAYINFO {
    SHORT sId;
    SHORT sValue;
    DWORD dwWords[6];      // file words 8, 12, 16, 20, 28, 24
    DWORD dwReserved;
    SHORT sListAValue;
    SHORT sListACount;     // at most 64
    SHORT sListBValue;
    SHORT sListBCount;
    SHORT sListA[64];
    SHORT sListB[kListBSlots];
};
typedef tagSPCTRAYINFO<20> tagMEDIAINFO;
typedef tagSPCTRAYINFO<32> tagSOURCEINFO;
SPC_ANSWER_LAYOUT(tagMEDIAINFO, 208);
SPC_ANSWER_LAYOUT(tagSOURCEINFO, 232);
SPC_ANSWER_AT(tagMEDIAINFO, sListAValue, 32);
SPC_ANSWER_AT(tagMEDIAINFO, sListA, 40);
SPC_ANSWER_AT(tagMEDIAINFO, sListB, 168);

// Media 22 view 8: the whole name block behind four zero bytes.
struct tagPRINTERMEDIA {
    SHORT sReserved[2];
    SHORT sA;
    SHORT sB;
    char szName1[32];
    char szName2[32];
    SHORT sC;              // 2 by default
    SHORT sPrinterCode;
    char szName3[32];
    char szName4[32];
};
SPC_ANSWER_LAYOUT(tagPRINTERMEDIA, 140);
SPC_ANSWER_AT(tagPRINTERMEDIA, sC, 72);
SPC_ANSWER_AT(tagPRINTERMEDIA, szName4, 108);

// Source 24 view 7 and group 26 view 7: names 3 and 4.
struct tagSOURCENAMES {
    SHORT sId;
    SHORT sReserved[3];
    char szName3[32];
    char szName4[32];
};
SPC_ANSWER_LAYOUT(tagSOURCENAMES, 72);

// Source 24 view 8 and group 26 view 9: the source name block.
struct tagPRINTERSOURCE {
    SHORT sA;
    SHORT sB;
    char szName1[32];
    SHORT sC;
    SHORT sPrinterCode;
    char szName2[32];
};
SPC_ANSWER_LAYOUT(tagPRINTERSOURCE, 72);
SPC_ANSWER_AT(tagPRINTERSOURCE, sC, 36);

// Duplex 25 view 1: flags, four section words, default.
struct tagDUPLEXINFO {
    DWORD dwFlags;
    DWORD dwWords[4];
    SHORT sDefault;
    SHORT sReserved;
};
SPC_ANSWER_LAYOUT(tagDUPLEXINFO, 24);

// Duplex 25 view 2: one mode with its two names.
struct tagDUPLEXMODE {
    SHORT sId;
    SHORT sWord4;
    SHORT sWord12;
    SHORT sWord16;
    char szName1[32];
    char szName2[32];
};
SPC_ANSWER_LAYOUT(tagDUPLEXMODE, 72);

// Duplex 25 view 3.
struct tagDUPLEXSHORT {
    SHORT sId;
    SHORT sWord4;
    SHORT sWord156;
};
SPC_ANSWER_LAYOUT(tagDUPLEXSHORT, 6);

// Duplex 25 view 4: the four words behind the records (largest binding margins at 2 and 6).
struct tagDUPLEXMARGINS {
    SHORT sWords[4];
};
SPC_ANSWER_LAYOUT(tagDUPLEXMARGINS, 8);

// Duplex 25 view 5: one mode for the printer; the record's words 12, 16, 84 and 88 (the
// printer duplex code) land at 8, 10, 76 and 78, the rest stays zero.
struct tagPRINTERDUPLEX {
    SHORT sId;
    SHORT sWord4;
    SHORT sWord8;
    SHORT sWord156;
    SHORT sA;
    SHORT sB;
    BYTE abReserved1[64];
    SHORT sC;
    SHORT sPrinterCode;
    BYTE abReserved2[64];
};
SPC_ANSWER_LAYOUT(tagPRINTERDUPLEX, 144);
SPC_ANSWER_AT(tagPRINTERDUPLEX, sA, 8);
SPC_ANSWER_AT(tagPRINTERDUPLEX, sC, 76);

// Duplex 25 view 6 (format version 313 on).
struct tagDUPLEXFLAGS {
    DWORD dwFlags;
    SHORT sWord;
    SHORT sReserved;
};
SPC_ANSWER_LAYOUT(tagDUPLEXFLAGS, 8);

// Source group 26 view 2.
struct tagSOURCEGROUP {
    SHORT sId;
    SHORT sKind;
    DWORD dwWord8;
    SHORT sReserved;
    SHORT sWord12;
    SHORT sListCount;      // at most 4
    SHORT sSourceCount;    // at most 4
    SHORT sList[4];
    SHORT sSources[4];
};
SPC_ANSWER_LAYOUT(tagSOURCEGROUP, 32);
SPC_ANSWER_AT(tagSOURCEGROUP, sWord12, 10);
SPC_ANSWER_AT(tagSOURCEGROUP, sSources, 24);

// Source group 26 view 8: which group holds a source.
struct tagGROUPSOURCE {
    SHORT sSourceId;
    SHORT sGroupId;
    DWORD dwExtra;
};
SPC_ANSWER_LAYOUT(tagGROUPSOURCE, 8);

// Source group 26 view 10.
struct tagSOURCEGROUPNAME {
    SHORT sId;
    SHORT sKind;
    DWORD dwWord8;
    char szName[32];
    BYTE abReserved[32];
};
SPC_ANSWER_LAYOUT(tagSOURCEGROUPNAME, 72);

// Named values 7 view 1 (the colour-table file is named from it).
struct tagNAMEDVALUE {
    SHORT sId;
    SHORT sReserved;
    DWORD dwValue;
    char szName[16];       // always terminated
    BYTE abReserved[16];
};
SPC_ANSWER_LAYOUT(tagNAMEDVALUE, 40);

// Long texts 18 view 1.
struct tagLONGNAME {
    SHORT sId;
    char szText[254];      // always terminated
};
SPC_ANSWER_LAYOUT(tagLONGNAME, 256);

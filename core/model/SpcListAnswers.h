// Answer records of the table lists (32-36, 39, 41-43, 46, 47, 51, 53, 55, 65, 69-71, 76,
// 80-95): host-order records in the size and layout of their (capability, view). Reserved
// fields are gaps that stay zero. Answer buffers may be unaligned: readers build a record here
// and copy it out whole.
#pragma once

#include "core/model/SpcPaperAnswers.h"

// 32 view 1: punch list entry.
struct tagSPCLIST32 {
    WORD wId;
    WORD wWord1;
    WORD wWord2;
    WORD wWord4;
    DWORD dwFlags;  // word 3
    DWORD dwReserved;
};
SPC_ANSWER_LAYOUT(tagSPCLIST32, 16);

// 33 view 1: staple list entry.
struct tagSPCLIST33 {
    WORD wId;
    WORD wWord1;
    WORD wWord3;
    WORD wReserved;
    DWORD dwFlags;  // word 2
    DWORD dwReserved;
};
SPC_ANSWER_LAYOUT(tagSPCLIST33, 16);

// 35 view 1: the base amount (the section's first word, its low 16 bits taken as signed).
struct tagSPCBASE35 {
    DWORD dwBase;
};
SPC_ANSWER_LAYOUT(tagSPCBASE35, 4);

// 35 view 2 and 36 view 2: an installable amount, its flags at 8 in both.
struct tagSPCAMOUNT {
    WORD wId;
    WORD wWord1;
    DWORD dwAmount;  // 35: word 3; 36: word 2
    DWORD dwFlags;   // 35: word 2; 36: word 3
    DWORD dwReserved;
};
SPC_ANSWER_LAYOUT(tagSPCAMOUNT, 16);

// 36 view 1: the five section values.
struct tagSPCBASE36 {
    DWORD dwValues[5];
    DWORD dwReserved;
};
SPC_ANSWER_LAYOUT(tagSPCBASE36, 24);

// 39 view 1 and view 3.
struct tagSPCSCREENINFO {
    DWORD dwFlags;
    WORD wWord1;
    SHORT sCount;
};
SPC_ANSWER_LAYOUT(tagSPCSCREENINFO, 8);
struct tagSPCSCREENTAIL {
    DWORD dwFlags;
    WORD wWord1;
    WORD wReserved;
    DWORD dwTail;  // the word behind the last record
};
SPC_ANSWER_LAYOUT(tagSPCSCREENTAIL, 12);

// 39 views 2 and 4: text A (view 2) or text C (view 4), text B, words 16 and 17.
struct tagSPCSCREEN {
    char szText[64];
    char szTextB[32];
    DWORD dwWord16;
    DWORD dwWord17;
};
SPC_ANSWER_LAYOUT(tagSPCSCREEN, 104);

// 41 view 1: the default resolution mode and its two numbers.
struct tagSPCRESDEFAULT {
    WORD wMode;        // section word 2
    WORD wReserved;
    DWORD dwWord1;     // section word 1
    DWORD dwNumber1;
    DWORD dwNumber2;
};
SPC_ANSWER_LAYOUT(tagSPCRESDEFAULT, 16);

// 41 view 2: one resolution mode and its two numbers.
struct tagSPCRESDPI {
    WORD wMode;
    WORD wReserved;
    DWORD dwNumber1;
    DWORD dwNumber2;
    DWORD dwReserved;
};
SPC_ANSWER_LAYOUT(tagSPCRESDPI, 16);

// 42 view 1: one resolution entry.
struct tagSPCRESOLUTION {
    SHORT sMode;
    SHORT sWord1;
    DWORD dwNumber1;   // horizontal
    DWORD dwNumber2;   // vertical
    DWORD dwFlags;     // word 3
    DWORD dwWord4;
    SHORT sWord5;
    SHORT sReserved;
    DWORD dwWord2;
    DWORD dwWord6;
};
SPC_ANSWER_LAYOUT(tagSPCRESOLUTION, 32);
SPC_ANSWER_AT(tagSPCRESOLUTION, dwNumber1, 4);
SPC_ANSWER_AT(tagSPCRESOLUTION, sWord5, 20);
SPC_ANSWER_AT(tagSPCRESOLUTION, dwWord6, 28);

// 42 view 6: the three counted lists of an entry.
struct tagSPCRESLISTS {
    WORD wMode;
    SHORT sCount1;
    SHORT sCount2;
    SHORT sCount3;
    SHORT sList1[64];
    SHORT sList2[32];
    SHORT sList3[20];
};
SPC_ANSWER_LAYOUT(tagSPCRESLISTS, 240);
SPC_ANSWER_AT(tagSPCRESLISTS, sList2, 136);
SPC_ANSWER_AT(tagSPCRESLISTS, sList3, 200);

// 43 view 2: a byte table.
struct tagSPCBYTETABLE {
    WORD wId;
    WORD wWord3;
    WORD wA;
    WORD wB;
    BYTE abData[4096];
};
SPC_ANSWER_LAYOUT(tagSPCBYTETABLE, 4104);

// 46 view 1: the section's first word.
struct tagSPCLIST46INFO {
    DWORD dwWord0;
};
SPC_ANSWER_LAYOUT(tagSPCLIST46INFO, 4);

// 46 view 3: the section word, the count word, the kind T and the two state texts behind the list.
struct tagSPCTONERSAVE {
    DWORD dwWord0;
    DWORD dwCount;
    DWORD dwKind;
    char szTextA[32];
    char szTextB[32];
};
SPC_ANSWER_LAYOUT(tagSPCTONERSAVE, 76);

// 47 view 3, 4 and 5.
struct tagSPCLIST47 {
    WORD wId;
    WORD wWord1;
    WORD wWord2;
    WORD wWord4;  // view 5 only
};
SPC_ANSWER_LAYOUT(tagSPCLIST47, 8);
struct tagSPCLIST47W3 {
    WORD wId;
    WORD wReserved;
    DWORD dwWord3;
};
SPC_ANSWER_LAYOUT(tagSPCLIST47W3, 8);

// 47 view 6: the default halftone and its companion word.
struct tagHALFTONEDEFAULT {
    SHORT sDefault;
    SHORT sWord;
};
SPC_ANSWER_LAYOUT(tagHALFTONEDEFAULT, 4);

// 51 view 3.
struct tagSPCLIST51 {
    DWORD dwWord0;
    DWORD dwReserved;
    char szText[16];
};
SPC_ANSWER_LAYOUT(tagSPCLIST51, 24);

// 53 view 1 and view 2.
struct tagSPCLIST53INFO {
    DWORD dwFlags;
    WORD wWord1;
    WORD wReserved;
};
SPC_ANSWER_LAYOUT(tagSPCLIST53INFO, 8);
struct tagSPCLIST53 {
    WORD wId;
    WORD wWord1;
    WORD wWord2;
    WORD wWord3;
    char szText[32];
};
SPC_ANSWER_LAYOUT(tagSPCLIST53, 40);

// 55 view 1: the colour-adjustment section header, words 0-30.
struct tagSPCCOLORDEFAULTS {
    DWORD dwWord0;
    WORD wWord1;
    WORD wReserved1;
    DWORD dwWord2;
    WORD wWord3;
    WORD wReserved3;
    DWORD dwWord4;
    WORD wWords5To14[10];
    DWORD dwWord15;
    WORD wWords16To25[10];
    DWORD dwWord26;
    WORD wWord27;
    WORD wReserved27;
    DWORD dwWord28;
    WORD wWord29;
    WORD wWord30;
};
SPC_ANSWER_LAYOUT(tagSPCCOLORDEFAULTS, 80);
SPC_ANSWER_AT(tagSPCCOLORDEFAULTS, wWords5To14, 20);
SPC_ANSWER_AT(tagSPCCOLORDEFAULTS, dwWord15, 40);
SPC_ANSWER_AT(tagSPCCOLORDEFAULTS, dwWord26, 64);
SPC_ANSWER_AT(tagSPCCOLORDEFAULTS, wWord29, 76);

// 55 view 2.
struct tagSPCLIST55 {
    WORD wId;
    WORD wWord1;
    DWORD dwWord2;
    DWORD dwWord3;
    DWORD dwReserved;
};
SPC_ANSWER_LAYOUT(tagSPCLIST55, 16);

// 65 view 3: one header item in output order.
struct tagPJLITEM {
    DWORD dwItemId;
    DWORD dwCopyFlags;
    DWORD dwMaxLength;
    DWORD dwWord3;
};
SPC_ANSWER_LAYOUT(tagPJLITEM, 16);

// 65 view 4: one PJL text of an item; the text is cut at 56 bytes.
struct tagPJLFORMAT {
    DWORD dwItemId;
    DWORD dwValueKey;
    char szFormat[56];
};
SPC_ANSWER_LAYOUT(tagPJLFORMAT, 64);

// 69 view 1.
struct tagSPCLIST69 {
    WORD wId;
    WORD wWord1;
    DWORD dwReserved;
    BYTE abData[256];
};
SPC_ANSWER_LAYOUT(tagSPCLIST69, 264);

// 71 view 1: the feature flags (bit 0: the pairs are offered) and the section's second word.
struct tagSPCLIST71INFO {
    DWORD dwFlags;
    DWORD dwWord1;
};
SPC_ANSWER_LAYOUT(tagSPCLIST71INFO, 8);

// 71 views 2 and 4: one pair with the words of the record that holds it.
struct tagSPCFEATUREPAIR {
    WORD wKey;
    WORD wReserved1;
    DWORD dwValue;
    WORD wWord0;
    WORD wWord1;
    WORD wWord2;
    WORD wReserved2;
};
SPC_ANSWER_LAYOUT(tagSPCFEATUREPAIR, 16);

// 71 view 3 (64 keys) and view 5 (8 keys).
template <int kKeys>
struct tagSPCFEATUREKEYS {
    WORD wWord0;
    WORD wWord1;
    WORD wWord2;
    SHORT sCount;
    WORD wKeys[kKeys];
};
SPC_ANSWER_LAYOUT(tagSPCFEATUREKEYS<64>, 136);
SPC_ANSWER_LAYOUT(tagSPCFEATUREKEYS<8>, 24);

// 95: one (key item, dependent item) pair.
struct tagSPCDEPENDPAIR {
    WORD wKey;
    WORD wDependent;
};
SPC_ANSWER_LAYOUT(tagSPCDEPENDPAIR, 4);

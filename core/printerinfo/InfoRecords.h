// Answer records of the fixed-layout capabilities that the paper rules read (department code,
// secure print, job kinds; the zoom limits and option flags are in SpcFixedAnswers.h), and the
// job-kind descriptor the rules fill.
#pragma once

#include "core/model/SpcFixedAnswers.h"

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

// Secure print 100 view 1: bit 0x1 of the flags offers secure print; the job name entry's filter
// flags and largest length (the low 16 bits of its word, signed).
struct tagSECUREPRINTRULE {
    DWORD dwFlags;
    DWORD dwWord4;
    DWORD dwFilter;
    DWORD dwMaxLength;
};
SPC_ANSWER_LAYOUT(tagSECUREPRINTRULE, 16);
SPC_ANSWER_AT(tagSECUREPRINTRULE, dwFilter, 8);
SPC_ANSWER_AT(tagSECUREPRINTRULE, dwMaxLength, 12);

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

// The job-kind descriptor of the job-type page: what the two entries of a job kind (user id and
// password, say) accept.
struct tagJOBSPOOLINFO {
    SHORT sEnabled1;      // -1 when the kind's flags have 0x2
    SHORT sMaxLength1;
    DWORD dwCharMask1;
    SHORT sEnabled2;      // -1 when the kind's flags have 0x4
    SHORT sMaxLength2;
    DWORD dwCharMask2;
    char szText1[32];     // always terminated
    char szText2[32];     // always terminated
    DWORD dwFlags;
};
SPC_ANSWER_LAYOUT(tagJOBSPOOLINFO, 84);
SPC_ANSWER_AT(tagJOBSPOOLINFO, dwCharMask1, 4);
SPC_ANSWER_AT(tagJOBSPOOLINFO, sEnabled2, 8);
SPC_ANSWER_AT(tagJOBSPOOLINFO, dwCharMask2, 12);
SPC_ANSWER_AT(tagJOBSPOOLINFO, szText1, 16);
SPC_ANSWER_AT(tagJOBSPOOLINFO, szText2, 48);
SPC_ANSWER_AT(tagJOBSPOOLINFO, dwFlags, 80);

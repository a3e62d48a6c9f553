// The job-kind descriptor the job-kind rules fill from the job-kind records of
// SpcFixedAnswers.h.
#pragma once

#include "core/model/SpcFixedAnswers.h"

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

// What the two entries of a job kind (proof, hold, private hold, store, private store) accept.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/printerinfo/InfoRecords.h"

// Fills *pInfo for job kind 1..5 from the kind's records; a kind without records (or any other
// kind) borrows the flags and lengths of the first kind that has the 0x10, 0x20 and 0x80 flags.
// Every mask ends up with bit 0x1000 (0x1001 when it was 0), every length of 0 becomes 8.
// FALSE only for a NULL output.
WORD GetJobSpoolInfo(const tagMODELHANDLE* pHandle, SHORT sJobKind, tagJOBSPOOLINFO* pInfo);

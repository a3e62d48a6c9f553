// What the two entries of a job kind (proof, hold, private hold, store, private store) accept.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/printerinfo/InfoRecords.h"

// Fills *pInfo for job kind 1..5 from the kind's records; a kind without records (or any other
// kind, such as 6, secure print) borrows the flags and lengths of the first kind that has the
// 0x10, 0x20 and 0x80 flags, and its entries stay disabled. Every mask ends up with bit 0x1000
// (0x1001 when it was 0), every length of 0 becomes 8.
// TRUE only when the kind is one of 1..5 and the model has its record (capability 60, 73, 74, 61
// or 62 for kinds 1 to 5, view 2), so callers can tell from the answer whether the model offers
// the kind; FALSE for every other kind, a kind the model lacks (the output is still filled as
// above) and a NULL output.
WORD GetJobSpoolInfo(const tagMODELHANDLE* pHandle, SHORT sJobKind, tagJOBSPOOLINFO* pInfo);

// How the settings services ask the model data: one fixed-size answer into a zeroed local buffer,
// or whether a list has any record.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcData.h"

// Asks (capability, item, view) into `buffer` of `size` bytes, which is zeroed first so that the
// fields a view does not write read as 0. True when the query succeeds; *count (when given)
// receives the number of records answered.
bool QueryAnswer(const tagSPCDATA* data, SHORT capability, SHORT item, LONG view, BYTE* buffer, DWORD size,
                 DWORD* count = nullptr);

// True when the capability answers view 1 for all items with at least one record: a size query,
// then the records fetched into a buffer of that size.
bool HasRecords(const tagSPCDATA* data, SHORT capability);

// True when a size-only query of view 1 succeeds with a nonzero size.
bool AnswersWithSize(const tagSPCDATA* data, SHORT capability);

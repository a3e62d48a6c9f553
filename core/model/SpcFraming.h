// How each capability's section is framed for the cursor: where the count word and the first
// record are, and how long a record is. One table row per capability or range of ids; a list
// family adds its rows (and its record-length functions) to the table in SpcFraming.cpp.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcBytes.h"

#include <cstdint>

enum class SpcFrameKind : BYTE {
    Refused,    // the cursor answers 50
    NoRecords,  // a fixed record or a record read directly: 0 with no current record
    String,     // the current pointer is placed on a string
    List,       // a count word and records
};

// Length of the record at off, or false when it runs past the image.
typedef bool (*SpcRecordLengthFn)(const SpcImage& img, uint64_t off, uint64_t* pcbRecord);

// For the few framings that depend on the cursor's selector: the count and first-record offsets
// (relative to the section) of a list, or the string offset in *pFirstAt. Answers 0, or the code
// the cursor answers (50 for a selector without a list, 13 for damage).
typedef DWORD (*SpcLocateFn)(const SpcImage& img, uint64_t section, SHORT sSelector, uint64_t* pCountAt,
                             uint64_t* pFirstAt);
// What a locate function answers for a selector that frames no list: the cursor then answers 0
// with no current record.
inline constexpr DWORD SPC_LOCATE_NO_RECORDS = 0xFFFFFFFF;

struct SpcFramingRow {
    SHORT idFirst;
    SHORT idLast;
    SpcFrameKind kind;
    DWORD countAt;               // List: section offset of the count word
    DWORD firstAt;               // List: first record; String: the string
    DWORD cbRecord;              // List: fixed record length, 0 when pfnLength gives it
    SpcRecordLengthFn pfnLength;
    bool bEmptyAllowed;          // a count <= 0 is an empty list instead of 50
    SpcLocateFn pfnLocate;       // overrides countAt / firstAt when set
};

// The row for a capability id, or NULL when the id has none (the cursor then answers 50).
const SpcFramingRow* SpcFindFraming(SHORT sCapId);

// The framing table of every capability the cursor knows.
#include "core/model/SpcFraming.h"

#include "core/model/SpcListLayout.h"
#include "core/model/SpcPaperLayout.h"

namespace {

// Capability 14 holds two strings: u32 L, the first string (L bytes), u32 length of the second,
// the second string. Selector (the query view) 0 or 1 is the first, 2 the second when its
// length word is not 0.
DWORD LocateString14(const SpcImage& img, uint64_t section, SHORT sSelector, uint64_t* pCountAt, uint64_t* pFirstAt)
{
    *pCountAt = 0;
    if (sSelector == 0 || sSelector == 1) {
        *pFirstAt = 4;
        return ERROR_SUCCESS;
    }
    if (sSelector != 2) {
        return ERROR_NOT_SUPPORTED;
    }
    uint64_t cbFirst = img.Dword(section);
    DWORD cbSecond = img.Dword(section + 4 + cbFirst);
    if (img.Failed()) {
        return ERROR_INVALID_DATA;
    }
    if (cbSecond == 0) {
        return ERROR_NOT_SUPPORTED;
    }
    *pFirstAt = 8 + cbFirst;
    return ERROR_SUCCESS;
}

constexpr SpcFramingRow Refused(SHORT idFirst, SHORT idLast)
{
    return {idFirst, idLast, SpcFrameKind::Refused, 0, 0, 0, nullptr, false, nullptr};
}
constexpr SpcFramingRow NoRecords(SHORT idFirst, SHORT idLast)
{
    return {idFirst, idLast, SpcFrameKind::NoRecords, 0, 0, 0, nullptr, false, nullptr};
}
constexpr SpcFramingRow String(SHORT idFirst, SHORT idLast, DWORD at)
{
    return {idFirst, idLast, SpcFrameKind::String, 0, at, 0, nullptr, false, nullptr};
}
constexpr SpcFramingRow List(SHORT id, DWORD countAt, DWORD firstAt, DWORD cbRecord, SpcRecordLengthFn pfn = nullptr,
                             bool bEmptyAllowed = false)
{
    return {id, id, SpcFrameKind::List, countAt, firstAt, cbRecord, pfn, bEmptyAllowed, nullptr};
}

const SpcFramingRow kFraming[] = {
    String(1, 6, 0),
    List(7, 0, 4, 24),
    Refused(8, 9),
    String(10, 11, 4),
    Refused(12, 13),
    {14, 14, SpcFrameKind::String, 0, 0, 0, nullptr, false, LocateString14},
    String(15, 17, 4),
    List(18, 0, 4, 0, SpcLongTextLength),
    Refused(19, 19),
    List(20, 0, 20, 0, SpcPaperRecordLength),
    NoRecords(21, 21),
    List(22, 0, 8, 0, SpcMediaRecordLength),
    NoRecords(23, 23),
    List(24, 0, 8, 0, SpcSourceRecordLength),
    List(25, 24, 28, 160, nullptr, true),
    List(26, 0, 4, 0, SpcGroupRecordLength),
    NoRecords(28, 31),
    NoRecords(38, 38),
    NoRecords(40, 40),
    NoRecords(44, 45),
    NoRecords(48, 50),
    NoRecords(52, 52),
    NoRecords(54, 54),
    NoRecords(56, 64),
    NoRecords(66, 66),
    Refused(67, 68),
    Refused(72, 72),
    NoRecords(73, 75),
    Refused(77, 77),
    NoRecords(78, 78),
    Refused(79, 79),
    Refused(96, 99),
    NoRecords(100, 102),
    // Finishing units and modes, installable options and the table lists.
    List(27, 0, 4, 0, SpcUnitLength),
    List(32, 0, 4, 20),
    List(33, 0, 4, 16),
    List(34, 0, 8, 0, SpcFinishModeLength),
    List(35, 4, 8, 16, nullptr, true),
    List(36, 20, 24, 16, nullptr, true),
    List(37, 0, 4, 0, SpcOptionRecordLength),
    List(39, 8, 12, 168),
    List(41, 0, 12, 12),
    List(42, 0, 8, 0, SpcResolutionLength),
    List(43, 0, 4, 0, SpcByteTableLength),
    // One record length for the cursor and for the kind behind the list: 16 bytes.
    List(46, 4, 8, 16, nullptr, true),
    List(47, 0, 12, 20),
    List(51, 8, 12, 20),
    List(53, 8, 12, 48),
    List(55, 124, 128, 16),
    List(65, 8, 12, 0, SpcPjlItemLength),
    List(69, 0, 4, 264),
    List(70, 0, 4, 8),
    // The selector picks list 1 or list 2.
    {71, 71, SpcFrameKind::List, 0, 0, 0, SpcFeatureLength, false, SpcLocateFeatureList},
    List(76, 0, 4, 8),
    {80, 94, SpcFrameKind::List, 0, 4, 4, nullptr, false, nullptr},
    List(95, 0, 4, 0, SpcDependLength),
};

}  // namespace

const SpcFramingRow* SpcFindFraming(SHORT sCapId)
{
    for (const SpcFramingRow& row : kFraming) {
        if (sCapId >= row.idFirst && sCapId <= row.idLast) {
            return &row;
        }
    }
    return nullptr;
}

// Fixed records: one record of fixed layout per capability; each view answers a fixed-size
// selection of its fields. Only the named fields are written (callers hand in a zeroed buffer).
#include "core/model/SpcReaders.h"

#include <vector>

namespace {

enum FieldKind : BYTE {
    kU32,     // u32 answer field = the word at the file offset
    kI16W,    // i16 answer field = low 16 bits of the word at the file offset
    kI16H,    // i16 answer field = the 16-bit value at the file offset
    kText32,  // up to 32 bytes of text, no terminator added
    kZero16,  // i16 answer field that the table sets to 0
};

struct FixedField {
    FieldKind kind;
    BYTE outAt;
    BYTE fileAt;
};

struct FixedRow {
    SHORT id;
    LONG view;
    DWORD cbAnswer;
    WORD wMinVersion;  // 0: any accepted format version
    std::vector<FixedField> fields;
};

std::vector<FixedField> Words(BYTE n, BYTE fileFirst = 0, BYTE outFirst = 0)
{
    std::vector<FixedField> fields;
    for (BYTE i = 0; i < n; ++i) {
        fields.push_back({kU32, static_cast<BYTE>(outFirst + 4 * i), static_cast<BYTE>(fileFirst + 4 * i)});
    }
    return fields;
}

std::vector<FixedField> Join(std::vector<FixedField> a, const std::vector<FixedField>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The job-kind section (60-62, 73, 74) and the department code (63) share their first fields.
std::vector<FixedField> JobKindHead()
{
    return Join(Words(4), {{kText32, 16, 16}});
}

std::vector<FixedRow> BuildTable()
{
    std::vector<FixedRow> rows;
    auto add = [&rows](std::initializer_list<SHORT> ids, LONG view, DWORD cb, std::vector<FixedField> fields,
                       WORD wMinVersion = 0) {
        for (SHORT id : ids) {
            rows.push_back({id, view, cb, wMinVersion, fields});
        }
    };
    add({12, 13, 30}, 1, 4, Words(1));
    add({19}, 1, 4, Words(1));
    add({19}, 2, 8, Words(2));
    add({19}, 3, 12, Words(3));
    add({19}, 4, 28, Words(7));
    add({23}, 1, 4, Words(1));
    add({23}, 2, 8, Words(2));
    add({28}, 1, 4, Words(1));
    add({28}, 2, 8, {{kU32, 0, 0}, {kI16W, 4, 4}, {kI16H, 6, 8}});
    add({28}, 3, 32, Join({{kU32, 0, 0}, {kI16W, 4, 4}, {kI16H, 6, 8}}, Words(6, 12, 8)));
    add({28}, 4, 8, {{kU32, 0, 0}, {kI16H, 4, 10}, {kZero16, 6, 0}});
    add({29}, 1, 16, {{kU32, 0, 0}, {kU32, 4, 4}, {kU32, 8, 20}, {kU32, 12, 24}});
    add({29}, 2, 8, {{kU32, 0, 0}, {kI16H, 4, 28}});
    add({29}, 3, 32,
        Join({{kU32, 0, 0}, {kI16H, 8, 28}, {kI16H, 10, 30}, {kI16H, 12, 32}, {kI16H, 14, 34}}, Words(4, 44, 16)));
    add({29}, 4, 28, Words(7));
    add({29}, 5, 8, {{kU32, 0, 0}, {kI16H, 4, 36}, {kI16H, 6, 38}});
    add({31}, 1, 8, {{kU32, 0, 0}, {kI16W, 4, 4}, {kI16W, 6, 8}});
    add({31}, 2, 8, {{kU32, 0, 0}, {kI16W, 4, 12}});
    add({38}, 1, 8, Words(2));
    add({40}, 1, 4, Words(1));
    add({40}, 2, 12, Words(3));
    add({44}, 1, 8, {{kI16W, 0, 0}, {kI16W, 2, 4}, {kI16W, 4, 8}});
    add({45}, 1, 4, Words(1));
    add({45}, 2, 8, {{kI16W, 0, 4}, {kI16W, 2, 8}, {kI16W, 4, 12}, {kI16W, 6, 16}});
    add({48, 54, 56}, 1, 8, {{kU32, 0, 0}, {kI16W, 4, 4}});
    add({49}, 1, 8, Words(2));
    add({50, 64}, 1, 4, Words(1));
    add({50, 64}, 2, 8, Words(2));
    add({52}, 1, 16, Words(4));
    add({57}, 1, 4, Words(1));
    add({57}, 2, 20, Words(5));
    add({58, 59, 66, 68, 72}, 1, 4, Words(1));
    add({60, 61, 62, 73, 74}, 1, 8, Words(2));
    add({60, 61, 62, 73, 74}, 2, 24, Join(Words(4), {{kU32, 16, 48}, {kU32, 20, 52}}));
    add({60, 61, 62, 73, 74}, 3, 88, Join(JobKindHead(), {{kU32, 48, 48}, {kU32, 52, 52}, {kText32, 56, 56}}));
    add({63}, 1, 8, Words(2));
    add({63}, 2, 48, JobKindHead());
    add({67}, 1, 4, Words(1));
    add({67}, 2, 8, {{kU32, 0, 0}, {kI16W, 4, 4}});
    add({67}, 3, 12, {{kU32, 0, 0}, {kI16W, 4, 4}, {kI16W, 6, 8}, {kI16W, 8, 12}, {kI16W, 10, 16}});
    add({77}, 1, 12, Words(3));
    add({77}, 2, 16, Words(4));
    add({77}, 3, 8, {{kU32, 0, 16}, {kI16W, 4, 20}, {kI16W, 6, 24}});
    add({78}, 1, 16, {{kU32, 0, 0}, {kI16W, 4, 4}, {kI16W, 6, 8}, {kI16W, 8, 12}, {kI16W, 10, 16}, {kI16W, 12, 20}});
    add({79}, 1, 16, Words(4));
    add({96}, 1, 8, Words(2));
    add({100}, 1, 48, JobKindHead(), 314);
    add({100}, 2, 52, Join(JobKindHead(), {{kU32, 48, 48}}), 315);
    return rows;
}

const FixedRow* FindRow(SHORT sCapId, LONG lView)
{
    static const std::vector<FixedRow> kRows = BuildTable();
    for (const FixedRow& row : kRows) {
        if (row.id == sCapId && row.view == lView) {
            return &row;
        }
    }
    return nullptr;
}

uint64_t FieldEnd(const FixedField& f)
{
    return f.fileAt + (f.kind == kText32 ? 32 : f.kind == kI16H ? 2 : 4);
}

}  // namespace

SPC_READER(SpcGetFixedRecord)
{
    (void)sItem;
    const BYTE* pSection = nullptr;
    DWORD dwResult = SpcFindSection(pData, sCapId, &pSection);
    if (dwResult != ERROR_SUCCESS) {
        return dwResult;
    }
    const FixedRow* pRow = FindRow(sCapId, lView);
    if (pRow == nullptr || SpcFormatVersion(SpcVersionWord(pData)) < pRow->wMinVersion) {
        SpcSetCount(pdwCount, 0);
        return ERROR_NOT_SUPPORTED;
    }
    SpcImage img = SpcImageOf(pData);
    uint64_t section = img.OffsetOf(pSection);
    uint64_t cbExtent = 0;
    for (const FixedField& f : pRow->fields) {
        cbExtent = std::max(cbExtent, FieldEnd(f));
    }
    if (!img.Contains(section, cbExtent)) {
        return ERROR_INVALID_DATA;
    }
    bool bDone = false;
    dwResult = SpcCheckRoom(pRow->cbAnswer, pvBuffer, pcbSize, pdwCount, &bDone);
    if (bDone) {
        return dwResult;
    }
    auto* pbOut = static_cast<BYTE*>(pvBuffer);
    for (const FixedField& f : pRow->fields) {
        uint64_t at = section + f.fileAt;
        switch (f.kind) {
        case kU32:
            SpcPutU32(pbOut, f.outAt, img.Dword(at));
            break;
        case kI16W:
            SpcPutI16(pbOut, f.outAt, img.Dword(at));
            break;
        case kI16H:
            SpcPutI16(pbOut, f.outAt, img.Word(at));
            break;
        case kText32:
            SpcPutText(img, at, pbOut, f.outAt, 32);
            break;
        case kZero16:
            SpcPutI16(pbOut, f.outAt, 0);
            break;
        }
    }
    SpcSetCount(pdwCount, 1);
    return ERROR_SUCCESS;
}

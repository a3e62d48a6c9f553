#include "filter/render/ModelDataQuery.h"

#include "filter/render/RenderOptions.h"
#include "core/model/SpcQuery.h"

#include <cstdlib>

BYTE* QueryModelData(WORD capability, WORD item, DWORD view, DWORD* count, const tagRENDEROPTIONS* options,
                     DWORD* size)
{
    if (options == nullptr || options->pModelData == nullptr) {
        return nullptr;
    }
    const PFNMODELQUERY query = options->pfnModelQuery != nullptr ? options->pfnModelQuery : &SpcQuery;
    DWORD bytes = 0;
    DWORD records = 0;
    if (query(options->pModelData, static_cast<SHORT>(capability), static_cast<SHORT>(item),
               static_cast<LONG>(view), nullptr, &bytes, &records) != ERROR_SUCCESS ||
        bytes == 0) {
        return nullptr;
    }
    auto* buffer = static_cast<BYTE*>(std::calloc(1, bytes));
    if (buffer == nullptr) {
        return nullptr;
    }
    DWORD filled = bytes;
    records = 0;
    if (query(options->pModelData, static_cast<SHORT>(capability), static_cast<SHORT>(item),
               static_cast<LONG>(view), buffer, &filled, &records) != ERROR_SUCCESS ||
        records == 0) {
        std::free(buffer);
        return nullptr;
    }
    if (count != nullptr) {
        *count = records;
    }
    if (size != nullptr) {
        // The reader reports what it wrote; never more than the buffer it was given.
        *size = filled <= bytes ? filled : bytes;
    }
    return buffer;
}

bool ModelDataWord(const BYTE* record, DWORD size, DWORD offset, WORD* value)
{
    if (record == nullptr || value == nullptr || size < 2 || offset > size - 2) {
        return false;
    }
    *value = static_cast<WORD>(record[offset] | (record[offset + 1] << 8));
    return true;
}

bool ModelDataDword(const BYTE* record, DWORD size, DWORD offset, DWORD* value)
{
    if (record == nullptr || value == nullptr || size < 4 || offset > size - 4) {
        return false;
    }
    *value = static_cast<DWORD>(record[offset]) | (static_cast<DWORD>(record[offset + 1]) << 8) |
             (static_cast<DWORD>(record[offset + 2]) << 16) | (static_cast<DWORD>(record[offset + 3]) << 24);
    return true;
}

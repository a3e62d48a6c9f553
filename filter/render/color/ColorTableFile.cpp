#include "filter/render/color/ColorTableFile.h"

#include "filter/render/RenderContext.h"
#include "core/settings/DevMode.h"
#include "core/util/FileUtil.h"
#include "core/util/SafeName.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

DWORD Read32(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

WORD Read16(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

// Every extent is summed in 64 bits, so 32-bit offsets near the top cannot wrap into range.
bool Inside(size_t imageSize, uint64_t offset, uint64_t length)
{
    return offset <= imageSize && length <= imageSize - offset;
}

struct SectionView {
    size_t firstEntry;  // offset of entry 0
    DWORD count;
    DWORD stride;
};

enum class SectionState { Absent, Present, Damaged };

SectionState LocateSection(const BYTE* data, size_t size, int type, SectionView* view)
{
    if (!Inside(size, 0, CT_HEADER_SIZE)) {
        return SectionState::Damaged;
    }
    const DWORD directory = Read32(data + CT_HEADER_DIRECTORY);
    if (directory == 0) {
        return SectionState::Absent;
    }
    if (!Inside(size, directory, CT_DIRECTORY_SIZE)) {
        return SectionState::Damaged;
    }
    const DWORD section = Read32(data + directory + 4 * static_cast<size_t>(type - 1));
    if (section == 0) {
        return SectionState::Absent;
    }
    if (!Inside(size, section, CT_SECTION_ENTRIES)) {
        return SectionState::Damaged;
    }
    view->count = Read16(data + section + CT_SECTION_COUNT);
    view->stride = Read16(data + section + CT_SECTION_STRIDE);
    view->firstEntry = static_cast<size_t>(section) + CT_SECTION_ENTRIES;
    if (view->count == 0) {
        return SectionState::Present;
    }
    // An entry is 28 bytes; a shorter stride would make entries overlap their neighbours' fields
    // and let the last one run past the section.
    if (view->stride < CT_ENTRY_MIN_STRIDE ||
        !Inside(size, view->firstEntry, static_cast<uint64_t>(view->count) * view->stride)) {
        return SectionState::Damaged;
    }
    return SectionState::Present;
}

// The payload of entry `index`; false when it lies outside the image.
bool EntryPayload(const BYTE* data, size_t size, const SectionView& view, int type, DWORD index,
                  tagCOLORTABLEENTRY* out)
{
    const BYTE* entry = data + view.firstEntry + static_cast<size_t>(index) * view.stride;
    const uint64_t start = static_cast<uint64_t>(Read32(entry + CT_ENTRY_BASE)) + Read32(entry + CT_ENTRY_OFFSET);
    if (type == CT_TYPE_MATRIX) {
        out->dwWidth = Read16(entry + CT_ENTRY_WIDTH);
        out->dwHeight = Read16(entry + CT_ENTRY_HEIGHT);
        out->dwSize = out->dwWidth * out->dwHeight;
    } else {
        out->dwSize = Read32(entry + CT_ENTRY_SIZE);
        out->dwWidth = out->dwSize;
        out->dwHeight = 1;
    }
    if (!Inside(size, start, out->dwSize)) {
        return false;
    }
    out->pPayload = data + start;
    std::memcpy(out->abKey, entry + CT_ENTRY_KEY, CT_KEY_BYTES);
    return true;
}

// The least a payload of the type must hold for the renderer to use it.
bool PayloadUsable(int type, const tagCOLORTABLEENTRY& entry)
{
    switch (type) {
    case CT_TYPE_LUT:
        return entry.dwSize >= CT_LUT_PAYLOAD;
    case CT_TYPE_MATRIX:
        return entry.dwWidth > 0 && entry.dwHeight > 0;
    case CT_TYPE_TONECURVE:
        return entry.dwSize >= CT_TONECURVE_PAYLOAD;
    case CT_TYPE_GRAYWEIGHTS:
        return entry.dwSize >= CT_GRAYWEIGHTS_PAYLOAD;
    default:
        return true;
    }
}

bool SectionsAreSound(const BYTE* data, size_t size)
{
    for (int type = 1; type <= CT_SECTION_TYPES; ++type) {
        SectionView view{};
        const SectionState state = LocateSection(data, size, type, &view);
        if (state == SectionState::Damaged) {
            return false;
        }
        if (state == SectionState::Absent) {
            continue;
        }
        for (DWORD i = 0; i < view.count; ++i) {
            tagCOLORTABLEENTRY entry{};
            if (!EntryPayload(data, size, view, type, i, &entry)) {
                return false;
            }
            if (type == CT_TYPE_MATRIX && (entry.dwWidth > CT_MATRIX_MAX_SIDE || entry.dwHeight > CT_MATRIX_MAX_SIDE)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool ColorTableImageIsSound(const BYTE* bytes, size_t size)
{
    return bytes != nullptr && SectionsAreSound(bytes, size);
}

tagCOLORTABLEIMAGE* LoadColorTableImage(const BYTE* bytes, size_t size)
{
    if (bytes == nullptr || size == 0 || !ColorTableImageIsSound(bytes, size)) {
        return nullptr;
    }
    auto* image = static_cast<tagCOLORTABLEIMAGE*>(std::calloc(1, sizeof(tagCOLORTABLEIMAGE)));
    if (image == nullptr) {
        return nullptr;
    }
    image->pData = static_cast<BYTE*>(std::malloc(size));
    if (image->pData == nullptr) {
        std::free(image);
        return nullptr;
    }
    std::memcpy(image->pData, bytes, size);
    image->cbSize = size;
    return image;
}

tagCOLORTABLEIMAGE* ReadColorTableFile(const char* directory, const char* name)
{
    if (!IsSafeNameComponent(name)) {
        return nullptr;
    }
    size_t size = 0;
    std::unique_ptr<BYTE, decltype(&std::free)> bytes(static_cast<BYTE*>(ReadWholeFileSized(directory, name, &size)),
                                                      &std::free);
    if (!bytes || size == 0 || !ColorTableImageIsSound(bytes.get(), size)) {
        return nullptr;
    }
    auto* image = static_cast<tagCOLORTABLEIMAGE*>(std::calloc(1, sizeof(tagCOLORTABLEIMAGE)));
    if (image == nullptr) {
        return nullptr;
    }
    image->pData = bytes.release();
    image->cbSize = size;
    return image;
}

void FreeColorTableImage(tagCOLORTABLEIMAGE* image)
{
    if (image != nullptr) {
        std::free(image->pData);
        std::free(image);
    }
}

WORD FindColorTableEntry(const BYTE* key, const BYTE* mask, const tagCOLORTABLEIMAGE* image, tagCOLORTABLEENTRY* result)
{
    if (key == nullptr || mask == nullptr || image == nullptr || image->pData == nullptr || result == nullptr) {
        return FLAG_FALSE;
    }
    const int type = key[CT_KEY_TYPE];
    if (type < 1 || type > CT_SECTION_TYPES) {
        return FLAG_FALSE;
    }
    SectionView view{};
    if (LocateSection(image->pData, image->cbSize, type, &view) != SectionState::Present) {
        return FLAG_FALSE;
    }
    WORD found = FLAG_FALSE;
    for (DWORD i = 0; i < view.count; ++i) {
        const BYTE* entryKey = image->pData + view.firstEntry + static_cast<size_t>(i) * view.stride;
        bool match = true;
        for (size_t b = 0; b < CT_KEY_BYTES && match; ++b) {
            match = ((entryKey[b] ^ key[b]) & mask[b]) == 0;
        }
        if (!match) {
            continue;
        }
        tagCOLORTABLEENTRY candidate{};
        if (!EntryPayload(image->pData, image->cbSize, view, type, i, &candidate) || !PayloadUsable(type, candidate)) {
            continue;
        }
        *result = candidate;  // a later match replaces an earlier one
        found = FLAG_TRUE;
    }
    return found;
}

void BuildColorKey(BYTE* key, const DRVDEVMODE* settings, const tagRENDERCONTEXT* context)
{
    if (key == nullptr) {
        return;
    }
    std::memset(key, 0, CT_KEY_BYTES);
    if (settings == nullptr) {
        return;
    }
    BYTE mode;
    if (settings->priv.dmColor == 3) {
        mode = 5;
    } else if (settings->priv.dmClrCtrl.wGrayRepro != 0) {
        mode = settings->priv.dmClrCtrl.wProfile != 0 ? 3 : 1;
    } else {
        mode = settings->priv.dmClrCtrl.wProfile != 0 ? 4 : 2;
    }
    key[CT_KEY_MODE] = mode;

    switch (settings->priv.dmQuality) {
    case 3:
        key[CT_KEY_RESOLUTION] = 4;
        break;
    case 4:
        key[CT_KEY_RESOLUTION] = 8;
        break;
    case 1:
        key[CT_KEY_RESOLUTION] = 1;
        break;
    default:
        key[CT_KEY_RESOLUTION] = 2;
        break;
    }

    if (context != nullptr && (context->dwLangFlags & TONERSAVE_IN_TABLE) != 0 && settings->priv.dmTonerSave == 1) {
        key[CT_KEY_TONER] = CT_KEY_TONER_SAVE;
    }
}

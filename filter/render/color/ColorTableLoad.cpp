#include "filter/render/color/ColorTableLoad.h"

#include "filter/render/color/ColorAdjust.h"
#include "filter/render/color/ColorTableFile.h"
#include "filter/render/RenderContext.h"
#include "filter/log/FilterLog.h"
#include "core/settings/DevMode.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void LogMissing(const BYTE* key)
{
    char hex[2 * CT_KEY_BYTES + 1];
    for (size_t i = 0; i < CT_KEY_BYTES; ++i) {
        std::snprintf(hex + 2 * i, 3, "%02X", key[i]);
    }
    LogMessage(LOG_ERROR, "ColorTable entry not found: key %s\n", hex);
}

bool Ready(const DRVDEVMODE* settings, const tagRENDERCONTEXT* context)
{
    return settings != nullptr && context != nullptr && context->pColorBlock != nullptr &&
           context->pColorTable != nullptr;
}

struct PlaneSlot {
    BYTE plane;
    PLANESLOT slot;
};

constexpr PlaneSlot kColorPlanes[] = {
    {CT_PLANE_CYAN, SLOT_CYAN},
    {CT_PLANE_MAGENTA, SLOT_MAGENTA},
    {CT_PLANE_YELLOW, SLOT_YELLOW},
    {CT_PLANE_BLACK, SLOT_BLACK},
};
constexpr PlaneSlot kMonoPlane[] = {{CT_PLANE_MONO, SLOT_BLACK}};

// Rows of `rowBytes` bytes, each the matrix row repeated from the page origin.
bool TileMatrix(tagCOLORBLOCK* block, PLANESLOT slot, const tagCOLORTABLEENTRY& matrix, size_t rowBytes,
                size_t previousRowBytes)
{
    const size_t height = matrix.dwHeight;
    // The file's load check bounds every matrix; a larger one is never tiled.
    if (height > CT_MATRIX_MAX_SIDE || matrix.dwWidth > CT_MATRIX_MAX_SIDE) {
        return false;
    }
    BYTE* tiled = block->apMatrix[slot];
    if (tiled == nullptr || previousRowBytes != rowBytes || block->adwMatrixHeight[slot] != height) {
        std::free(tiled);
        block->apMatrix[slot] = nullptr;
        block->adwMatrixHeight[slot] = 0;
        tiled = static_cast<BYTE*>(std::malloc(rowBytes * height));
        if (tiled == nullptr) {
            return false;
        }
        block->apMatrix[slot] = tiled;
    }
    block->adwMatrixHeight[slot] = static_cast<DWORD>(height);
    const size_t width = matrix.dwWidth;
    for (size_t r = 0; r < height; ++r) {
        const BYTE* src = matrix.pPayload + r * width;
        BYTE* dst = tiled + r * rowBytes;
        for (size_t x = 0; x < rowBytes; x += width) {
            std::memcpy(dst + x, src, std::min(width, rowBytes - x));
        }
    }
    return true;
}

void FreeMatrix(tagCOLORBLOCK* block, int slot)
{
    std::free(block->apMatrix[slot]);
    block->apMatrix[slot] = nullptr;
    block->adwMatrixHeight[slot] = 0;
}

bool CopyCurve(tagCOLORBLOCK* block, PLANESLOT slot, const tagCOLORTABLEENTRY& curve)
{
    if (block->apToneCurve[slot] == nullptr) {
        block->apToneCurve[slot] = static_cast<BYTE*>(std::malloc(TONE_CURVE_BYTES));
        if (block->apToneCurve[slot] == nullptr) {
            return false;
        }
    }
    // Exactly one curve, whatever the entry claims beyond it.
    std::memcpy(block->apToneCurve[slot], curve.pPayload, TONE_CURVE_BYTES);
    return true;
}

// Gray-axis nodes become black only: K grows by 8/10 of the gray component of C, M and Y.
void FoldGrayAxis(BYTE* lut)
{
    for (int n = 0; n < LUT_AXIS_NODES; ++n) {
        BYTE* node = lut + LutNodeOffset(n, n, n);
        const int m = std::min({node[0], node[1], node[2]});
        node[3] = static_cast<BYTE>(std::min(255, node[3] + (8 * m) / 10));
        node[0] = node[1] = node[2] = 0;
    }
}

}  // namespace

WORD LoadColorLut(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (!Ready(settings, context)) {
        return FLAG_FALSE;
    }
    if (settings->priv.dmColor == 1) {
        return FLAG_TRUE;  // monochrome pages use the black curve only
    }
    BYTE key[CT_KEY_BYTES];
    BYTE mask[CT_KEY_BYTES] = {};
    BuildColorKey(key, settings, context);
    key[CT_KEY_TYPE] = CT_TYPE_LUT;
    const DWORD media = settings->dm.dmMediaType;
    key[CT_KEY_MEDIA] = static_cast<BYTE>(media & 0xFF);
    key[CT_KEY_MEDIA + 1] = static_cast<BYTE>((media >> 8) & 0xFF);
    mask[CT_KEY_TYPE] = mask[CT_KEY_MODE] = mask[CT_KEY_MEDIA] = mask[CT_KEY_MEDIA + 1] = 0xFF;

    tagCOLORTABLEENTRY entry{};
    WORD found = FindColorTableEntry(key, mask, context->pColorTable, &entry);
    if (found == FLAG_FALSE) {
        BYTE generic[CT_KEY_BYTES];
        std::memcpy(generic, key, CT_KEY_BYTES);
        generic[CT_KEY_MEDIA] = generic[CT_KEY_MEDIA + 1] = 0;  // the mode's table for any media
        found = FindColorTableEntry(generic, mask, context->pColorTable, &entry);
    }
    if (found == FLAG_FALSE) {
        LogMissing(key);
        return FLAG_FALSE;
    }
    tagCOLORBLOCK* block = context->pColorBlock;
    std::memcpy(block->abLutKey, entry.abKey, CT_KEY_BYTES);
    std::memcpy(block->abLut, entry.pPayload, LUT_BYTES);
    if ((entry.abKey[CT_KEY_LUTFLAGS] & CT_LUT_FOLD_GRAY) != 0) {
        FoldGrayAxis(block->abLut);
    }
    // Only a freshly loaded table is adjusted: without one the block still holds the previous
    // page's table, which was adjusted already.
    BuildAdjustedLut(settings, context, options);
    return FLAG_TRUE;
}

WORD LoadDitherMatrices(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (!Ready(settings, context) || options == nullptr) {
        return FLAG_FALSE;
    }
    tagCOLORBLOCK* block = context->pColorBlock;
    bool loaded[SLOT_COUNT] = {};
    WORD result = FLAG_FALSE;
    if (options->dwPageWidth != 0 && options->dwPageHeight != 0) {
        // The page bitmap's row in device dots, rounded up to whole 32-bit words.
        const uint64_t dots = static_cast<uint64_t>(options->dwPageWidth) *
                              static_cast<uint64_t>(std::max<LONG>(1, context->lResMultiplierX));
        const uint64_t rowBytes = (dots + 3) & ~static_cast<uint64_t>(3);
        const size_t previousRowBytes = block->dwMatrixRowBytes;
        if (rowBytes <= UINT32_MAX) {
            BYTE key[CT_KEY_BYTES];
            BYTE mask[CT_KEY_BYTES] = {};
            BuildColorKey(key, settings, context);
            key[CT_KEY_TYPE] = CT_TYPE_MATRIX;
            mask[CT_KEY_TYPE] = mask[CT_KEY_PLANE] = mask[CT_KEY_RESOLUTION] = 0xFF;
            mask[CT_KEY_TONER] = CT_KEY_TONER_SAVE;

            const bool mono = settings->priv.dmColor == 1;
            const PlaneSlot* planes = mono ? kMonoPlane : kColorPlanes;
            const size_t planeCount = mono ? 1 : SLOT_COUNT;
            result = FLAG_TRUE;
            for (size_t p = 0; p < planeCount; ++p) {
                key[CT_KEY_PLANE] = planes[p].plane;
                tagCOLORTABLEENTRY entry{};
                if (FindColorTableEntry(key, mask, context->pColorTable, &entry) == FLAG_FALSE) {
                    LogMissing(key);
                    result = FLAG_FALSE;
                    break;
                }
                if (!TileMatrix(block, planes[p].slot, entry, static_cast<size_t>(rowBytes), previousRowBytes)) {
                    result = FLAG_FALSE;
                    break;
                }
                loaded[planes[p].slot] = true;
            }
            block->dwMatrixRowBytes = static_cast<DWORD>(rowBytes);
        }
    }
    // A slot this page did not load must not screen it with the previous page's matrix.
    bool any = false;
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (!loaded[slot]) {
            FreeMatrix(block, slot);
        }
        any = any || loaded[slot];
    }
    if (!any) {
        block->dwMatrixRowBytes = 0;
    }
    return result;
}

WORD LoadToneCurves(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (!Ready(settings, context)) {
        return FLAG_FALSE;
    }
    BYTE key[CT_KEY_BYTES];
    BYTE mask[CT_KEY_BYTES] = {};
    BuildColorKey(key, settings, context);
    key[CT_KEY_TYPE] = CT_TYPE_TONECURVE;
    key[CT_KEY_TONER] = 0;  // curves do not depend on toner save
    mask[CT_KEY_TYPE] = mask[CT_KEY_PLANE] = mask[CT_KEY_RESOLUTION] = 0xFF;

    const bool mono = settings->priv.dmColor == 1;
    const PlaneSlot* planes = mono ? kMonoPlane : kColorPlanes;
    const size_t planeCount = mono ? 1 : SLOT_COUNT;
    for (size_t p = 0; p < planeCount; ++p) {
        key[CT_KEY_PLANE] = planes[p].plane;
        tagCOLORTABLEENTRY entry{};
        if (FindColorTableEntry(key, mask, context->pColorTable, &entry) == FLAG_FALSE) {
            LogMissing(key);
            return FLAG_FALSE;
        }
        if (!CopyCurve(context->pColorBlock, planes[p].slot, entry)) {
            return FLAG_FALSE;
        }
    }
    if (mono) {
        BuildMonoCurve(settings, context, options);  // also turns the curve to gray-level order
    }
    return FLAG_TRUE;
}

WORD LoadGrayWeights(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    (void)settings;
    (void)options;
    if (context == nullptr) {
        return FLAG_FALSE;
    }
    BYTE key[CT_KEY_BYTES] = {};
    BYTE mask[CT_KEY_BYTES] = {};
    key[CT_KEY_TYPE] = CT_TYPE_GRAYWEIGHTS;
    mask[CT_KEY_TYPE] = 0xFF;
    tagCOLORTABLEENTRY entry{};
    if (context->pColorTable != nullptr && FindColorTableEntry(key, mask, context->pColorTable, &entry) != FLAG_FALSE) {
        for (int c = 0; c < 3; ++c) {
            const BYTE* p = entry.pPayload + 2 * c;
            context->asGrayWeight[c] = static_cast<SHORT>(static_cast<WORD>(p[0] | (p[1] << 8)));
        }
        return FLAG_TRUE;
    }
    context->asGrayWeight[0] = DEFAULT_GRAY_WEIGHT_RED;
    context->asGrayWeight[1] = DEFAULT_GRAY_WEIGHT_GREEN;
    context->asGrayWeight[2] = DEFAULT_GRAY_WEIGHT_BLUE;
    return FLAG_FALSE;
}

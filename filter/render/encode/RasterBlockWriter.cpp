#include "filter/render/encode/RasterBlockWriter.h"

#include "filter/render/encode/RasterBlockLayout.h"
#include "filter/render/RenderContext.h"

#include <algorithm>
#include <cstdint>

namespace {

void PutLe16(BYTE* at, uint16_t value)
{
    at[0] = static_cast<BYTE>(value);
    at[1] = static_cast<BYTE>(value >> 8);
}

void PutLe32(BYTE* at, uint32_t value)
{
    PutLe16(at, static_cast<uint16_t>(value));
    PutLe16(at + 2, static_cast<uint16_t>(value >> 16));
}

// A block holds at most this many rows (its 16-bit row count) and this many bytes (its 32-bit length).
constexpr DWORD kMaxBlockRows = 0xFFFF;
constexpr uint64_t kMaxBlockBytes = 0xFFFFFFFFu;

}  // namespace

void AppendRasterBlock(tagOUTPUTBUFFER* out, WORD bandFlags, const BYTE* data, DWORD length, WORD plane, WORD rows,
                       bool compressed)
{
    BYTE header[kRasterBlockHeaderSize] = {};
    PutLe32(header + kRasterBlockLengthOffset, length);
    header[kRasterBlockLastBandOffset] = (bandFlags & BAND_LAST) != 0 ? 1 : 0;
    header[kRasterBlockFirstBandOffset] = (bandFlags & BAND_FIRST) != 0 ? 1 : 0;
    header[kRasterBlockCompressionOffset] = compressed ? RASTER_COMPRESSION_JBIG : RASTER_COMPRESSION_NONE;
    PutLe16(header + kRasterBlockRowsOffset, rows);
    PutLe16(header + kRasterBlockPlaneOffset, plane);
    OutputBufferAppend(out, kRasterBlockCommand, kRasterBlockCommandLength);
    OutputBufferAppend(out, header, sizeof(header));
    OutputBufferAppend(out, data, length);
}

WORD WriteRasterBlockType2(tagRENDERCONTEXT* context, tagOUTPUTBUFFER* out, const BYTE* data, DWORD length, WORD plane,
                           WORD rows, bool compressed)
{
    if (context == nullptr || out == nullptr) {
        return FLAG_FALSE;
    }
    AppendRasterBlock(out, context->wBandFlags, data, length, plane, rows, compressed);
    return FLAG_TRUE;
}

void AppendRawRows(tagOUTPUTBUFFER* out, WORD bandFlags, const BYTE* rowData, size_t rowBytes, DWORD rows, WORD plane)
{
    // rowBytes is at most 2^29 (a 32-bit dot count), so a block always takes at least 7 rows.
    DWORD perBlock = kMaxBlockRows;
    if (rowBytes != 0) {
        perBlock = static_cast<DWORD>(std::min<uint64_t>(perBlock, kMaxBlockBytes / rowBytes));
    }
    DWORD done = 0;
    while (done < rows) {
        const DWORD n = std::min(perBlock, rows - done);
        WORD flags = 0;
        if (done == 0) {
            flags |= bandFlags & BAND_FIRST;
        }
        if (done + n >= rows) {
            flags |= bandFlags & BAND_LAST;
        }
        AppendRasterBlock(out, flags, rowData + done * rowBytes, static_cast<DWORD>(n * rowBytes), plane,
                          static_cast<WORD>(n), false);
        done += n;
    }
}

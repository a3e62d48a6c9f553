#include "filter/render/encode/BandCompress.h"

#include "filter/render/encode/RasterBlockLayout.h"
#include "filter/render/encode/RasterBlockWriter.h"
#include "filter/render/RenderContext.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeDeleter {
    void operator()(BYTE* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<BYTE, FreeDeleter>;

Buffer ZeroedBuffer(size_t bytes)
{
    return Buffer(static_cast<BYTE*>(std::calloc(bytes == 0 ? 1 : bytes, 1)));
}

void PutBe32(BYTE* at, DWORD value)
{
    at[0] = static_cast<BYTE>(value >> 24);
    at[1] = static_cast<BYTE>(value >> 16);
    at[2] = static_cast<BYTE>(value >> 8);
    at[3] = static_cast<BYTE>(value);
}

DWORD GetBe32(const BYTE* at)
{
    return static_cast<DWORD>(at[0]) << 24 | static_cast<DWORD>(at[1]) << 16 | static_cast<DWORD>(at[2]) << 8 | at[3];
}

// The output buffer and the three work rows of a band, zeroed for every band. They are the calling
// thread's and kept from band to band: made anew for every band, the allocator gave their memory
// back to the system after each band of a compression worker and faulted it in again for the next,
// every time interrupting each processor that runs the job's threads.
struct BandBuffers {
    Buffer output;
    size_t outputSize = 0;
    Buffer work[3];

    bool Allocate(size_t rowBytes, DWORD rows)
    {
        outputSize = rowBytes * rows;
        const size_t workBytes = std::max(rowBytes, kCompressMinWorkRowBytes);
        bool ok = Zeroed(output, outputCapacity, outputSize);
        for (int i = 0; i < 3; ++i) {
            ok = ok && Zeroed(work[i], workCapacity[i], workBytes);
        }
        return ok;
    }

private:
    size_t outputCapacity = 0;
    size_t workCapacity[3] = {};

    // `buffer` holding at least `bytes` zeroed bytes, made anew only when it is smaller.
    static bool Zeroed(Buffer& buffer, size_t& capacity, size_t bytes)
    {
        if (buffer != nullptr && bytes <= capacity) {
            std::memset(buffer.get(), 0, bytes);
            return true;
        }
        buffer = ZeroedBuffer(bytes);
        capacity = buffer != nullptr ? bytes : 0;
        return buffer != nullptr;
    }
};

BandBuffers& ThreadBandBuffers()
{
    thread_local BandBuffers buffers;
    return buffers;
}

void FillParams(tagCOMPRESSPARAMS& params, const tagBANDCOMPRESSOR& compressor, BandBuffers& buffers,
                const BYTE* firstRow, DWORD width, DWORD rowsLeft)
{
    std::memset(&params, 0, sizeof(params));
    std::memcpy(params.abLayoutTag, kCompressLayoutTag, sizeof(kCompressLayoutTag));
    params.pOutput = buffers.output.get();
    params.qwOutputSize = buffers.outputSize;
    params.pFirstRow = firstRow;
    params.wWidth = static_cast<WORD>(width);
    params.wRows = static_cast<WORD>(rowsLeft);
    params.wWidth2 = static_cast<WORD>(width);
    params.dwRows = rowsLeft;
    for (int i = 0; i < 3; ++i) {
        params.apWorkRow[i] = buffers.work[i].get();
    }
    params.bOption = compressor.bOption;
    params.bReserved90 = 1;
    params.dwStripeRows = compressor.dwStripeRows != 0 ? compressor.dwStripeRows : rowsLeft;
    params.pOutputAgain = buffers.output.get();
    params.pRenderContext = compressor.pRenderContext;
}

// The flags of a block that starts `done` rows into the band and ends `end` rows into it.
WORD BlockFlags(WORD bandFlags, DWORD done, DWORD end, DWORD rows)
{
    WORD flags = 0;
    if ((bandFlags & BAND_FIRST) != 0 && done == 0) {
        flags |= BAND_FIRST;
    }
    if ((bandFlags & BAND_LAST) != 0 && end >= rows) {
        flags |= BAND_LAST;
    }
    return flags;
}

}  // namespace

tagBANDCOMPRESSOR BandCompressorOf(tagRENDERCONTEXT* context)
{
    tagBANDCOMPRESSOR compressor{};
    if (context != nullptr) {
        compressor.pfnCompress = context->pfnCompress;
        compressor.bOption = static_cast<BYTE>(context->dwCompressOption);
        compressor.dwStripeRows = context->dwStripeRows;
        compressor.pRenderContext = context;
    }
    return compressor;
}

WORD CompressBandPlane(const tagBANDCOMPRESSOR& compressor, WORD bandFlags, tagOUTPUTBUFFER* out, const BYTE* band,
                       WORD plane, DWORD width, DWORD rows)
{
    if (compressor.pfnCompress == nullptr || out == nullptr || band == nullptr) {
        return FLAG_FALSE;
    }
    if (width == 0 || width > kCompressMaxWidth || rows > kCompressMaxRows) {
        return FLAG_FALSE;
    }
    const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
    BandBuffers& buffers = ThreadBandBuffers();
    if (!buffers.Allocate(rowBytes, rows)) {
        return FLAG_FALSE;
    }

    tagCOMPRESSPARAMS params;
    DWORD done = 0;
    while (done < rows) {
        const DWORD rowsLeft = rows - done;
        const BYTE* firstRow = band + done * rowBytes;
        FillParams(params, compressor, buffers, firstRow, width, rowsLeft);
        const int status = compressor.pfnCompress(&params);

        DWORD encoded = params.dwRowsEncoded;
        const uint64_t written = params.qwBytesWritten;
        const bool believable =
            written <= buffers.outputSize && encoded <= rowsLeft && (encoded == 0 || written >= kJbigHeaderSize);
        if (status != COMPRESS_OK || !believable) {
            AppendRawRows(out, BlockFlags(bandFlags, done, rows, rows), firstRow, rowBytes, rowsLeft, plane);
            break;
        }
        if (encoded == 0) {
            // The library took no row: that row goes out raw and the next call starts after it.
            AppendRasterBlock(out, BlockFlags(bandFlags, done, done + 1, rows), firstRow, static_cast<DWORD>(rowBytes),
                              plane, 1, false);
            done += 1;
            continue;
        }
        BYTE* image = buffers.output.get();
        if (encoded != rowsLeft) {
            // An image of fewer rows than asked: its header says how many. The stripe height goes
            // with it only when the image was announced as one stripe; shorter stripes stay as
            // they were encoded, and the image's last stripe simply ends early.
            if (GetBe32(image + kJbigHeaderStripeOffset) >= rowsLeft) {
                PutBe32(image + kJbigHeaderStripeOffset, encoded);
            }
            PutBe32(image + kJbigHeaderHeightOffset, encoded);
        }
        AppendRasterBlock(out, BlockFlags(bandFlags, done, done + encoded, rows), image, static_cast<DWORD>(written),
                          plane, static_cast<WORD>(encoded), true);
        done += encoded;
    }
    return FLAG_TRUE;
}

WORD CompressBand(tagRENDERCONTEXT* context, tagOUTPUTBUFFER* out, const BYTE* band, WORD plane, DWORD width,
                  DWORD rows)
{
    if (context == nullptr) {
        return FLAG_FALSE;
    }
    return CompressBandPlane(BandCompressorOf(context), context->wBandFlags, out, band, plane, width, rows);
}

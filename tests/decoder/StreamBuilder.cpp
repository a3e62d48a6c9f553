#include "decoder/StreamBuilder.h"

#include <algorithm>
#include <cstring>

namespace orvtest {

namespace {

constexpr unsigned kColourPlaneNumbers[4] = {1, 2, 3, 0};

void AppendBandBlocks(StreamBuilder& stream, PFNCOMPRESS compress, const uint8_t* band, unsigned width,
                      unsigned rows, unsigned plane, bool firstBand, bool lastBand)
{
    const size_t rowBytes = (width + 7) / 8;
    const size_t workBytes = std::max(rowBytes, kCompressMinWorkRowBytes);
    std::vector<uint8_t> output(rowBytes * rows);
    std::vector<uint8_t> work(3 * workBytes);
    unsigned done = 0;
    while (compress != nullptr && done < rows) {
        tagCOMPRESSPARAMS params {};
        std::memcpy(params.abLayoutTag, kCompressLayoutTag, sizeof(kCompressLayoutTag));
        params.pOutput = output.data();
        params.qwOutputSize = output.size();
        params.pFirstRow = band + done * rowBytes;
        params.wWidth = params.wWidth2 = static_cast<WORD>(width);
        params.dwRows = rows - done;
        params.wRows = static_cast<WORD>(params.dwRows);
        for (int i = 0; i < 3; ++i) {
            params.apWorkRow[i] = work.data() + i * workBytes;
        }
        params.bOption = COMPRESS_OPT_DEFAULT;
        params.bReserved90 = 1;
        params.dwStripeRows = params.dwRows;
        params.pOutputAgain = output.data();
        if (compress(&params) != COMPRESS_OK || params.dwRowsEncoded == 0 ||
            params.qwBytesWritten > output.size() || params.dwRowsEncoded > rows - done) {
            break;
        }
        const unsigned n = params.dwRowsEncoded;
        std::vector<uint8_t> data(output.begin(), output.begin() + static_cast<std::ptrdiff_t>(params.qwBytesWritten));
        stream.RasterBlock(data, firstBand && done == 0, lastBand && done + n >= rows, true, n, plane);
        done += n;
    }
    if (done < rows) {
        std::vector<uint8_t> data(band + done * rowBytes, band + rows * rowBytes);
        stream.RasterBlock(data, firstBand && done == 0, lastBand, false, rows - done, plane);
    }
}

}  // namespace

void AppendPageBlocks(StreamBuilder& stream, PFNCOMPRESS compress, const TestPage& page, unsigned bandRows)
{
    const size_t rowBytes = (page.width + 7) / 8;
    for (unsigned top = 0; top < page.height; top += bandRows) {
        const unsigned rows = std::min(bandRows, page.height - top);
        // A page that fits in one band carries the last-band flag only.
        const bool lastBand = top + bandRows >= page.height;
        const bool firstBand = top == 0 && !lastBand;
        for (size_t i = 0; i < page.planes.size(); ++i) {
            const unsigned plane = page.planes.size() == 1 ? 0 : kColourPlaneNumbers[i];
            AppendBandBlocks(stream, compress, page.planes[i].data() + top * rowBytes, page.width, rows, plane,
                             firstBand, lastBand);
        }
    }
}

}  // namespace orvtest

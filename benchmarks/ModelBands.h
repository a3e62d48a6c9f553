// Pages cut as the filter cuts them for a sample model: the model's band and stripe geometry, read
// from its readable model file (data/models/<model>.json), and a plane compressed in it through the
// package's compression library. The geometry: bands of the rows capability 77 gives (the filter's
// band height), each band one JBIG image per plane in stripes of the rows capability 19 gives
// (0: one stripe of the whole band), with the compression option byte capability 19 gives.
//
// The benchmarks are programs run by hand on the package's own sample files; a file that does not
// hold these records as expected is reported, not guessed around.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/compress/CompressParams.h"

namespace benchgeometry {

struct ModelGeometry {
    std::string model;
    unsigned bandRows = 0;    // capability 77, item 5: rows per band
    unsigned stripeRows = 0;  // capability 19, item 4: rows per JBIG stripe, 0 for the whole band
    unsigned option = 0;      // capability 19, item 3: the compression library's option byte
};

// The numbers of the first "raw" list after the record `"id": <id>` in a model file; empty when
// there is none.
inline std::vector<long> RawItems(const std::string& text, int id)
{
    std::smatch record;
    const std::regex recordStart("\"id\":\\s*" + std::to_string(id) + "\\s*,");
    if (!std::regex_search(text, record, recordStart)) {
        return {};
    }
    const size_t from = static_cast<size_t>(record.position(0) + record.length(0));
    const size_t raw = text.find("\"raw\":", from);
    const size_t nextRecord = text.find("\"id\":", from);
    if (raw == std::string::npos || (nextRecord != std::string::npos && nextRecord < raw)) {
        return {};
    }
    const size_t open = text.find('[', raw);
    const size_t close = text.find(']', raw);
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return {};
    }
    std::vector<long> items;
    std::stringstream list(text.substr(open + 1, close - open - 1));
    for (std::string item; std::getline(list, item, ',');) {
        items.push_back(std::strtol(item.c_str(), nullptr, 10));
    }
    return items;
}

// Reads `<sourceDir>/data/models/<model>.json`; false (and a message on stderr) when the file or
// its records are not as the filter reads them.
inline bool ReadModelGeometry(const std::string& sourceDir, const std::string& model, ModelGeometry* geometry)
{
    const std::string path = sourceDir + "/data/models/" + model + ".json";
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    const std::vector<long> language = RawItems(text.str(), 19);
    const std::vector<long> render = RawItems(text.str(), 77);
    if (language.size() < 5 || render.size() < 6 || render[5] <= 0 || render[5] > 65535 || language[4] < 0 ||
        language[4] > 65535 || language[3] < 0 || language[3] > 255) {
        std::fprintf(stderr, "%s: no band height (77) or stripe and compression option (19) as expected\n",
                     path.c_str());
        return false;
    }
    geometry->model = model;
    geometry->bandRows = static_cast<unsigned>(render[5]);
    geometry->stripeRows = static_cast<unsigned>(language[4]);
    geometry->option = static_cast<unsigned>(language[3]);
    return true;
}

// A bit-plane through the package's compression library in the model's bands, as the renderer
// calls it: one image per band (more when a call encodes fewer rows), in the model's stripes and
// with its option byte; the bytes each band costs, raw rows counted at their size. Rows are
// (width + 7) / 8 bytes, bit 7 leftmost. `output` and `workRows` are the caller's, reused.
inline std::vector<size_t> CompressPage(PFNCOMPRESS compress, const BYTE* bits, unsigned width, unsigned height,
                                        const ModelGeometry& model, std::vector<BYTE>& output,
                                        std::vector<BYTE>& workRows)
{
    const size_t rowBytes = (size_t(width) + 7) / 8;
    const size_t workBytes = std::max(rowBytes, kCompressMinWorkRowBytes);
    output.resize(rowBytes * model.bandRows);
    workRows.resize(3 * workBytes);
    std::vector<size_t> bands;
    for (unsigned top = 0; top < height; top += model.bandRows) {
        const unsigned rows = std::min(model.bandRows, height - top);
        const BYTE* band = bits + top * rowBytes;
        size_t bytes = 0;
        unsigned done = 0;
        while (done < rows) {
            tagCOMPRESSPARAMS params {};
            std::memcpy(params.abLayoutTag, kCompressLayoutTag, sizeof(kCompressLayoutTag));
            params.pOutput = output.data();
            params.qwOutputSize = rowBytes * rows;
            params.pFirstRow = band + done * rowBytes;
            params.wWidth = params.wWidth2 = static_cast<WORD>(width);
            params.dwRows = rows - done;
            params.wRows = static_cast<WORD>(params.dwRows);
            for (int i = 0; i < 3; ++i) {
                params.apWorkRow[i] = workRows.data() + i * workBytes;
            }
            params.bOption = static_cast<BYTE>(model.option);
            params.bReserved90 = 1;
            params.dwStripeRows = model.stripeRows != 0 ? model.stripeRows : params.dwRows;
            params.pOutputAgain = output.data();
            if (compress(&params) != COMPRESS_OK || params.dwRowsEncoded == 0) {
                bytes += (rows - done) * rowBytes;  // the rest of the band goes out raw
                break;
            }
            bytes += params.qwBytesWritten;
            done += params.dwRowsEncoded;
        }
        bands.push_back(bytes);
    }
    return bands;
}

}  // namespace benchgeometry

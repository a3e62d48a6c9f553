// The band and stripe geometry of a sample model, read from its readable model file
// (data/models/<model>.json), so that a benchmark cuts pages as the filter cuts them for that
// model: bands of the rows capability 77 gives (the filter's band height), each band one JBIG
// image per plane in stripes of the rows capability 19 gives (0: one stripe of the whole band),
// with the compression option byte capability 19 gives.
//
// The benchmarks are programs run by hand on the package's own sample files; a file that does not
// hold these records as expected is reported, not guessed around.
#pragma once

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

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

}  // namespace benchgeometry

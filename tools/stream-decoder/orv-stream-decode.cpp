// orv-stream-decode: decodes a printer stream written by the filter (a file, or standard input for
// "-"), prints a summary of its commands and pages, and writes every plane of every page as an
// image file.
//
//   orv-stream-decode [-o PREFIX] [--png] [-q] STREAM
//
// Files are PREFIX-pageNNN-PLANE.pbm (and .png with --png); PREFIX defaults to "page" in the
// current directory. Exit status: 0 for a well-formed stream, 1 for a malformed one (the pages
// before the fault are still written), 2 for a usage or file error.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/stream-decoder/lib/PlaneFiles.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"
#include "tools/stream-decoder/lib/StreamSummary.h"

namespace {

// A printer stream of a long colour job stays far below this.
constexpr size_t kMaxStreamBytes = size_t(1) << 30;

struct Options {
    std::string input;
    std::string prefix = "page";
    bool png = false;
    bool quiet = false;
};

int Usage(const char* program)
{
    std::fprintf(stderr, "usage: %s [-o PREFIX] [--png] [-q] STREAM|-\n", program);
    return 2;
}

bool ReadStream(const std::string& path, std::vector<uint8_t>& bytes)
{
    FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    uint8_t chunk[65536];
    size_t n = 0;
    bool ok = true;
    while ((n = std::fread(chunk, 1, sizeof(chunk), file)) > 0) {
        if (bytes.size() + n > kMaxStreamBytes) {
            ok = false;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ok = ok && !std::ferror(file);
    if (file != stdin) {
        std::fclose(file);
    }
    return ok;
}

bool WritePages(const orvdecode::DecodedStream& stream, const Options& options)
{
    bool ok = true;
    for (const orvdecode::DecodedPage& page : stream.pages) {
        for (uint16_t plane = 0; plane < page.planes.size(); ++plane) {
            if (!page.planes[plane]) {
                continue;
            }
            char name[64];
            std::snprintf(name, sizeof(name), "-page%03zu-%s", page.number, orvdecode::PlaneName(plane));
            const std::string base = options.prefix + name;
            if (!orvdecode::WritePbm(base + ".pbm", *page.planes[plane], page.width, page.height)) {
                std::fprintf(stderr, "cannot write %s.pbm\n", base.c_str());
                ok = false;
            }
            if (options.png && !orvdecode::WritePng(base + ".png", *page.planes[plane], page.width, page.height)) {
                std::fprintf(stderr, "cannot write %s.png\n", base.c_str());
                ok = false;
            }
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc) {
            options.prefix = argv[++i];
        } else if (arg == "--png") {
            options.png = true;
        } else if (arg == "-q") {
            options.quiet = true;
        } else if (options.input.empty() && (arg == "-" || arg[0] != '-')) {
            options.input = arg;
        } else {
            return Usage(argv[0]);
        }
    }
    if (options.input.empty()) {
        return Usage(argv[0]);
    }

    std::vector<uint8_t> bytes;
    if (!ReadStream(options.input, bytes)) {
        std::fprintf(stderr, "%s: cannot read %s (or it exceeds 1 GiB)\n", argv[0], options.input.c_str());
        return 2;
    }
    const orvdecode::DecodedStream stream = orvdecode::DecodeStream(bytes.data(), bytes.size());
    if (!options.quiet) {
        std::fputs(orvdecode::FormatSummary(stream).c_str(), stdout);
    }
    const bool written = WritePages(stream, options);
    if (stream.error) {
        std::fprintf(stderr, "%s: %s: malformed stream at %s\n", argv[0], options.input.c_str(),
                     orvdecode::FormatError(*stream.error).c_str());
        return 1;
    }
    return written ? 0 : 2;
}

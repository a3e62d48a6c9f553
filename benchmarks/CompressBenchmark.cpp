// Compares the package's compression library with JBIG-KIT's own `pbmtojbg -q` on the same text
// page bitmaps (rendered by Ghostscript; one also with a halftoned grey figure), measured in the same run: compressed size and time of each, and their ratios.
//
// The library is driven as the renderer drives it: the page cut into bands of 512 rows, one call
// per band (more when a call encodes fewer rows), the rows of a band that cannot be encoded
// counted raw. pbmtojbg encodes the whole page in one image from a PBM file; its time is the
// wall time of the process (start-up and reading the file included) and its CPU time; the
// library's are the wall and process CPU time of the calls.
//
//   orv-compress-benchmark [--lib PATH] [--repeat N] [--keep DIR]
#include <dlfcn.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/compress/CompressParams.h"

extern char** environ;

namespace {

struct Bitmap {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<BYTE> bits;  // rows of (width + 7) / 8 bytes, bit 7 leftmost, set = black
    size_t RowBytes() const { return (width + 7) / 8; }
};

struct PageCase {
    const char* name;
    int dpi;
    int pointSize;
    bool withGreyImage;  // a halftoned grey gradient beside the text, as a report with a figure
};

// A page of running text in a proportional font, as an office document prints.
std::string TextPagePostScript(int pointSize, bool withGreyImage)
{
    static const char* const kWords[] = {
        "printer", "driver",  "page",   "band",    "plane", "raster", "compression", "the",  "of",
        "and",     "quality", "toner",  "duplex",  "paper", "tray",   "settings",    "a",    "to",
        "is",      "colour",  "screen", "dither",  "job",   "queue",  "document",    "with", "for",
        "report",  "figure",  "table",  "summary", "in",    "on",     "results",     "which"};
    const size_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);
    std::ostringstream ps;
    ps << "%!PS\n/Times-Roman findfont " << pointSize << " scalefont setfont\n";
    unsigned seed = 12345;
    const int lineHeight = pointSize + pointSize / 4;
    for (int y = 800; y > 50; y -= lineHeight) {
        ps << "60 " << y << " moveto (";
        int length = 0;
        while (length < 90 * 11 / pointSize) {
            seed = seed * 1103515245u + 12345u;
            const char* word = kWords[(seed >> 16) % kWordCount];
            ps << word << ' ';
            length += static_cast<int>(std::strlen(word)) + 1;
        }
        ps << ") show\n";
    }
    if (withGreyImage) {
        // A 256-step grey ramp, 8 x 3 inches, that Ghostscript screens to black and white.
        ps << "gsave 1 setgray 60 300 576 216 rectfill 60 300 translate 576 216 scale\n"
           << "256 1 8 [256 0 0 1 0 0] {<";
        for (int i = 0; i < 256; ++i) {
            static const char kHex[] = "0123456789abcdef";
            ps << kHex[i >> 4] << kHex[i & 15];
        }
        ps << ">} image grestore\n";
    }
    ps << "showpage\n";
    return ps.str();
}

int RunProgram(const std::vector<std::string>& args, double* cpuSeconds)
{
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid) {
        return -1;
    }
    if (cpuSeconds != nullptr) {
        *cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                      usage.ru_stime.tv_usec / 1e6;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads the next header number of a PBM file, skipping white space and comment lines.
bool ReadPbmNumber(std::istream& in, unsigned& value)
{
    int c = in.get();
    while (c == '#' || std::isspace(c)) {
        if (c == '#') {
            while (c != '\n' && c != EOF) {
                c = in.get();
            }
        }
        c = in.get();
    }
    if (!std::isdigit(c)) {
        return false;
    }
    unsigned long number = 0;
    while (std::isdigit(c) && number < 1000000) {
        number = number * 10 + static_cast<unsigned>(c - '0');
        c = in.get();
    }
    value = static_cast<unsigned>(number);
    return std::isspace(c) && number < 1000000;  // one white space byte ends the last number
}

bool ReadPbm(const std::string& path, Bitmap& bitmap)
{
    std::ifstream in(path, std::ios::binary);
    char magic[2] = {};
    if (!in.read(magic, 2) || magic[0] != 'P' || magic[1] != '4') {
        return false;
    }
    if (!ReadPbmNumber(in, bitmap.width) || !ReadPbmNumber(in, bitmap.height) || bitmap.width == 0 ||
        bitmap.height == 0) {
        return false;
    }
    bitmap.bits.resize(bitmap.RowBytes() * bitmap.height);
    in.read(reinterpret_cast<char*>(bitmap.bits.data()), static_cast<std::streamsize>(bitmap.bits.size()));
    return static_cast<bool>(in);
}

size_t FileSize(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<size_t>(st.st_size) : 0;
}

// The library over a whole page in bands, as the renderer calls it; the bytes the page costs.
size_t CompressPage(PFNCOMPRESS compress, const Bitmap& page, unsigned bandRows, std::vector<BYTE>& output,
                    std::vector<BYTE>& workRows)
{
    const size_t rowBytes = page.RowBytes();
    const size_t workBytes = std::max(rowBytes, kCompressMinWorkRowBytes);
    size_t total = 0;
    for (unsigned top = 0; top < page.height; top += bandRows) {
        const unsigned rows = std::min(bandRows, page.height - top);
        const BYTE* band = page.bits.data() + top * rowBytes;
        unsigned done = 0;
        while (done < rows) {
            tagCOMPRESSPARAMS params {};
            std::memcpy(params.abLayoutTag, kCompressLayoutTag, sizeof(kCompressLayoutTag));
            params.pOutput = output.data();
            params.qwOutputSize = rowBytes * rows;
            params.pFirstRow = band + done * rowBytes;
            params.wWidth = params.wWidth2 = static_cast<WORD>(page.width);
            params.dwRows = rows - done;
            params.wRows = static_cast<WORD>(params.dwRows);
            for (int i = 0; i < 3; ++i) {
                params.apWorkRow[i] = workRows.data() + i * workBytes;
            }
            params.bOption = COMPRESS_OPT_DEFAULT;
            params.bReserved90 = 1;
            params.dwStripeRows = params.dwRows;
            params.pOutputAgain = output.data();
            if (compress(&params) != COMPRESS_OK || params.dwRowsEncoded == 0) {
                total += (rows - done) * rowBytes;  // the rest of the band goes out raw
                break;
            }
            total += params.qwBytesWritten;
            done += params.dwRowsEncoded;
        }
    }
    return total;
}

double ProcessCpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    std::string libPath = ORV_COMPRESS_LIB_PATH;
    int repeat = 5;
    std::string keepDir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--lib" && i + 1 < argc) {
            libPath = argv[++i];
        } else if (arg == "--repeat" && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--keep" && i + 1 < argc) {
            keepDir = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--lib PATH] [--repeat N] [--keep DIR]\n", argv[0]);
            return 2;
        }
    }

    void* handle = dlopen(libPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto compress = handle != nullptr ? reinterpret_cast<PFNCOMPRESS>(dlsym(handle, "COMPRESS")) : nullptr;
    if (compress == nullptr) {
        std::fprintf(stderr, "cannot bind COMPRESS from %s: %s\n", libPath.c_str(), dlerror());
        return 1;
    }

    std::string dir = keepDir;
    if (dir.empty()) {
        char pattern[] = "/tmp/orv-compress-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            return 1;
        }
        dir = pattern;
    } else {
        mkdir(dir.c_str(), 0755);
    }

    const PageCase cases[] = {
        {"text 11pt", 600, 11, false},
        {"text 8pt", 600, 8, false},
        {"text 11pt", 1200, 11, false},
        {"text+grey", 600, 11, true},
    };
    const unsigned kBandRows = 512;

    std::printf("%-10s %5s %11s  %10s %10s %6s  %9s %9s %9s %9s %6s %6s\n", "page", "dpi", "size", "lib bytes",
                "ref bytes", "ratio", "lib ms", "lib cpu", "ref ms", "ref cpu", "wall", "cpu");
    int pageNo = 0;
    for (const PageCase& pc : cases) {
        ++pageNo;
        const std::string base = dir + "/page" + std::to_string(pageNo);
        std::ofstream(base + ".ps") << TextPagePostScript(pc.pointSize, pc.withGreyImage);
        const std::vector<std::string> gs = {"gs",         "-q",
                                             "-dSAFER",    "-dBATCH",
                                             "-dNOPAUSE",  "-sDEVICE=pbmraw",
                                             "-r" + std::to_string(pc.dpi), "-sPAPERSIZE=a4",
                                             "-dFIXEDMEDIA", "-sOutputFile=" + base + ".pbm",
                                             base + ".ps"};
        Bitmap page;
        if (RunProgram(gs, nullptr) != 0 || !ReadPbm(base + ".pbm", page)) {
            std::fprintf(stderr, "cannot render %s.ps with Ghostscript\n", base.c_str());
            return 1;
        }

        std::vector<BYTE> output(page.RowBytes() * kBandRows);
        std::vector<BYTE> workRows(3 * std::max(page.RowBytes(), kCompressMinWorkRowBytes));
        std::vector<double> libTimes, libCpu, refTimes, refCpu;
        size_t libBytes = 0, refBytes = 0;
        for (int r = 0; r < repeat; ++r) {
            // Alternate the two so that both see the same machine load.
            const double cpu0 = ProcessCpuMs();
            auto t0 = std::chrono::steady_clock::now();
            libBytes = CompressPage(compress, page, kBandRows, output, workRows);
            auto t1 = std::chrono::steady_clock::now();
            libCpu.push_back(ProcessCpuMs() - cpu0);
            libTimes.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());

            double cpu = 0;
            t0 = std::chrono::steady_clock::now();
            if (RunProgram({"pbmtojbg", "-q", base + ".pbm", base + ".jbg"}, &cpu) != 0) {
                std::fprintf(stderr, "pbmtojbg -q failed on %s.pbm\n", base.c_str());
                return 1;
            }
            t1 = std::chrono::steady_clock::now();
            refTimes.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
            refCpu.push_back(cpu * 1000.0);
            refBytes = FileSize(base + ".jbg");
        }
        const double libMs = Median(libTimes), libCpuMs = Median(libCpu);
        const double refMs = Median(refTimes), refCpuMs = Median(refCpu);
        char size[32];
        std::snprintf(size, sizeof(size), "%ux%u", page.width, page.height);
        std::printf("%-10s %5d %11s  %10zu %10zu %6.3f  %9.2f %9.2f %9.2f %9.2f %6.3f %6.3f\n", pc.name, pc.dpi,
                    size, libBytes, refBytes, refBytes ? double(libBytes) / double(refBytes) : 0.0, libMs, libCpuMs,
                    refMs, refCpuMs, refMs > 0 ? libMs / refMs : 0.0, refCpuMs > 0 ? libCpuMs / refCpuMs : 0.0);
    }
    std::printf("ratio = lib bytes / ref bytes; wall = lib ms / ref ms; cpu = lib cpu / ref cpu "
                "(medians of %d runs; bands of %u rows)\n",
                repeat, kBandRows);
    if (keepDir.empty()) {
        std::string cmd = "rm -rf '" + dir + "'";
        if (std::system(cmd.c_str()) != 0) {
            std::fprintf(stderr, "could not remove %s\n", dir.c_str());
        }
    }
    dlclose(handle);
    return 0;
}

// The filter's speed beside two floors measured in the same run, for the same pages:
//
//   rendering floor:   Ghostscript rendering the document to ppmraw into a pipe;
//   compression floor: JBIG-KIT's pbmtojbg -q compressing the pages' printer planes (Ghostscript's
//                      own halftoned pbmraw for monochrome, its bitcmyk split into four planes for
//                      colour), each plane a file as the tool takes it;
//   the filter:        gdi-filter run as CUPS runs it, against a private scheduler that holds the
//                      queue's PPD, wall and CPU time per page and peak memory, split between the
//                      encoding parent and the Ghostscript child to show where the time goes.
//
// With rendering in the child and screening and compression in the parent, a page should cost
// about the larger floor, not their sum. Targets: at most 1.2 times the larger floor and below
// the sum; peak memory of A4 colour at 600 dpi under 64 MB. Exit status 1 when a measured target
// is missed, 0 otherwise (also when the filter cannot be measured yet, which is said).
//
//   orv-filter-benchmark [--dpi 600|1200] [--mode mono|colour] [--doc text|colour]
#include <fcntl.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/stream-decoder/lib/StreamDecoder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Cost {
    double wall = 0.0;   // seconds
    double cpu = 0.0;    // seconds, user + system, of the process and every descendant
    long maxRssKb = 0;   // the largest resident set of any of them
    int status = -1;
};

double Seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Runs a program with its standard output going to outPath ("" drains it here, as a pipe reader
// would) and waits for it and everything it started (the benchmark is a child subreaper, so a
// grandchild that its parent does not wait for still ends up counted here).
Cost RunTimed(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
              const std::string& outPath, Cost* parentOnly = nullptr)
{
    Cost cost;
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        env.emplace_back(*e);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (std::string& s : env) {
        envp.push_back(s.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args(argv);
    std::vector<char*> argp;
    for (std::string& s : args) {
        argp.push_back(s.data());
    }
    argp.push_back(nullptr);

    int fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (outPath.empty()) {
        if (pipe(fds) != 0) {
            return cost;
        }
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    rusage before {};
    getrusage(RUSAGE_CHILDREN, &before);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (fds[1] >= 0) {
        close(fds[1]);
    }
    if (spawned != 0) {
        if (fds[0] >= 0) {
            close(fds[0]);
        }
        return cost;
    }
    if (fds[0] >= 0) {
        static char sink[1 << 16];
        while (read(fds[0], sink, sizeof sink) > 0) {
        }
        close(fds[0]);
    }
    int status = 0;
    rusage own {};
    while (wait4(pid, &status, 0, &own) < 0 && errno == EINTR) {
    }
    cost.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cost.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (parentOnly != nullptr) {
        parentOnly->cpu = Seconds(own.ru_utime) + Seconds(own.ru_stime);
        parentOnly->maxRssKb = own.ru_maxrss;
        parentOnly->wall = cost.wall;
    }
    // Descendants left behind by the program.
    while (waitpid(-1, &status, 0) > 0 || errno == EINTR) {
    }
    rusage after {};
    getrusage(RUSAGE_CHILDREN, &after);
    cost.cpu = Seconds(after.ru_utime) - Seconds(before.ru_utime) + Seconds(after.ru_stime) - Seconds(before.ru_stime);
    cost.maxRssKb = after.ru_maxrss;
    return cost;
}

bool Quiet(const std::vector<std::string>& argv)
{
    return RunTimed(argv, {}, "/dev/null").status == 0;
}

// The printer planes of every page, as PBM files, and how many pages there are.
size_t MakePlanes(const std::string& document, int dpi, bool colour, const fs::path& dir)
{
    const std::string r = "-r" + std::to_string(dpi);
    if (!Quiet({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pbmraw", r,
                "-sOutputFile=" + (dir / "mono-%03d.pbm").string(), document})) {
        return 0;
    }
    size_t pages = 0;
    for (;; ++pages) {
        char name[32];
        std::snprintf(name, sizeof name, "mono-%03zu.pbm", pages + 1);
        if (!fs::exists(dir / name)) {
            break;
        }
    }
    if (!colour || pages == 0) {
        return pages;
    }
    if (!Quiet({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=bitcmyk", r,
                "-sOutputFile=" + (dir / "cmyk-%03d.raw").string(), document})) {
        return 0;
    }
    for (size_t page = 1; page <= pages; ++page) {
        char name[32];
        std::snprintf(name, sizeof name, "%03zu", page);
        const std::string pbm = ReadAll((dir / (std::string("mono-") + name + ".pbm")).string());
        unsigned width = 0;
        unsigned height = 0;
        if (std::sscanf(pbm.c_str(), "P4 %u %u", &width, &height) != 2 &&
            std::sscanf(pbm.c_str(), "P4\n#%*[^\n]\n%u %u", &width, &height) != 2) {
            return 0;
        }
        const std::string raw = ReadAll((dir / (std::string("cmyk-") + name + ".raw")).string());
        const size_t rawRow = (size_t(width) * 4 + 7) / 8;
        const size_t pbmRow = (size_t(width) + 7) / 8;
        if (raw.size() < rawRow * height) {
            return 0;
        }
        // Four bits a pixel, C M Y K from the high bit down.
        for (int plane = 0; plane < 4; ++plane) {
            std::vector<uint8_t> bits(pbmRow * height, 0);
            for (unsigned y = 0; y < height; ++y) {
                for (unsigned x = 0; x < width; ++x) {
                    const uint8_t byte = uint8_t(raw[y * rawRow + x / 2]);
                    const uint8_t nibble = (x % 2 == 0) ? byte >> 4 : byte & 0x0F;
                    if (nibble & (0x8 >> plane)) {
                        bits[y * pbmRow + x / 8] |= uint8_t(0x80 >> (x % 8));
                    }
                }
            }
            std::ofstream out(dir / (std::string("plane") + char('0' + plane) + "-" + name + ".pbm"), std::ios::binary);
            out << "P4\n" << width << " " << height << "\n";
            out.write(reinterpret_cast<const char*>(bits.data()), std::streamsize(bits.size()));
        }
    }
    return pages;
}

Cost CompressionFloor(const fs::path& dir, bool colour)
{
    Cost total;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        const bool plane = colour ? name.rfind("plane", 0) == 0 : name.rfind("mono-", 0) == 0;
        if (!plane || entry.path().extension() != ".pbm") {
            continue;
        }
        const Cost one = RunTimed({"pbmtojbg", "-q", entry.path().string(), (dir / "out.jbg").string()}, {}, "/dev/null");
        total.wall += one.wall;
        total.cpu += one.cpu;
        total.maxRssKb = std::max(total.maxRssKb, one.maxRssKb);
        total.status = one.status;
    }
    return total;
}

struct Scheduler {
    fs::path dir;
    std::string socket;
    std::string root;
    bool running = false;
    std::string reason;

    ~Scheduler() { Stop(); }
    void Stop()
    {
        if (running) {
            Quiet({"bash", ORV_SOURCE_DIR "/scripts/private-cupsd.sh", "stop", (dir / "cupsd").string()});
            running = false;
        }
    }
};

bool StartScheduler(Scheduler& s)
{
#ifndef ORV_HAVE_GDI_FILTER
    s.reason = "the build has no gdi-filter program yet";
    return false;
#else
    chmod(s.dir.c_str(), 0755);
    s.root = (s.dir / "root").string();
    if (RunTimed({ORV_CMAKE_COMMAND, "--install", ORV_BUILD_DIR}, {"DESTDIR=" + s.root}, "/dev/null").status != 0) {
        s.reason = "cmake --install failed";
        return false;
    }
    const std::string cupsd = (s.dir / "cupsd").string();
    if (!Quiet({"bash", ORV_SOURCE_DIR "/scripts/private-cupsd.sh", "start", cupsd, s.root, ORV_CUPS_FILTER_DIR})) {
        s.reason = "the private scheduler did not start";
        return false;
    }
    s.running = true;
    s.socket = cupsd + "/cups.sock";
    if (RunTimed({"lpadmin", "-p", "bench", "-E", "-v", "file:///dev/null", "-P",
                  s.root + ORV_CUPS_PPD_DIR "/GC7350.ppd"},
                 {"CUPS_SERVER=" + s.socket}, "/dev/null")
            .status != 0) {
        s.reason = "lpadmin failed";
        return false;
    }
    return true;
#endif
}

struct Row {
    std::string doc;
    int dpi;
    bool colour;
};

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> dpis = {600, 1200};
    std::vector<bool> modes = {false, true};
    std::vector<std::string> docs = {"text", "colour"};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const std::string value = argv[i + 1];
        if (flag == "--dpi") {
            dpis = {std::atoi(value.c_str())};
        } else if (flag == "--mode") {
            modes = {value == "colour"};
        } else if (flag == "--doc") {
            docs = {value};
        } else {
            std::fprintf(stderr, "usage: %s [--dpi 600|1200] [--mode mono|colour] [--doc text|colour]\n", argv[0]);
            return 2;
        }
    }
    prctl(PR_SET_CHILD_SUBREAPER, 1);

    char scratchName[] = "/tmp/orvbench.XXXXXX";
    if (mkdtemp(scratchName) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    const fs::path scratch = scratchName;
    Scheduler scheduler;
    scheduler.dir = scratch;
    const bool filterReady = StartScheduler(scheduler);

    std::printf("%-7s %5s %-6s %5s | %10s %10s | %10s | %10s %10s %10s %8s | %s\n", "doc", "dpi", "mode", "pages",
                "render", "compress", "sum", "filter", "parent", "child", "parent MB", "verdict");
    std::printf("%-7s %5s %-6s %5s | %10s %10s | %10s | %10s %10s %10s %8s |\n", "", "", "", "", "wall ms/p",
                "cpu ms/p", "ms/p", "wall ms/p", "cpu ms/p", "cpu ms/p", "");
    bool missed = false;
    std::string filterNote = filterReady ? "" : scheduler.reason;
    for (const std::string& doc : docs) {
        const std::string document = doc == "text" ? ORV_BENCH_TEXT_DOC : ORV_BENCH_COLOUR_DOC;
        for (int dpi : dpis) {
            for (bool colour : modes) {
                const fs::path dir = scratch / (doc + std::to_string(dpi) + (colour ? "c" : "m"));
                fs::create_directories(dir);
                const size_t pages = MakePlanes(document, dpi, colour, dir);
                if (pages == 0) {
                    std::printf("%-7s %5d %-6s: cannot make the pages with Ghostscript\n", doc.c_str(), dpi,
                                colour ? "colour" : "mono");
                    missed = true;
                    continue;
                }
                const Cost render = RunTimed({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw",
                                              "-r" + std::to_string(dpi), "-sOutputFile=-", document},
                                             {}, "");
                const Cost compress = CompressionFloor(dir, colour);
                const double renderPage = render.wall / double(pages);
                const double compressPage = compress.cpu / double(pages);
                const double larger = std::max(renderPage, compressPage);
                const double sum = renderPage + compressPage;

                std::string filterCells = "        -          -          -        - ";
                std::string verdict = filterReady ? "" : "filter not measured";
                if (filterReady && filterNote.empty()) {
                    const std::string out = (dir / "stream.prn").string();
                    const std::string options = std::string("Resolution=") + std::to_string(dpi) + "dpi ColorMode=" +
                                                (colour ? "Color" : "Grayscale");
                    Cost parent;
                    const Cost filter = RunTimed({ORV_GDI_FILTER_PATH, "1", "bench", "benchmark", "1", options, document},
                                                 {"PRINTER=bench", "CUPS_SERVER=" + scheduler.socket,
                                                  "ORVALEN_TEST_ROOT=" + scheduler.root,
                                                  "CONTENT_TYPE=application/postscript"},
                                                 out, &parent);
                    const std::string stream = ReadAll(out);
                    const orvdecode::DecodedStream decoded =
                        orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
                    if (filter.status != 0 || !decoded.ok() || decoded.pages.size() != pages) {
                        char why[200];
                        std::snprintf(why, sizeof why, "gdi-filter does not print these pages yet (exit %d, %zu of %zu pages%s)",
                                      filter.status, decoded.pages.size(), pages, decoded.ok() ? "" : ", stream malformed");
                        filterNote = why;
                        verdict = "filter not measured";
                    } else {
                        const double filterPage = filter.wall / double(pages);
                        const double peakMb = double(parent.maxRssKb) / 1024.0;
                        char cells[128];
                        std::snprintf(cells, sizeof cells, "%10.1f %10.1f %10.1f %8.1f", filterPage * 1e3,
                                      parent.cpu / double(pages) * 1e3, (filter.cpu - parent.cpu) / double(pages) * 1e3,
                                      peakMb);
                        filterCells = cells;
                        const bool fast = filterPage <= 1.2 * larger && filterPage < sum;
                        const bool small = !(doc == "colour" && colour && dpi == 600) || parent.maxRssKb < 64 * 1024;
                        verdict = std::string(fast ? "time ok" : "TIME MISSED") + (small ? "" : ", MEMORY MISSED");
                        if (!fast) {
                            verdict += parent.cpu > filter.cpu - parent.cpu ? " (the parent's screening and encoding)"
                                                                            : " (the child's rendering)";
                        }
                        missed = missed || !fast || !small;
                    }
                }
                std::printf("%-7s %5d %-6s %5zu | %10.1f %10.1f | %10.1f | %s | %s\n", doc.c_str(), dpi,
                            colour ? "colour" : "mono", pages, renderPage * 1e3, compressPage * 1e3, sum * 1e3,
                            filterCells.c_str(), verdict.c_str());
                std::fflush(stdout);
            }
        }
    }
    if (!filterNote.empty()) {
        std::printf("\nThe filter was not measured: %s.\n", filterNote.c_str());
    }
    std::printf("Floors: render = gs ppmraw into a pipe (wall); compress = pbmtojbg -q on the page's planes (cpu).\n"
                "Targets: filter wall per page <= 1.2 x the larger floor and < their sum; peak memory of the\n"
                "encoding process < 64 MB for A4 colour at 600 dpi.\n");
    scheduler.Stop();
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return missed ? 1 : 0;
}

// The filter's speed and output size beside floors measured in the same run, for the same pages,
// with each resolution choice of the queue:
//
//   rendering floor:   Ghostscript rendering the document to ppmraw into a pipe, at the resolution
//                      the filter's Ghostscript renders the choice at;
//   compression floor: JBIG-KIT's pbmtojbg -q compressing the planes the filter sent, read back
//                      from its stream, each plane a file as the tool takes it (Ghostscript's own
//                      planes when the filter does not print);
//   the filter:        gdi-filter run as the scheduler runs it (the queue's PPD as a private
//                      scheduler installed it, the environment a filter gets), its wall time per
//                      page, the processor time of its encoding parent and of its Ghostscript child,
//                      and the parent's own peak memory;
//   its size:          the data of every JBIG raster block it sent beside pbmtojbg -q on the same
//                      rows of the same plane, one image a block.
//
// With rendering in the child and screening and compression in the parent, a page should cost
// about the larger floor, not their sum. Targets: below the sum, and at most a share of the larger
// floor that follows the processors the run may use, counted as the filter counts them
// (UsableCpus): with 8 or more, 0.8 times the larger floor; with fewer, 1.0 times for monochrome
// text and 1.1 times for the rest (colour, image pages). Every page's JBIG bytes at most 1.03 times
// pbmtojbg -q's; peak memory of A4 colour at 600 dpi under 64 MB. Under each row, the filter's own stage times (its debug log) show where the
// time goes, and a page above the size target its planes' ratios. Exit status 1 when a measured
// target is missed, 0 otherwise (also when the filter cannot be measured yet, which is said).
//
// Every program the benchmark starts runs in a process group of its own and is waited for with a
// deadline: past it, or when the benchmark is interrupted, the group is killed. The benchmark is
// the reaper of whatever its programs leave behind (the scheduler, above all), and stops the
// scheduler on every way out.
//
//   orv-filter-benchmark [--resolution 600dpi|1200dpi|1200x600dpi] [--mode mono|colour]
//                        [--doc text|colour] [--repeat N] [--timeout SECONDS] [--keep DIR]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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

#include "filter/render/encode/RasterBlockLayout.h"
#include "filter/render/workers/UsableCpus.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

volatile sig_atomic_t g_interrupted = 0;

void OnSignal(int)
{
    g_interrupted = 1;
}

double g_timeoutSeconds = 900.0;

struct Cost {
    double wall = 0.0;      // seconds
    double cpu = 0.0;       // seconds, user + system, of the program and the children it waited for
    double ownCpu = 0.0;    // seconds, of the program's own process (all its threads)
    double childCpu = 0.0;  // seconds, of the children it waited for
    long peakKb = 0;        // the program's own resident high-water mark (VmHWM)
    int status = -1;        // exit status; -1 when killed or not started
    bool timedOut = false;
};

struct Launch {
    std::vector<std::string> argv;
    std::vector<std::string> env;  // the whole environment; empty: the benchmark's own
    std::string stdoutPath;        // "": a pipe drained here, as a pipe reader would
    std::string stderrPath;        // "": /dev/null
    bool keepGroup = false;        // what the program leaves in its group may stay (the scheduler)
};

double Seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The resident high-water mark of a running process, 0 when it cannot be read.
long ReadHighWaterKb(pid_t pid)
{
    const std::string status = ReadAll("/proc/" + std::to_string(pid) + "/status");
    const size_t at = status.find("VmHWM:");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + 6);
}

// The processor times of an ended, not yet reaped process: its own, and those of the children it
// waited for. False when /proc does not have them.
bool ReadZombieTimes(pid_t pid, double* own, double* children)
{
    const std::string stat = ReadAll("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');  // the command name may hold spaces and parentheses
    if (close == std::string::npos) {
        return false;
    }
    std::istringstream fields(stat.substr(close + 2));
    std::vector<std::string> f;
    for (std::string field; fields >> field && f.size() < 15;) {
        f.push_back(field);
    }
    if (f.size() < 15) {
        return false;
    }
    // From the state (field 3): utime, stime, cutime, cstime are fields 14 to 17.
    const double tick = double(sysconf(_SC_CLK_TCK));
    *own = (std::atof(f[11].c_str()) + std::atof(f[12].c_str())) / tick;
    *children = (std::atof(f[13].c_str()) + std::atof(f[14].c_str())) / tick;
    return true;
}

// Reaps every ended process that is not `keep`: what the programs left to the benchmark.
void ReapOrphans(pid_t keep)
{
    for (;;) {
        siginfo_t info {};
        if (waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == 0 || info.si_pid == keep) {
            return;
        }
        waitpid(info.si_pid, nullptr, 0);
    }
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Runs a program to its end (or to the deadline, or to an interruption, which kill its group) and
// measures it. The program's stdin is /dev/null.
Cost Run(const Launch& launch)
{
    Cost cost;
    if (g_interrupted) {
        return cost;
    }
    std::vector<std::string> env = launch.env;
    if (env.empty()) {
        for (char** e = environ; *e != nullptr; ++e) {
            env.emplace_back(*e);
        }
    }
    std::vector<char*> envp = Pointers(env);
    std::vector<std::string> args(launch.argv);
    std::vector<char*> argp = Pointers(args);

    int fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const std::string errPath = launch.stderrPath.empty() ? "/dev/null" : launch.stderrPath;
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (launch.stdoutPath.empty()) {
        if (pipe2(fds, O_CLOEXEC) != 0) {
            posix_spawn_file_actions_destroy(&actions);
            return cost;
        }
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, launch.stdoutPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    // A group of its own, so that everything it starts can be ended at once; the signals the
    // benchmark catches are back to their defaults in it.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGHUP);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);

    const Clock::time_point start = Clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argp[0], &actions, &attr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
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
        fcntl(fds[0], F_SETFL, O_NONBLOCK);
    }
    const Clock::time_point deadline =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(g_timeoutSeconds));
    static char sink[1 << 16];
    bool killed = false;
    Clock::time_point lastSample = start;
    for (;;) {
        // Drains the pipe for up to 2 ms, or sleeps as long.
        if (fds[0] >= 0) {
            pollfd p {fds[0], POLLIN, 0};
            if (poll(&p, 1, 2) > 0) {
                for (int chunk = 0; chunk < 64 && fds[0] >= 0; ++chunk) {
                    const ssize_t n = read(fds[0], sink, sizeof sink);
                    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
                        close(fds[0]);  // the end: every writer closed it
                        fds[0] = -1;
                    }
                    if (n <= 0) {
                        break;
                    }
                }
            }
        } else {
            poll(nullptr, 0, 2);
        }
        siginfo_t info {};
        if (waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid) {
            break;  // ended, still to be reaped
        }
        const Clock::time_point now = Clock::now();
        if (now - lastSample >= std::chrono::milliseconds(10)) {
            // The high-water mark only grows: the last reading is the peak, short of the last
            // 10 ms, in which a process ends rather than grows.
            cost.peakKb = std::max(cost.peakKb, ReadHighWaterKb(pid));
            lastSample = now;
        }
        ReapOrphans(pid);
        if (!killed && (g_interrupted || now > deadline)) {
            cost.timedOut = !g_interrupted;
            kill(-pid, SIGKILL);
            killed = true;
        }
    }
    cost.wall = std::chrono::duration<double>(Clock::now() - start).count();
    ReadZombieTimes(pid, &cost.ownCpu, &cost.childCpu);
    int status = 0;
    rusage all {};
    while (wait4(pid, &status, 0, &all) < 0 && errno == EINTR) {
    }
    cost.cpu = Seconds(all.ru_utime) + Seconds(all.ru_stime);
    cost.status = !killed && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!launch.keepGroup) {
        kill(-pid, SIGKILL);  // nothing it started outlives it
    }
    if (fds[0] >= 0) {
        // What is left in the pipe; a writer left behind does not hold the benchmark.
        while (read(fds[0], sink, sizeof sink) > 0) {
        }
        close(fds[0]);
    }
    ReapOrphans(0);
    return cost;
}

Cost RunQuiet(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv = {},
              bool keepGroup = false)
{
    Launch launch;
    launch.argv = argv;
    if (!extraEnv.empty()) {
        for (char** e = environ; *e != nullptr; ++e) {
            launch.env.emplace_back(*e);
        }
        launch.env.insert(launch.env.end(), extraEnv.begin(), extraEnv.end());
    }
    launch.stdoutPath = "/dev/null";
    launch.keepGroup = keepGroup;
    return Run(launch);
}

bool Quiet(const std::vector<std::string>& argv)
{
    return RunQuiet(argv).status == 0;
}

// The pages of a document: Ghostscript renders it at a few dots per inch and the files are counted.
size_t CountPages(const std::string& document, const fs::path& dir)
{
    if (!Quiet({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pbmraw", "-r10",
                "-sOutputFile=" + (dir / "count-%03d.pbm").string(), document})) {
        return 0;
    }
    size_t pages = 0;
    for (;; ++pages) {
        char name[32];
        std::snprintf(name, sizeof name, "count-%03zu.pbm", pages + 1);
        if (!fs::exists(dir / name)) {
            break;
        }
        fs::remove(dir / name);
    }
    return pages;
}

bool WritePbm(const fs::path& path, unsigned width, unsigned rows, const uint8_t* bits)
{
    std::ofstream out(path, std::ios::binary);
    out << "P4\n" << width << " " << rows << "\n";
    out.write(reinterpret_cast<const char*>(bits), std::streamsize(size_t(rows) * ((width + 7) / 8)));
    return static_cast<bool>(out);
}

// Ghostscript's own printer planes of every page at `dpi`, as PBM files (its halftoned pbmraw for
// monochrome, its bitcmyk split into four planes for colour): the compression floor's pages when
// the filter does not print, so that the floor is still measured. Empty when Ghostscript fails.
std::vector<fs::path> GhostscriptPlanes(const std::string& document, int dpi, bool colour, size_t pages,
                                        const fs::path& dir)
{
    const std::string r = "-r" + std::to_string(dpi);
    std::vector<fs::path> files;
    if (!Quiet({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pbmraw", r,
                "-sOutputFile=" + (dir / "gs-%03d.pbm").string(), document})) {
        return {};
    }
    for (size_t page = 1; page <= pages; ++page) {
        char name[32];
        std::snprintf(name, sizeof name, "gs-%03zu.pbm", page);
        files.push_back(dir / name);
    }
    if (!colour) {
        return files;
    }
    if (!Quiet({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=bitcmyk", r,
                "-sOutputFile=" + (dir / "cmyk-%03d.raw").string(), document})) {
        return {};
    }
    const std::vector<fs::path> mono = std::move(files);
    files.clear();
    for (size_t page = 1; page <= pages; ++page) {
        char name[32];
        std::snprintf(name, sizeof name, "%03zu", page);
        // The page's size in dots, from Ghostscript's monochrome rendering of it.
        const std::string pbm = ReadAll(mono[page - 1].string());
        unsigned width = 0;
        unsigned height = 0;
        if (std::sscanf(pbm.c_str(), "P4 %u %u", &width, &height) != 2 &&
            std::sscanf(pbm.c_str(), "P4\n#%*[^\n]\n%u %u", &width, &height) != 2) {
            return {};
        }
        fs::remove(mono[page - 1]);
        const std::string raw = ReadAll((dir / (std::string("cmyk-") + name + ".raw")).string());
        const size_t rawRow = (size_t(width) * 4 + 7) / 8;
        const size_t pbmRow = (size_t(width) + 7) / 8;
        if (raw.size() < rawRow * height) {
            return {};
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
            files.push_back(dir / (std::string("gs-plane") + char('0' + plane) + "-" + name + ".pbm"));
            WritePbm(files.back(), width, height, bits.data());
        }
        fs::remove(dir / (std::string("cmyk-") + name + ".raw"));
    }
    return files;
}

// What the filter sent, read back from its stream: each page's raster and resolution, the band
// and JBIG geometry of its blocks, and its JBIG bytes beside pbmtojbg -q's on the same rows.
struct SentPage {
    unsigned width = 0, height = 0;
    long xDpi = 0, yDpi = 0;
    unsigned bandRows = 0;                  // rows of the tallest block
    unsigned long stripeRows = 0, mx = 0;   // from the first JBIG block's header (L0, MX)
    unsigned jbigOptions = 0;               // its options byte
    size_t jbigBytes = 0, rawBytes = 0;     // data of the JBIG blocks, of the uncompressed ones
    size_t refBytes = 0;                    // pbmtojbg -q on the rows of every JBIG block
    std::array<size_t, 4> planeJbig {}, planeRef {};
};

uint32_t BigEndian32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Writes every plane of every page the filter sent as a PBM file (the compression floor's input)
// and compares the sizes block by block. Empty when pbmtojbg fails.
std::vector<SentPage> ReadSentPages(const std::string& stream, const orvdecode::DecodedStream& decoded,
                                    const fs::path& dir, std::vector<fs::path>* planeFiles)
{
    std::vector<SentPage> sent(decoded.pages.size());
    for (size_t i = 0; i < decoded.pages.size(); ++i) {
        const orvdecode::DecodedPage& page = decoded.pages[i];
        sent[i].width = page.width;
        sent[i].height = page.height;
        for (size_t plane = 0; plane < page.planes.size(); ++plane) {
            if (page.planes[plane]) {
                char name[48];
                std::snprintf(name, sizeof name, "sent-%03zu-%s.pbm", page.number, orvdecode::PlaneName(uint16_t(plane)));
                planeFiles->push_back(dir / name);
                WritePbm(planeFiles->back(), page.width, page.height, page.planes[plane]->data());
            }
        }
    }
    long xDpi = 0, yDpi = 0;
    const fs::path band = dir / "band.pbm";
    const fs::path bandJbig = dir / "band.jbg";
    for (const orvdecode::StreamEvent& e : decoded.events) {
        if (e.kind == orvdecode::EventKind::Command) {
            xDpi = e.name == "horizontal resolution" ? e.value : xDpi;
            yDpi = e.name == "vertical resolution" ? e.value : yDpi;
            continue;
        }
        if (e.kind != orvdecode::EventKind::RasterBlock || e.block.page == 0 || e.block.page > sent.size() ||
            e.block.plane >= 4) {
            continue;
        }
        const orvdecode::DecodedPage& page = decoded.pages[e.block.page - 1];
        SentPage& s = sent[e.block.page - 1];
        s.xDpi = xDpi;
        s.yDpi = yDpi;
        s.bandRows = std::max<unsigned>(s.bandRows, e.block.rows);
        if (e.block.compression != RASTER_COMPRESSION_JBIG) {
            s.rawBytes += e.block.dataLength;
            continue;
        }
        s.jbigBytes += e.block.dataLength;
        s.planeJbig[e.block.plane] += e.block.dataLength;
        // The block's data follows its command and header: a JBIG header (BIH) of 20 bytes.
        const size_t data = e.offset + kRasterBlockCommandLength + kRasterBlockHeaderSize;
        if (s.stripeRows == 0 && data + 20 <= stream.size()) {
            const uint8_t* bih = reinterpret_cast<const uint8_t*>(stream.data()) + data;
            s.stripeRows = BigEndian32(bih + 12);
            s.mx = bih[16];
            s.jbigOptions = bih[19];
        }
        // The same rows of the same plane, as one image for pbmtojbg -q.
        const uint8_t* rows = page.planes[e.block.plane]->data() + size_t(e.block.firstRow) * page.RowBytes();
        if (!WritePbm(band, page.width, e.block.rows, rows) ||
            !Quiet({"pbmtojbg", "-q", band.string(), bandJbig.string()})) {
            return {};
        }
        const size_t ref = size_t(fs::file_size(bandJbig));
        s.refBytes += ref;
        s.planeRef[e.block.plane] += ref;
    }
    fs::remove(band);
    fs::remove(bandJbig);
    return sent;
}

// pbmtojbg's processor time over the plane files, each plane's best of `repeat` runs.
Cost CompressionFloor(const std::vector<fs::path>& planes, const fs::path& dir, int repeat)
{
    Cost total;
    total.status = 0;
    for (const fs::path& plane : planes) {
        Cost best;
        for (int i = 0; i < repeat; ++i) {
            const Cost one = RunQuiet({"pbmtojbg", "-q", plane.string(), (dir / "out.jbg").string()});
            if (one.status != 0) {
                total.status = one.status;
                return total;
            }
            if (i == 0 || one.cpu < best.cpu) {
                best = one;
            }
        }
        total.wall += best.wall;
        total.cpu += best.cpu;
    }
    return total;
}

// A private scheduler that holds the benchmark's queue: the PPD the filter is given is the one it
// installed, as the scheduler gives it to a queue's filters.
struct Scheduler {
    fs::path dir;
    std::string socket;
    std::string root;
    std::string ppd;
    bool running = false;
    pid_t cupsdPid = -1;
    std::string reason;

    ~Scheduler() { Stop(); }
    void Stop()
    {
        if (!running) {
            return;
        }
        running = false;
        const sig_atomic_t interrupted = g_interrupted;
        g_interrupted = 0;  // the stop itself must run
        const std::string cupsd = (dir / "cupsd").string();
        RunQuiet({"bash", ORV_SOURCE_DIR "/scripts/private-cupsd.sh", "stop", cupsd});
        g_interrupted = interrupted;
        // Whatever the script could not end: the scheduler is the benchmark's child, and goes.
        if (cupsdPid > 0 && kill(cupsdPid, 0) == 0) {
            kill(cupsdPid, SIGKILL);
            waitpid(cupsdPid, nullptr, 0);
        }
        ReapOrphans(0);
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
    if (RunQuiet({ORV_CMAKE_COMMAND, "--install", ORV_BUILD_DIR}, {"DESTDIR=" + s.root}).status != 0) {
        s.reason = "cmake --install failed";
        return false;
    }
    const std::string cupsd = (s.dir / "cupsd").string();
    // The script leaves the scheduler running in its group.
    s.running = true;
    const bool started =
        RunQuiet({"bash", ORV_SOURCE_DIR "/scripts/private-cupsd.sh", "start", cupsd, s.root, ORV_CUPS_FILTER_DIR},
                 {}, true)
            .status == 0;
    s.cupsdPid = std::atoi(ReadAll(cupsd + "/cupsd.pid").c_str());
    if (!started) {
        s.reason = "the private scheduler did not start";
        return false;
    }
    s.socket = cupsd + "/cups.sock";
    if (RunQuiet({"lpadmin", "-p", "bench", "-E", "-v", "file:///dev/null", "-P",
                  s.root + ORV_CUPS_PPD_DIR "/GC7350.ppd"},
                 {"CUPS_SERVER=" + s.socket})
            .status != 0) {
        s.reason = "lpadmin failed";
        return false;
    }
    s.ppd = cupsd + "/etc/ppd/bench.ppd";
    if (!fs::exists(s.ppd)) {
        s.reason = "the scheduler did not install the queue's PPD";
        return false;
    }
    return true;
#endif
}

// The environment the scheduler gives a filter of the queue (not the benchmark's own).
std::vector<std::string> FilterEnvironment(const Scheduler& s)
{
    const char* path = std::getenv("PATH");
    const std::string cupsd = (s.dir / "cupsd").string();
    return {"PATH=" + std::string(path != nullptr ? path : "/usr/bin:/bin"),
            "HOME=" + cupsd + "/spool/tmp",
            "TMPDIR=" + cupsd + "/spool/tmp",
            "LANG=C",
            "CHARSET=utf-8",
            "USER=root",
            "SOFTWARE=CUPS/2",
            "CONTENT_TYPE=application/postscript",
            "FINAL_CONTENT_TYPE=application/vnd.cups-postscript",
            "CUPS_FILETYPE=document",
            "CUPS_SERVER=" + s.socket,
            "CUPS_SERVERROOT=" + cupsd + "/etc",
            "CUPS_SERVERBIN=" + cupsd + "/bin",
            "CUPS_CACHEDIR=" + cupsd + "/cache",
            "CUPS_STATEDIR=" + cupsd + "/state",
            "CUPS_REQUESTROOT=" + cupsd + "/spool",
            "DEVICE_URI=file:///dev/null",
            "PRINTER=bench",
            "PPD=" + s.ppd,
            "ORVALEN_TEST_ROOT=" + s.root};
}

// The filter's stage line from its log, as milliseconds per stage; false when it has none.
struct Stages {
    double read = 0, screen = 0, screenWait = 0, encode = 0, output = 0, cpu = 0, childCpu = 0;
    long peakKb = 0;
};

bool ParseStages(const std::string& log, Stages* stages)
{
    const size_t at = log.rfind("Stage times (ms): ");
    if (at == std::string::npos) {
        return false;
    }
    unsigned pages = 0;
    Stages& s = *stages;
    return std::sscanf(log.c_str() + at,
                       "Stage times (ms): pages=%u read=%lf screen=%lf screen-wait=%lf encode=%lf output=%lf "
                       "cpu=%lf child-cpu=%lf peak-kb=%ld",
                       &pages, &s.read, &s.screen, &s.screenWait, &s.encode, &s.output, &s.cpu, &s.childCpu,
                       &s.peakKb) == 9;
}

// A resolution choice of the queue's PPD and the resolution the filter's Ghostscript renders it at:
// "1200dpi" is rendered at 1200 dpi and sent as rendered; "1200x600dpi" is rendered at 600 dpi and
// sent with twice the dots across (the screening draws two dots for each rendered one).
struct ResolutionChoice {
    const char* choice;
    int renderDpi;
};
const ResolutionChoice kResolutions[] = {{"600dpi", 600}, {"1200dpi", 1200}, {"1200x600dpi", 600}};

// The filter's time per page / the larger floor: with many processors the encoding's work spreads
// over them and a page costs less than either floor alone; with few, every page costs at least
// what the larger floor costs, text compressing faster than images and colour screening more.
constexpr unsigned kManyCpus = 8;
constexpr double kTimeTargetManyCpus = 0.8;
constexpr double kTimeTargetMonoText = 1.0;
constexpr double kTimeTargetOther = 1.1;
double TimeTarget(unsigned usableCpus, const std::string& doc, bool colour)
{
    if (usableCpus >= kManyCpus) {
        return kTimeTargetManyCpus;
    }
    return doc == "text" && !colour ? kTimeTargetMonoText : kTimeTargetOther;
}
constexpr double kSizeTarget = 1.03;  // the filter's JBIG bytes / pbmtojbg -q's on the same rows
constexpr int kMemoryTargetMb = 64;

struct FilterRun {
    Cost cost;
    Stages stages;
    bool hasStages = false;
    std::string failure;  // empty when it printed every page
};

// Runs the filter over the document with a resolution choice of the queue. When `sent` is given,
// also reads back what it sent (see ReadSentPages).
FilterRun RunFilter(const Scheduler& s, const std::string& document, const std::string& resolution, bool colour,
                    size_t pages, const fs::path& dir, std::vector<SentPage>* sent = nullptr,
                    std::vector<fs::path>* planeFiles = nullptr)
{
    FilterRun run;
    Launch launch;
    const std::string options =
        "Resolution=" + resolution + " ColorMode=" + (colour ? "Color" : "Grayscale");
    launch.argv = {ORV_GDI_FILTER_PATH, "1", "bench", "benchmark", "1", options, document};
    launch.env = FilterEnvironment(s);
    launch.stdoutPath = (dir / "stream.prn").string();
    launch.stderrPath = (dir / "filter.log").string();
    run.cost = Run(launch);
    const std::string stream = ReadAll(launch.stdoutPath);
    const orvdecode::DecodedStream decoded =
        orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
    if (run.cost.status != 0 || !decoded.ok() || decoded.pages.size() != pages) {
        char why[240];
        std::snprintf(why, sizeof why, "gdi-filter does not print these pages (exit %d%s, %zu of %zu pages%s; see %s)",
                      run.cost.status, run.cost.timedOut ? ", killed at the deadline" : "", decoded.pages.size(),
                      pages, decoded.ok() ? "" : ", stream malformed", launch.stderrPath.c_str());
        run.failure = why;
        return run;
    }
    run.hasStages = ParseStages(ReadAll(launch.stderrPath), &run.stages);
    if (sent != nullptr) {
        *sent = ReadSentPages(stream, decoded, dir, planeFiles);
        if (sent->size() != pages) {
            run.failure = "pbmtojbg -q failed on the filter's bands";
        }
    }
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<ResolutionChoice> resolutions(std::begin(kResolutions), std::end(kResolutions));
    std::vector<bool> modes = {false, true};
    std::vector<std::string> docs = {"text", "colour"};
    int repeat = 3;
    std::string keepDir;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const std::string value = argv[i + 1];
        if (flag == "--resolution") {
            resolutions.clear();
            for (const ResolutionChoice& r : kResolutions) {
                if (value == r.choice) {
                    resolutions.push_back(r);
                }
            }
            if (resolutions.empty()) {
                std::fprintf(stderr, "%s: unknown resolution %s\n", argv[0], value.c_str());
                return 2;
            }
        } else if (flag == "--mode") {
            modes = {value == "colour"};
        } else if (flag == "--doc") {
            docs = {value};
        } else if (flag == "--repeat") {
            repeat = std::max(1, std::atoi(value.c_str()));
        } else if (flag == "--timeout") {
            g_timeoutSeconds = std::max(1.0, std::atof(value.c_str()));
        } else if (flag == "--keep") {
            keepDir = value;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--resolution 600dpi|1200dpi|1200x600dpi] [--mode mono|colour] "
                         "[--doc text|colour] [--repeat N] [--timeout SECONDS] [--keep DIR]\n",
                         argv[0]);
            return 2;
        }
    }
    if (argc % 2 == 0) {
        std::fprintf(stderr, "%s: %s needs a value\n", argv[0], argv[argc - 1]);
        return 2;
    }
    // Whatever a program leaves running (the scheduler) becomes the benchmark's, so that it can be
    // ended and reaped here rather than outlive the run.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    char scratchName[] = "/tmp/orvbench.XXXXXX";
    if (mkdtemp(scratchName) == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    const fs::path scratch = scratchName;
    Scheduler scheduler;
    scheduler.dir = scratch;
    const bool filterReady = StartScheduler(scheduler);

    const unsigned usableCpus = UsableCpus();
    std::printf("Targets, each a ratio to floors measured in the same run on the same pages:\n"
                "  time:   the filter's wall time per page < 1 x the sum of the floors, and with %u usable\n"
                "          processor(s) <= %s x the larger floor;\n"
                "  size:   the filter's JBIG bytes of every page <= %.2f x pbmtojbg -q's on the same rows (each\n"
                "          block the filter sent, of the planes it sent, one image a block);\n"
                "  memory: the encoding process's peak < %d MB for A4 colour at 600 dpi (not a ratio).\n\n",
                usableCpus,
                usableCpus >= kManyCpus ? "0.80" : "1.00 (monochrome text) or 1.10 (colour, image pages)",
                kSizeTarget, kMemoryTargetMb);
    std::printf("%-7s %-12s %-6s %5s | %10s %10s | %10s | %10s %10s %10s %9s\n", "doc", "resolution", "mode", "pages",
                "render", "compress", "sum", "filter", "parent", "child", "parent");
    std::printf("%-7s %-12s %-6s %5s | %10s %10s | %10s | %10s %10s %10s %9s\n", "", "", "", "", "wall ms/p",
                "cpu ms/p", "ms/p", "wall ms/p", "cpu ms/p", "cpu ms/p", "peak MB");
    bool missed = false;
    std::error_code ec;
    std::string filterNote = filterReady ? "" : scheduler.reason;
    for (const std::string& doc : docs) {
        const std::string document = doc == "text" ? ORV_BENCH_TEXT_DOC : ORV_BENCH_COLOUR_DOC;
        for (const ResolutionChoice& resolution : resolutions) {
            for (bool colour : modes) {
                if (g_interrupted) {
                    break;
                }
                const fs::path dir = scratch / (doc + "-" + resolution.choice + (colour ? "-colour" : "-mono"));
                fs::create_directories(dir);
                const char* mode = colour ? "colour" : "mono";
                const size_t pages = CountPages(document, dir);
                if (pages == 0) {
                    std::printf("%-7s %-12s %-6s: cannot count the pages with Ghostscript\n", doc.c_str(),
                                resolution.choice, mode);
                    missed = true;
                    continue;
                }
                // The first run of the filter also gives the planes it sends, on which the
                // compression floor and the size comparison are measured; without the filter,
                // the floor is measured on Ghostscript's own planes.
                FilterRun filter;
                bool measureFilter = filterReady && filterNote.empty();
                std::vector<SentPage> sent;
                std::vector<fs::path> planeFiles;
                if (measureFilter) {
                    filter = RunFilter(scheduler, document, resolution.choice, colour, pages, dir, &sent, &planeFiles);
                    if (!filter.failure.empty()) {
                        filterNote = filter.failure;
                        measureFilter = false;
                    }
                }
                const bool floorOnSentPlanes = measureFilter;
                if (!measureFilter) {
                    planeFiles = GhostscriptPlanes(document, resolution.renderDpi, colour, pages, dir);
                    if (planeFiles.empty()) {
                        std::printf("%-7s %-12s %-6s: cannot make the pages' planes with Ghostscript\n", doc.c_str(),
                                    resolution.choice, mode);
                        missed = true;
                        continue;
                    }
                }
                // Each figure is its best of `repeat` runs, the runs of the three taking turns so
                // that all of them see the machine's load alike (the filter's first run counts).
                Cost render;
                Cost compress;
                for (int i = 0; i < repeat && !g_interrupted; ++i) {
                    Launch gs;
                    gs.argv = {"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw",
                               "-r" + std::to_string(resolution.renderDpi), "-sOutputFile=-", document};
                    const Cost r = Run(gs);
                    if (i == 0 || r.wall < render.wall) {
                        render = r;
                    }
                    const Cost c = CompressionFloor(planeFiles, dir, 1);
                    if (i == 0 || c.cpu < compress.cpu) {
                        compress = c;
                    }
                    if (measureFilter && i + 1 < repeat) {
                        FilterRun f = RunFilter(scheduler, document, resolution.choice, colour, pages, dir);
                        if (!f.failure.empty()) {
                            filterNote = f.failure;
                            filter = f;
                            measureFilter = false;
                        } else if (f.cost.wall < filter.cost.wall) {
                            filter = f;
                        }
                    }
                }
                if (g_interrupted) {
                    break;
                }
                const double renderPage = render.wall / double(pages);
                const double compressPage = compress.cpu / double(pages);
                const double larger = std::max(renderPage, compressPage);
                const double sum = renderPage + compressPage;

                std::string filterCells = "         -          -          -         -";
                std::string lines;
                if (floorOnSentPlanes && !sent.empty()) {
                    const SentPage& first = sent.front();
                    char line[320];
                    std::snprintf(line, sizeof line,
                                  "        sent: %ux%u dots a page at %ldx%ld dpi (Ghostscript at %d dpi), bands of %u "
                                  "rows, JBIG stripes of %lu rows, MX %lu, options 0x%02x; both floors' pages\n",
                                  first.width, first.height, first.xDpi, first.yDpi, resolution.renderDpi,
                                  first.bandRows, first.stripeRows, first.mx, first.jbigOptions);
                    lines += line;
                } else {
                    char line[200];
                    std::snprintf(line, sizeof line,
                                  "        compression floor on Ghostscript's planes at %d dpi: the filter did not "
                                  "print\n",
                                  resolution.renderDpi);
                    lines += line;
                }
                if (measureFilter) {
                    const double filterPage = filter.cost.wall / double(pages);
                    // The parent's own reading of its peak and the one taken from outside: the larger.
                    const long peakKb = std::max(filter.cost.peakKb, filter.hasStages ? filter.stages.peakKb : 0L);
                    const double peakMb = double(peakKb) / 1024.0;
                    char cells[128];
                    std::snprintf(cells, sizeof cells, "%10.1f %10.1f %10.1f %9.1f", filterPage * 1e3,
                                  filter.cost.ownCpu / double(pages) * 1e3, filter.cost.childCpu / double(pages) * 1e3,
                                  peakMb);
                    filterCells = cells;

                    const double toLarger = filterPage / larger;
                    const double toSum = filterPage / sum;
                    const double timeTarget = TimeTarget(usableCpus, doc, colour);
                    const bool fast = toLarger <= timeTarget && toSum < 1.0;
                    const bool memoryApplies = colour && std::string(resolution.choice) == "600dpi";
                    const bool small = !memoryApplies || peakKb < kMemoryTargetMb * 1024L;
                    size_t filterBytes = 0, refBytes = 0, rawBytes = 0;
                    double worst = 0;
                    for (const SentPage& p : sent) {
                        filterBytes += p.jbigBytes;
                        refBytes += p.refBytes;
                        rawBytes += p.rawBytes;
                        worst = std::max(worst, p.refBytes ? double(p.jbigBytes) / double(p.refBytes) : 0.0);
                    }
                    const bool compact = worst <= kSizeTarget;
                    missed = missed || !fast || !small || !compact;
                    char line[400];
                    std::snprintf(line, sizeof line,
                                  "        targets: time %.2f x the larger floor <= %.2f and %.2f x their sum < 1: "
                                  "%s; size, largest page %.3f x pbmtojbg -q <= %.2f: %s; memory %.1f MB%s\n",
                                  toLarger, timeTarget, toSum, fast ? "met" : "MISSED", worst, kSizeTarget,
                                  compact ? "met" : "MISSED", peakMb,
                                  memoryApplies ? (small ? " < 64 MB: met" : " < 64 MB: MISSED") : " (no target)");
                    lines += line;
                    // Where the bytes are: every page's ratio, and for a page that misses, its planes'.
                    std::string sizes = "        size (filter JBIG bytes / pbmtojbg -q, same rows):";
                    for (size_t i = 0; i < sent.size(); ++i) {
                        const SentPage& p = sent[i];
                        const double ratio = p.refBytes ? double(p.jbigBytes) / double(p.refBytes) : 0.0;
                        std::snprintf(line, sizeof line, " p%zu %.3f", i + 1, ratio);
                        sizes += line;
                    }
                    std::snprintf(line, sizeof line, "; document %zu / %zu = %.3f%s\n", filterBytes, refBytes,
                                  refBytes ? double(filterBytes) / double(refBytes) : 0.0,
                                  rawBytes ? (", " + std::to_string(rawBytes) + " bytes sent raw").c_str() : "");
                    sizes += line;
                    lines += sizes;
                    for (size_t i = 0; i < sent.size(); ++i) {
                        const SentPage& p = sent[i];
                        if (p.refBytes == 0 || double(p.jbigBytes) / double(p.refBytes) <= kSizeTarget) {
                            continue;
                        }
                        std::string planes = "        page " + std::to_string(i + 1) + " missed, by plane:";
                        for (size_t plane = 0; plane < 4; ++plane) {
                            if (p.planeRef[plane] != 0) {
                                std::snprintf(line, sizeof line, " %s %zu / %zu = %.3f;",
                                              orvdecode::PlaneName(uint16_t(plane)), p.planeJbig[plane],
                                              p.planeRef[plane], double(p.planeJbig[plane]) / double(p.planeRef[plane]));
                                planes += line;
                            }
                        }
                        lines += planes + "\n";
                    }
                    if (filter.hasStages) {
                        // The parent's main thread reads, waits for the screening, encodes and
                        // writes; what is left of the wall time is the start-up (Ghostscript's
                        // included) and the job's end.
                        const Stages& st = filter.stages;
                        const double mainThread = st.read + st.screenWait + st.encode + st.output;
                        const double other = filter.cost.wall * 1e3 - mainThread;
                        char stages[320];
                        std::snprintf(stages, sizeof stages,
                                      "        stages ms/p: pipe reads %.1f, waiting for the screening %.1f, "
                                      "encoding %.1f, output %.1f, start-up and job end %.1f (whole job %.0f ms); "
                                      "screening thread %.1f\n",
                                      st.read / double(pages), st.screenWait / double(pages),
                                      st.encode / double(pages), st.output / double(pages), other / double(pages),
                                      other, st.screen / double(pages));
                        lines += stages;
                    } else if (!fast) {
                        lines += "        (the filter's log has no stage times)\n";
                    }
                }
                // The pages' planes and stream are large at 1200 dpi; the filter's log stays.
                if (keepDir.empty()) {
                    for (const auto& entry : fs::directory_iterator(dir)) {
                        if (entry.path().extension() != ".log") {
                            fs::remove(entry.path(), ec);
                        }
                    }
                }
                std::printf("%-7s %-12s %-6s %5zu | %10.1f %10.1f | %10.1f | %s\n%s", doc.c_str(), resolution.choice,
                            mode, pages, renderPage * 1e3, compressPage * 1e3, sum * 1e3, filterCells.c_str(),
                            lines.c_str());
                std::fflush(stdout);
            }
        }
    }
    if (!filterNote.empty()) {
        std::printf("\nThe filter was not measured: %s.\n", filterNote.c_str());
    }
    std::printf("\nFloors: render = gs ppmraw into a pipe at the resolution the filter's Ghostscript renders (wall);\n"
                "compress = pbmtojbg -q on the planes the filter sent, a plane a file (cpu). Each figure is the\n"
                "best of %d run(s). Targets: %s.\n",
                repeat,
                missed                ? "MISSED (see the rows above)"
                : filterNote.empty() ? "met"
                                      : "not measured for the filter, which did not print");
    scheduler.Stop();
    if (g_interrupted) {
        std::printf("Interrupted.\n");
    }
    if (!keepDir.empty()) {
        fs::create_directories(keepDir, ec);
        const std::string move = "cp -r '" + scratch.string() + "/.' '" + keepDir + "'";
        if (std::system(move.c_str()) != 0) {
            std::printf("Could not copy %s to %s.\n", scratch.c_str(), keepDir.c_str());
        }
        fs::remove_all(scratch, ec);
    } else if (filterNote.empty()) {
        fs::remove_all(scratch, ec);
    } else {
        std::printf("The filter's logs are kept in %s.\n", scratch.c_str());
    }
    return g_interrupted ? 2 : missed ? 1 : 0;
}

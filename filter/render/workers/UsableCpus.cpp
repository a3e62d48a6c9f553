#include "filter/render/workers/UsableCpus.h"

#include <sched.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <thread>

namespace {

// The files read are a line or a few dozen lines; anything longer is not what is looked for.
constexpr std::streamsize kMaxFileBytes = 64 * 1024;

bool ReadSmallFile(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string bytes(static_cast<size_t>(kMaxFileBytes), '\0');
    in.read(&bytes[0], kMaxFileBytes);
    bytes.resize(static_cast<size_t>(in.gcount()));
    *text = bytes;
    return true;
}

// A whole decimal number, nothing but digits (and a leading minus when `negative` is allowed).
bool ParseInteger(const std::string& word, bool negative, int64_t* value)
{
    if (word.empty() || word.size() > 19) {
        return false;
    }
    size_t i = 0;
    if (negative && word[0] == '-') {
        i = 1;
    }
    if (i == word.size()) {
        return false;
    }
    for (size_t j = i; j < word.size(); ++j) {
        if (word[j] < '0' || word[j] > '9') {
            return false;
        }
    }
    *value = std::strtoll(word.c_str(), nullptr, 10);
    return true;
}

// Whole processors a quota gives, rounded up; 0 for none (no limit, or not a valid quota).
unsigned QuotaCpus(int64_t quota, int64_t period)
{
    if (quota <= 0 || period <= 0) {
        return 0;
    }
    const int64_t cpus = quota / period + (quota % period != 0 ? 1 : 0);
    return cpus > std::numeric_limits<unsigned>::max() ? std::numeric_limits<unsigned>::max()
                                                       : static_cast<unsigned>(cpus);
}

// A cgroup path as /proc/self/cgroup gives it: absolute, without a step up.
bool SafeCgroupPath(const std::string& path)
{
    return !path.empty() && path[0] == '/' && path.find("..") == std::string::npos;
}

// The line's fields "<id>:<controllers>:<path>"; false for a line not of that form.
bool SplitCgroupLine(const std::string& line, std::string* id, std::string* controllers, std::string* path)
{
    const size_t first = line.find(':');
    const size_t second = first == std::string::npos ? first : line.find(':', first + 1);
    if (second == std::string::npos) {
        return false;
    }
    *id = line.substr(0, first);
    *controllers = line.substr(first + 1, second - first - 1);
    *path = line.substr(second + 1);
    return SafeCgroupPath(*path);
}

// Whether the comma-separated controller list names "cpu".
bool NamesCpuController(const std::string& controllers)
{
    std::istringstream list(controllers);
    std::string name;
    while (std::getline(list, name, ',')) {
        if (name == "cpu") {
            return true;
        }
    }
    return false;
}

// Processors of a cgroup v2 cpu.max ("max 100000" or "150000 100000"); 0 for none.
unsigned CpuMaxCpus(const std::string& file)
{
    std::string text;
    if (!ReadSmallFile(file, &text)) {
        return 0;
    }
    std::istringstream words(text);
    std::string quota, period;
    int64_t q = 0, p = 0;
    if (!(words >> quota >> period) || !ParseInteger(quota, false, &q) || !ParseInteger(period, false, &p)) {
        return 0;  // "max", or not a quota
    }
    return QuotaCpus(q, p);
}

// Processors of a cgroup v1 directory's cfs quota and period; 0 for none.
unsigned CfsCpus(const std::string& dir)
{
    std::string quotaText, periodText;
    if (!ReadSmallFile(dir + "/cpu.cfs_quota_us", &quotaText) ||
        !ReadSmallFile(dir + "/cpu.cfs_period_us", &periodText)) {
        return 0;
    }
    std::istringstream quotaWords(quotaText), periodWords(periodText);
    std::string quota, period;
    int64_t q = 0, p = 0;
    if (!(quotaWords >> quota) || !(periodWords >> period) || !ParseInteger(quota, true, &q) ||
        !ParseInteger(period, false, &p)) {
        return 0;
    }
    return QuotaCpus(q, p);  // -1: no quota
}

// The processors the process's cgroup quota gives; 0 for none found.
unsigned CgroupQuotaCpus(const std::string& root)
{
    std::string text;
    if (!ReadSmallFile(root + "/proc/self/cgroup", &text)) {
        return 0;
    }
    const std::string cgroupRoot = root + "/sys/fs/cgroup";
    std::string v1Controllers, v1Path;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::string id, controllers, path;
        if (!SplitCgroupLine(line, &id, &controllers, &path)) {
            continue;
        }
        if (id == "0" && controllers.empty()) {
            const std::string dir = path == "/" ? cgroupRoot : cgroupRoot + path;
            if (const unsigned cpus = CpuMaxCpus(dir + "/cpu.max")) {
                return cpus;
            }
        } else if (NamesCpuController(controllers)) {
            v1Controllers = controllers;
            v1Path = path;
        }
    }
    if (v1Controllers.empty()) {
        return 0;
    }
    const std::string tail = v1Path == "/" ? std::string() : v1Path;
    if (const unsigned cpus = CfsCpus(cgroupRoot + "/" + v1Controllers + tail)) {
        return cpus;
    }
    return CfsCpus(cgroupRoot + "/cpu" + tail);
}

unsigned AffinityCpus()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0) {
            return static_cast<unsigned>(count);
        }
    }
    return std::thread::hardware_concurrency();
}

}  // namespace

unsigned UsableCpusFrom(unsigned maskCpus, const std::string& root)
{
    unsigned cpus = maskCpus;
    const unsigned quota = CgroupQuotaCpus(root);
    if (quota != 0 && (cpus == 0 || quota < cpus)) {
        cpus = quota;
    }
    return cpus == 0 ? 1 : cpus;
}

unsigned UsableCpus()
{
    return UsableCpusFrom(AffinityCpus(), "");
}

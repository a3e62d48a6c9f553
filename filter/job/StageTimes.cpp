#include "filter/job/StageTimes.h"

#include "filter/log/FilterLog.h"

#include <sys/resource.h>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<int64_t> g_allStages[STAGE_COUNT];

double Milliseconds(int64_t llNanoseconds)
{
    return static_cast<double>(llNanoseconds) / 1e6;
}

double Milliseconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// The resident high-water mark of this process's own memory, from /proc; 0 when it cannot be read.
// Not getrusage's maximum: that carries over the mark of whatever process ran before the exec
// (a scheduler, a test harness), which may be far larger than the filter.
long PeakResidentKb()
{
    FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return 0;
    }
    char szLine[256];
    long lKb = 0;
    while (std::fgets(szLine, sizeof szLine, status) != nullptr) {
        if (std::sscanf(szLine, "VmHWM: %ld kB", &lKb) == 1) {
            break;
        }
    }
    std::fclose(status);
    return lKb;
}

}  // namespace

void AddStageTime(tagSTAGE stage, int64_t llNanoseconds)
{
    if (stage >= 0 && stage < STAGE_COUNT) {
        g_allStages[stage].fetch_add(llNanoseconds, std::memory_order_relaxed);
    }
}

int64_t StageTime(tagSTAGE stage)
{
    return stage >= 0 && stage < STAGE_COUNT ? g_allStages[stage].load(std::memory_order_relaxed) : 0;
}

void ResetStageTimes()
{
    for (std::atomic<int64_t>& total : g_allStages) {
        total.store(0, std::memory_order_relaxed);
    }
}

void LogStageTimes(unsigned uPages)
{
    rusage self{};
    rusage children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    LogDebug(
        "Stage times (ms): pages=%u read=%.1f screen=%.1f screen-wait=%.1f encode=%.1f output=%.1f "
        "cpu=%.1f child-cpu=%.1f peak-kb=%ld\n",
        uPages, Milliseconds(StageTime(STAGE_READ)), Milliseconds(StageTime(STAGE_SCREEN)),
        Milliseconds(StageTime(STAGE_SCREEN_WAIT)), Milliseconds(StageTime(STAGE_ENCODE)),
        Milliseconds(StageTime(STAGE_OUTPUT)), Milliseconds(self.ru_utime) + Milliseconds(self.ru_stime),
        Milliseconds(children.ru_utime) + Milliseconds(children.ru_stime), PeakResidentKb());
}

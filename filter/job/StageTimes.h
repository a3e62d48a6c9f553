// Where a job's time goes in the filter's parent: wall time summed per stage over the job, logged
// at the debug level when the job ends, beside the parent's own processor time, its Ghostscript
// child's and its peak memory, so that a slow job shows which stage to look at.
#pragma once

#include <chrono>
#include <cstdint>

enum tagSTAGE {
    STAGE_READ,         // reading the stream from the pipe, waiting for Ghostscript included
    STAGE_SCREEN,       // screening bands into the page bitmap (on the screening thread)
    STAGE_SCREEN_WAIT,  // the reading thread waiting for the screening of the band before
    STAGE_ENCODE,       // compressing and framing the page's bands
    STAGE_OUTPUT,       // writing the printer stream
    STAGE_COUNT
};

// Adds nanoseconds to a stage; safe from any thread.
void AddStageTime(tagSTAGE stage, int64_t llNanoseconds);
// The stage's sum so far.
int64_t StageTime(tagSTAGE stage);
// Every stage back to 0, at the start of a job.
void ResetStageTimes();

// Adds the time from its construction to its end to a stage.
class StageTimer {
public:
    explicit StageTimer(tagSTAGE stage) : m_stage(stage), m_start(std::chrono::steady_clock::now()) {}
    ~StageTimer()
    {
        AddStageTime(
            m_stage,
            std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - m_start).count());
    }
    StageTimer(const StageTimer&) = delete;
    StageTimer& operator=(const StageTimer&) = delete;

private:
    tagSTAGE m_stage;
    std::chrono::steady_clock::time_point m_start;
};

// One debug line, "Stage times (ms): pages=N read=.. screen=.. screen-wait=.. encode=.. output=..
// cpu=.. child-cpu=.. peak-kb=..": the stages' sums, the processor time of this process (all its
// threads) and of the children it waited for, and its own peak resident memory (0 when the system
// does not tell).
void LogStageTimes(unsigned uPages);

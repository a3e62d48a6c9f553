// A job context for the filter's output tests: zero-filled like the real one, its locks made,
// optionally a compiled model fixture loaded, hooks of its own, and the output writer pointed at a
// scratch file through them.
#pragma once

#include "core/model/SpcData.h"
#include "filter/job/FilterHooks.h"
#include "filter/job/JobInfo.h"
#include "filter/job/KeepAlive.h"
#include "filter/job/OutputSink.h"
#include "support/ModelFiles.h"
#include "support/StderrCapture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace filtertest {

inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TestJob {
public:
    TestJob()
    {
        m_job = static_cast<tagJOBINFO*>(std::calloc(1, sizeof(tagJOBINFO)));
        InitJobLocks(m_job);
        m_job->pHooks = &m_hooks;
    }
    ~TestJob()
    {
        StopKeepAliveThread(m_job);
        DestroyJobLocks(m_job);
        std::free(m_job->pSpcData);
        std::free(m_job);
    }
    TestJob(const TestJob&) = delete;
    TestJob& operator=(const TestJob&) = delete;

    tagJOBINFO* get() { return m_job; }
    tagJOBINFO* operator->() { return m_job; }
    // The hooks the job runs with (unset: the system's own).
    FilterHooks& hooks() { return m_hooks; }

    // Loads a compiled model fixture by name ("filter-pjl-crlf").
    void LoadModel(const std::string& name)
    {
        std::free(m_job->pSpcData);
        m_job->pSpcData = orvtest::LoadFixtureModel(name).release();
        ASSERT_NE(m_job->pSpcData, nullptr) << name;
    }

private:
    FilterHooks m_hooks;
    tagJOBINFO* m_job;
};

// Points the output writer's standard output at a file through the hooks of a job while the object
// lives; the hooks must outlive it.
class OutputCapture {
public:
    OutputCapture(FilterHooks& hooks, const std::string& path) : m_hooks(hooks), m_path(path)
    {
        m_fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        EXPECT_GE(m_fd, 0);
        m_hooks.outputFd = m_fd;
    }
    OutputCapture(TestJob& job, const std::string& path) : OutputCapture(job.hooks(), path) {}
    ~OutputCapture()
    {
        m_hooks.outputFd = -1;
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;
    std::string Bytes() const { return ReadFileBytes(m_path); }

private:
    FilterHooks& m_hooks;
    std::string m_path;
    int m_fd = -1;
};

}  // namespace filtertest

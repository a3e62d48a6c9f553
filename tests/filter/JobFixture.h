// A job context for the filter's output tests: zero-filled like the real one, its locks made,
// optionally a compiled model fixture loaded, and the output writer pointed at a scratch file.
#pragma once

#include "core/model/SpcData.h"
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

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TestJob {
public:
    TestJob() {
        m_job = static_cast<tagJOBINFO*>(std::calloc(1, sizeof(tagJOBINFO)));
        InitJobLocks(m_job);
    }
    ~TestJob() {
        StopKeepAliveThread(m_job);
        DestroyJobLocks(m_job);
        std::free(m_job->pSpcData);
        std::free(m_job);
    }
    TestJob(const TestJob&) = delete;
    TestJob& operator=(const TestJob&) = delete;

    tagJOBINFO* get() { return m_job; }
    tagJOBINFO* operator->() { return m_job; }

    // Loads a compiled model fixture by name ("filter-pjl-crlf").
    void LoadModel(const std::string& name) {
        std::free(m_job->pSpcData);
        m_job->pSpcData = orvtest::LoadFixtureModel(name).release();
        ASSERT_NE(m_job->pSpcData, nullptr) << name;
    }

private:
    tagJOBINFO* m_job;
};

// Points the output writer's standard output at a file while the object lives.
class OutputCapture {
public:
    explicit OutputCapture(const std::string& path) : m_path(path) {
        m_fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        EXPECT_GE(m_fd, 0);
        SetOutputDescriptor(m_fd);
    }
    ~OutputCapture() {
        SetOutputDescriptor(STDOUT_FILENO);
        if (m_fd >= 0) close(m_fd);
    }
    std::string Bytes() const { return ReadFileBytes(m_path); }

private:
    std::string m_path;
    int m_fd = -1;
};

}  // namespace filtertest

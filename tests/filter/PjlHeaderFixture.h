// The PJL header written for a test job: its bytes captured, and what it logged on the way.
#pragma once

#include "JobFixture.h"
#include "filter/pjl/PjlHeader.h"
#include "support/ScratchDir.h"
#include "support/StderrCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace filtertest {

class PjlHeaderFixture : public ::testing::Test {
protected:
    // Writes the header for m_job; returns its bytes, the log in m_log.
    std::string Run()
    {
        OutputCapture out(m_job, m_dir / "out.bin");
        orvtest::StderrCapture err(m_dir / "err.txt");
        EXPECT_EQ(WritePjlHeader(m_job.get()), -1);
        m_log = err.Take();
        return out.Bytes();
    }
    orvtest::ScratchDir m_dir;
    TestJob m_job;
    std::string m_log;
};

}  // namespace filtertest

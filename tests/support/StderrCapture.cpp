#include "support/StderrCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace orvtest {

StderrCapture::StderrCapture()
{
    m_dir.emplace();
    m_path = *m_dir / "stderr.txt";
    Start();
}

StderrCapture::StderrCapture(const std::string& path) : m_path(path)
{
    Start();
}

StderrCapture::~StderrCapture()
{
    Restore();
}

void StderrCapture::Start()
{
    std::fflush(stderr);
    m_saved = dup(STDERR_FILENO);
    const int fd = open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    EXPECT_GE(fd, 0) << m_path;
    if (fd < 0) return;
    dup2(fd, STDERR_FILENO);
    close(fd);
}

std::string StderrCapture::Take()
{
    Restore();
    std::ifstream in(m_path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void StderrCapture::Restore()
{
    if (m_saved < 0) return;
    std::fflush(stderr);
    dup2(m_saved, STDERR_FILENO);
    close(m_saved);
    m_saved = -1;
}

}  // namespace orvtest

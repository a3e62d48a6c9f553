#include "support/Xvfb.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace orvtest {

ScopedXvfb::~ScopedXvfb()
{
    Stop();
}

bool ScopedXvfb::Start(std::string* error)
{
    int fds[2];
    if (pipe(fds) != 0) {
        *error = "pipe failed";
        return false;
    }
    // Xvfb picks a free display itself and writes its number to the descriptor.
    const std::string fd = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                          nullptr};
    if (posix_spawnp(&m_pid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        close(fds[0]);
        close(fds[1]);
        m_pid = -1;
        *error = "Xvfb could not be started";
        return false;
    }
    close(fds[1]);
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        Stop();
        *error = "Xvfb gave no display";
        return false;
    }
    m_display = ":" + number;
    return true;
}

void ScopedXvfb::Stop()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    m_display.clear();
}

}  // namespace orvtest

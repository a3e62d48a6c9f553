// A headless X server of the test program's own (Xvfb), for tests that show windows.
#pragma once

#include <string>

#include <sys/types.h>

namespace orvtest {

class ScopedXvfb {
public:
    ScopedXvfb() = default;
    ~ScopedXvfb();
    ScopedXvfb(const ScopedXvfb&) = delete;
    ScopedXvfb& operator=(const ScopedXvfb&) = delete;

    // Starts Xvfb on a free display (1280 x 1024, 24 bits); false with the reason in *error.
    bool Start(std::string* error);
    // ":N" once started, else "".
    const std::string& Display() const { return m_display; }
    void Stop();

private:
    pid_t m_pid = -1;
    std::string m_display;
};

}  // namespace orvtest

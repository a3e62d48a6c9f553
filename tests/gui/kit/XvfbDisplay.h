// The X server the GUI tests run on: the run's shared Xvfb when CTest started one, else an Xvfb of
// the test program's own on a free display.
#pragma once

#include <string>
#include <sys/types.h>

namespace orvgui {

class XvfbDisplay {
public:
    XvfbDisplay() = default;
    ~XvfbDisplay();

    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // Points DISPLAY at the shared server named in the file of ORV_GUI_DISPLAY_FILE when there is
    // one, else starts a server of its own (Xvfb -displayfd picks a free display number, so runs
    // in parallel never collide). False, with the reason in *pError, when no server could be had.
    bool Open(std::string* pError);

    const std::string& Name() const { return m_name; }

private:
    bool StartOwn(std::string* pError);

    std::string m_name;
    pid_t m_pid = -1;
};

}  // namespace orvgui

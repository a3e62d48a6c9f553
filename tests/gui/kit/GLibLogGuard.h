// Any GTK, GDK or GLib warning or critical fails the running test, unless a test says it expects
// that message.
#pragma once

#include <glib.h>
#include <string>

namespace orvgui {

// Installs the handler for the whole test program (done by the GUI test main).
void InstallGLibLogGuard();

// While it lives, messages of the level that contain the text are expected: they are counted
// instead of failing the test. The destructor fails the test when none came.
class ExpectGLibLog {
public:
    ExpectGLibLog(GLogLevelFlags level, std::string text);
    ~ExpectGLibLog();

    ExpectGLibLog(const ExpectGLibLog&) = delete;
    ExpectGLibLog& operator=(const ExpectGLibLog&) = delete;

    int Count() const { return m_nCount; }

private:
    friend bool ClaimExpected(GLogLevelFlags level, const char* pszMessage);

    GLogLevelFlags m_level;
    std::string m_text;
    int m_nCount = 0;
    ExpectGLibLog* m_pPrevious;
};

}  // namespace orvgui

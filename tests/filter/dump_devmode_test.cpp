#include "filter/job/DumpDevmode.h"
#include "support/StderrCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using orvtest::StderrCapture;

std::string Line(const std::string& text)
{
    return "DEBUG: (PID " + std::to_string(getpid()) + ") " + text + "\n";
}

TEST(DumpDevmode, OneDebugLinePerNamedField)
{
    DRVDEVMODE d;
    std::memset(&d, 0, sizeof d);
    d.dm.dmSize = 96;
    d.dm.dmDriverExtra = 1136;
    d.dm.dmPaperSize = 9;
    std::strcpy(d.dm.dmFormName, "A4");
    d.priv.dmTotalPages = 12;
    d.priv.dmClrCtrl.sRed = -7;
    d.priv.dmOption334 = 0xFFFF;
    d.priv.dmWMInfo.pos[1] = -300;
    std::strcpy(d.priv.dmPassword, "secret");
    std::memset(d.priv.dmJobName, 'j', sizeof d.priv.dmJobName);  // no terminator
    std::strcpy(d.priv.dmUserName, "alice");

    StderrCapture capture;
    DumpDevmode(&d);
    const std::string log = capture.Take();

    const std::string expected[] = {
        Line("DEVMODE.dmSize          = 96"),       Line("DEVMODE.dmDriverExtra   = 1136"),
        Line("DEVMODE.dmPaperSize     = 9"),        Line("DEVMODE.dmFormName      = A4"),
        Line("PRIVDM.dmTotalPages     = 12"),       Line("PRIVDM.dmClrCtrl.sRed   = -7"),
        Line("PRIVDM.dmOption334      = 65535"),    Line("PRIVDM.dmWMInfo.pos[1]  = -300"),
        Line("PRIVDM.dmSourceAndTypeFor1Page = 0"), Line("PRIVDM.dmJobName        = " + std::string(84, 'j')),
        Line("PRIVDM.dmUserName       = alice"),    Line("PRIVDM.dmPassword length = 6"),
    };
    for (const std::string& line : expected) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(log.find("secret"), std::string::npos);
    // Every line is a debug line.
    std::istringstream lines(log);
    std::string l;
    int count = 0;
    while (std::getline(lines, l)) {
        EXPECT_EQ(l.rfind("DEBUG: (PID ", 0), 0u) << l;
        ++count;
    }
    EXPECT_GT(count, 100);
}

TEST(DumpDevmode, NothingForNull)
{
    StderrCapture capture;
    DumpDevmode(nullptr);
    EXPECT_EQ(capture.Take(), "");
}

}  // namespace

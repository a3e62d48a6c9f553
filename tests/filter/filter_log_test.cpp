#include "filter/log/FilterLog.h"
#include "support/StderrCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

using orvtest::StderrCapture;

std::string Pid()
{
    return "(PID " + std::to_string(getpid()) + ") ";
}

// Replaces every "{P}" by the given line prefix.
std::string Expand(const std::string& pattern, const std::string& prefix)
{
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 3, "{P}") == 0) {
            out += prefix;
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

TEST(FilterLog, EveryLevelWritesItsCupsPrefixAndThePid)
{
    struct Case {
        int level;
        const char* prefix;
    };
    const Case cases[] = {
        {1, "DEBUG: "},
        {2, "DEBUG2: "},
        {3, "INFO: "},
        {4, "NOTICE: "},
        {5, "WARNING: "},
        {6, "ERROR: "},
        {7, "ALERT: "},
        {8, "EMERG: "},
        {9, "CRIT: "},
        // Levels outside the table keep only the process id.
        {0, ""},
        {10, ""},
        {-1, ""},
        {LOG_ERROR, "ERROR: "},
    };
    for (const Case& c : cases) {
        StderrCapture capture;
        LogMessage(c.level, "message %d\n", 7);
        EXPECT_EQ(capture.Take(), std::string(c.prefix) + Pid() + "message 7\n") << "level " << c.level;
    }
}

TEST(FilterLog, EveryPhysicalLineIsPrefixedAndTheMessageEndsInOneLf)
{
    struct Case {
        const char* format;
        const char* expected;  // {P} stands for "ERROR: (PID n) "
    };
    const Case cases[] = {
        {"a\nb\n", "{P}a\n{P}b\n"},
        {"a\nb", "{P}a\n{P}b\n"},  // the final LF is added
        {"no line end", "{P}no line end\n"},
        {"crlf\r\nline\r\n", "{P}crlf\n{P}line\n"},  // CR characters disappear
        {"mid\rdle\n", "{P}middle\n"},
        {"two\n\n", "{P}two\n{P}\n"},  // a last line holding only the prefix
        {"\n", "{P}\n"},
        {"", "{P}\n"},
        {"\nlead", "{P}\n{P}lead\n"},
    };
    const std::string prefix = "ERROR: " + Pid();
    for (const Case& c : cases) {
        StderrCapture capture;
        LogMessage(6, c.format, 0);
        EXPECT_EQ(capture.Take(), Expand(c.expected, prefix)) << "format \"" << c.format << "\"";
    }
}

TEST(FilterLog, ArgumentsAreFormattedAndTheirLineBreaksPrefixedToo)
{
    // A file name or job option with a line break must not reach the scheduler as a line of its
    // own, where it could pass for one of its control lines.
    struct Case {
        const char* format;
        const char* arg;
        const char* expected;  // {P} stands for "ERROR: (PID n) "
    };
    const Case cases[] = {
        {"Cannot open data file(%s)\n", "x.spc", "{P}Cannot open data file(x.spc)\n"},
        {"file(%s)\n", "x\nSTATE: +bad", "{P}file(x\n{P}STATE: +bad)\n"},
        {"%s", "ends in lf\n", "{P}ends in lf\n"},
        {"%s\n", "cr\r\nlf", "{P}cr\n{P}lf\n"},
        {"100%% %s\n", "%d", "{P}100% %d\n"},  // per cent signs in arguments are text
    };
    const std::string prefix = "ERROR: " + Pid();
    for (const Case& c : cases) {
        StderrCapture capture;
        LogMessage(6, c.format, c.arg);
        EXPECT_EQ(capture.Take(), Expand(c.expected, prefix)) << "argument \"" << c.arg << "\"";
    }
}

TEST(FilterLog, ReturnsTheNumberOfBytesWritten)
{
    StderrCapture capture;
    int rc = LogMessage(3, "%s=%d\nnext", "key", 42);
    std::string out = capture.Take();
    EXPECT_EQ(out, "INFO: " + Pid() + "key=42\nINFO: " + Pid() + "next\n");
    EXPECT_EQ(rc, static_cast<int>(out.size()));
}

TEST(FilterLog, LongLinesAreWrittenWhole)
{
    const std::string longArg(100000, 'x');
    const std::string longFormat = std::string(70000, 'f') + "\n" + std::string(70000, 'g');
    StderrCapture capture;
    LogMessage(1, "<%s>\n", longArg.c_str());
    LogMessage(1, longFormat.c_str(), 0);
    const std::string prefix = "DEBUG: " + Pid();
    EXPECT_EQ(capture.Take(), prefix + "<" + longArg + ">\n" + prefix + std::string(70000, 'f') + "\n" + prefix +
                                  std::string(70000, 'g') + "\n");
}

TEST(FilterLog, LogDebugWritesAtLevelOne)
{
    StderrCapture capture;
    LogDebug("Send Page %d\n", 3);
    EXPECT_EQ(capture.Take(), "DEBUG: " + Pid() + "Send Page 3\n");
}

TEST(FilterLog, FormatLogLinePrefixesTheFormatItself)
{
    struct Case {
        int level;
        const char* format;
        const char* expected;  // {P} stands for the level's prefix and "(PID n) "
        const char* levelPrefix;
    };
    const Case cases[] = {
        {6, "a %s\r\nb", "{P}a %s\n{P}b\n", "ERROR: "},
        {1, "Start Orvalen GDI filter on %s\n", "{P}Start Orvalen GDI filter on %s\n", "DEBUG: "},
        {42, "x\n\n", "{P}x\n{P}\n", ""},
    };
    for (const Case& c : cases) {
        char* line = FormatLogLine(c.level, c.format);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(std::string(line), Expand(c.expected, c.levelPrefix + Pid()));
        free(line);
    }
}

TEST(FilterLog, NullFormatLogsNothing)
{
    EXPECT_EQ(FormatLogLine(6, nullptr), nullptr);
    StderrCapture capture;
    const char* volatile noFormat = nullptr;  // as a caller's bad pointer would arrive
    EXPECT_EQ(LogMessage(6, noFormat), 0);
    EXPECT_EQ(capture.Take(), "");
}

TEST(FilterLog, DurationCountsProcessorTimeInMillionthsOfASecond)
{
    // Start the clock two and a half seconds of processor time in the past.
    clock_start = clock() - static_cast<clock_t>(2500000);
    StderrCapture capture;
    LogDuration();
    std::string out = capture.Take();
    const std::string head = "DEBUG: " + Pid() + "Duration Time : 2.5";
    ASSERT_EQ(out.compare(0, head.size(), head), 0) << out;
    // Three decimals, then the unit.
    EXPECT_EQ(out.size(), head.size() + std::string("00 seconds\n").size()) << out;
    EXPECT_EQ(out.substr(out.size() - 9), " seconds\n");
}

TEST(FilterLog, StartClockRestartsTheDuration)
{
    clock_start = clock() - static_cast<clock_t>(2500000);
    StartClock();
    StderrCapture capture;
    LogDuration();
    std::string out = capture.Take();
    EXPECT_EQ(out.rfind("DEBUG: " + Pid() + "Duration Time : 0.0", 0), 0u) << out;
}

}  // namespace

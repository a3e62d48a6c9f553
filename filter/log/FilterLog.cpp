#include "filter/log/FilterLog.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

const tagERRORLEVEL ListErrorLevel[kErrorLevelCount] = {
    {1, "DEBUG: "}, {2, "DEBUG2: "}, {3, "INFO: "},  {4, "NOTICE: "}, {5, "WARNING: "},
    {6, "ERROR: "}, {7, "ALERT: "},  {8, "EMERG: "}, {9, "CRIT: "},
};

clock_t clock_start = 0;  // C linkage from the declaration in the header

namespace {

const char* LevelPrefix(int iLevel)
{
    for (const tagERRORLEVEL& row : ListErrorLevel) {
        if (row.sLevel == iLevel) {
            return row.pszPrefix;
        }
    }
    return "";
}

// pText[0..cbText) with the level's prefix and "(PID n) " in front of every line: CR characters
// dropped, a LF at the very end dropped, and one LF appended. A new calloc'ed string whose length
// goes to *pcbOut, or NULL when memory runs out.
char* PrefixEveryLine(int iLevel, const char* pText, size_t cbText, size_t* pcbOut)
{
    char prefix[64];
    int cchPrefix = snprintf(prefix, sizeof(prefix), "%s(PID %d) ", LevelPrefix(iLevel), static_cast<int>(getpid()));
    if (cchPrefix < 0 || static_cast<size_t>(cchPrefix) >= sizeof(prefix)) {
        return nullptr;
    }
    size_t cbPrefix = static_cast<size_t>(cchPrefix);

    size_t lines = 1;
    for (size_t i = 0; i < cbText; ++i) {
        if (pText[i] == '\n') {
            ++lines;
        }
    }
    // One prefix per line, the text, the final LF and the terminator.
    size_t cbOut = cbText + cbPrefix * lines + 2;
    char* out = static_cast<char*>(calloc(cbOut, 1));
    if (out == nullptr) {
        return nullptr;
    }

    memcpy(out, prefix, cbPrefix);
    size_t o = cbPrefix;
    for (size_t i = 0; i < cbText; ++i) {
        char c = pText[i];
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            if (i + 1 == cbText) {
                break;  // the final LF is added below, once
            }
            out[o++] = '\n';
            memcpy(out + o, prefix, cbPrefix);
            o += cbPrefix;
            continue;
        }
        out[o++] = c;
    }
    if (out[o - 1] != '\n') {
        out[o++] = '\n';
    }
    out[o] = '\0';
    *pcbOut = o;
    return out;
}

}  // namespace

char* FormatLogLine(int iLevel, const char* pszFormat)
{
    if (pszFormat == nullptr) {
        return nullptr;
    }
    // The prefix becomes part of a format, so it must hold no '%': none of the level texts does,
    // and a decimal number cannot.
    size_t cbOut = 0;
    return PrefixEveryLine(iLevel, pszFormat, strlen(pszFormat), &cbOut);
}

int LogMessageV(int iLevel, const char* pszFormat, va_list args)
{
    if (pszFormat == nullptr) {
        return 0;
    }
    // The message is formatted before the lines are prefixed, so that a line break inside an
    // argument (a file name, a job option) also starts a prefixed line: text that reaches the
    // scheduler unprefixed could be read as one of its control lines.
    va_list measure;
    va_copy(measure, args);
    int cchText = vsnprintf(nullptr, 0, pszFormat, measure);
    va_end(measure);
    if (cchText < 0) {
        return cchText;
    }
    size_t cbText = static_cast<size_t>(cchText);
    char* text = static_cast<char*>(malloc(cbText + 1));
    if (text == nullptr) {
        return 0;
    }
    vsnprintf(text, cbText + 1, pszFormat, args);

    size_t cbOut = 0;
    char* out = PrefixEveryLine(iLevel, text, cbText, &cbOut);
    free(text);
    if (out == nullptr) {
        return 0;
    }
    // One write on the unbuffered standard error keeps the lines of one message together.
    size_t written = fwrite(out, 1, cbOut, stderr);
    free(out);
    if (written != cbOut) {
        return -1;
    }
    return cbOut > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(cbOut);
}

int LogMessage(int iLevel, const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    int rc = LogMessageV(iLevel, pszFormat, args);
    va_end(args);
    return rc;
}

int LogDebug(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    int rc = LogMessageV(1, pszFormat, args);
    va_end(args);
    return rc;
}

void StartClock()
{
    clock_start = clock();
}

void LogDuration()
{
    // clock() counts processor time at CLOCKS_PER_SEC (one million on this platform) per second.
    double seconds = static_cast<double>(clock() - clock_start) / static_cast<double>(CLOCKS_PER_SEC);
    LogDebug("Duration Time : %.3f seconds\n", seconds);
}

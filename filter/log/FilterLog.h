// The filter's log: every message of the filter and of the renderer reaches standard error with
// the CUPS level prefix and "(PID n) " on every physical line, so that the scheduler sorts each
// line by its level.
#pragma once

#include "core/WinTypes.h"

#include <cstdarg>
#include <ctime>

// One row of the level table.
struct tagERRORLEVEL {
    SHORT sLevel;
    const char* pszPrefix;
};

inline constexpr int kErrorLevelCount = 9;

// The level table, searched in order: 1 "DEBUG: " to 9 "CRIT: ".
extern "C" const tagERRORLEVEL ListErrorLevel[kErrorLevelCount];

// Set by StartClock; LogDuration measures from it.
extern "C" clock_t clock_start;

// The level the filter and the renderer report errors at ("ERROR: ").
inline constexpr int LOG_ERROR = 6;

// The prefixed format as a new malloc'ed string (the caller frees it): the level's prefix (empty
// for a level not in the table) and "(PID n) " in front of every line, CR characters dropped, and
// exactly one LF at the end. NULL when memory runs out or pszFormat is NULL.
char* FormatLogLine(int iLevel, const char* pszFormat);

// One message to standard error: formatted, then given the same line treatment as FormatLogLine
// (so line breaks inside arguments are prefixed too) and written in one piece. Returns the number
// of bytes written, 0 when memory runs out or pszFormat is NULL, negative when formatting or
// writing fails.
int LogMessageV(int iLevel, const char* pszFormat, va_list args) __attribute__((format(printf, 2, 0)));
int LogMessage(int iLevel, const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));

// LogMessage at level 1 ("DEBUG: ").
int LogDebug(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));

// clock_start := clock().
void StartClock();

// Logs at level 1 "Duration Time : %.3f seconds\n" with the processor time since StartClock.
void LogDuration();

// Small string helpers of the core.
#pragma once

#include <cstddef>

// strcmp that accepts NULL: both NULL 0, only pszA NULL -1, only pszB NULL 1. Callers rely only on
// 0 meaning equal.
int SafeStrcmp(const char* pszA, const char* pszB);

// Copies pszSrc up to and including its terminator, at most n characters. When n characters were
// copied without meeting the terminator, the last copied position becomes a terminator (so a
// buffer of n bytes receives at most n - 1 characters) and n is returned; otherwise the length of
// the source. With n = 0 nothing is written and 0 is returned. A NULL source copies as the empty
// string; a NULL destination receives nothing (0).
size_t CopyStringBounded(char* pszDst, const char* pszSrc, size_t n);

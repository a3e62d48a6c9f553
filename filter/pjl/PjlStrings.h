// The text routines of the PJL header: texts taken from the job made safe for a PJL line, cut to
// an item's length, and model texts split into a value's texts.
#pragma once

#include "core/WinTypes.h"
#include "filter/pjl/PjlValues.h"

#include <cstddef>

// Replaces DEL, '"', ESC and the other characters below 0x20 by spaces unless dwCopyFlags lets
// them through; stops at the terminator; bytes from 0x80 up are left alone.
void SanitisePjlString(char* psz, DWORD dwCopyFlags);

// The first cch characters of pszSource (fewer when it is shorter) into pszDest, terminated;
// pszDest holds at least cch + 1 bytes.
void CopyHead(const char* pszSource, size_t cch, char* pszDest);

// The last cch characters of pszSource (all of it when it is not longer), terminated; pszDest holds
// at least cch + 1 bytes.
void CopyTail(const char* pszSource, size_t cch, char* pszDest);

// A text from the job into a fixed buffer: at most 255 characters of the source, sanitised by the
// copy flags, cut to the maximum length (head or tail) when PJLCOPY_LIMIT is set, always
// terminated. -1, or 0 when a pointer is NULL or the destination size is 0.
int CopyPjlString(DWORD dwCopyFlags, DWORD dwMaxLength, const char* pszSource, char* pszDest, size_t cbDest);

// Splits a model text at each "%r" into the value's six texts (255 characters each at most, more
// dropped); the sixth text ends the split. cchSource bounds the read of pszSource.
void SplitAtPercentR(const char* pszSource, size_t cchSource, tagPJLVALUE* pValue);

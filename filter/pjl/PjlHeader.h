// The PJL job header. Which lines it holds, in which order and in which words is the model's
// choice (the PJL item list and formats of the model data); this writes the lines, each as the
// prefix "@PJL ", the item's format filled with the item's value, and the model's line end.
#pragma once

#include "core/model/SpcListAnswers.h"
#include "filter/job/JobInfo.h"
#include "filter/pjl/PjlValues.h"

#include <cstddef>

// Prefix and line end of every formatted header line.
struct tagPJLAFFIXES {
    char szPrefix[6];   // "@PJL "
    char szLineEnd[3];  // "\r\n" or "\n"
};

// The longest format text a model record holds (it may fill the field without a terminator).
inline constexpr size_t kPjlFormatLength = sizeof(tagPJLFORMAT::szFormat);
// The buffer a format is expanded into.
inline constexpr size_t kPjlExpandedSize = 64;

// Writes the header through the job's output writer. Always -1.
int WritePjlHeader(tagJOBINFO* pJob);

// "@PJL " and the line end: "\r\n" when capability 65 view 1 has bit 0x40000000, else "\n".
void InitPjlAffixes(tagJOBINFO* pJob, tagPJLAFFIXES* pAffixes);

// Formats the value by its type with pszFormat and writes prefix, text and line end. Nothing when
// an argument is NULL, the value has none, or the format does not fit the value (its conversions
// are more than, or of another kind than, the value's arguments); a misfit is logged at level 1.
void WritePjlValue(tagJOBINFO* pJob, const tagPJLAFFIXES* pAffixes, const char* pszFormat, const tagPJLVALUE* pValue);

// The formatter behind WritePjlValue: prefix, formatted text and line end; nothing at all when the
// formatted text is empty.
void WritePjlLine(tagJOBINFO* pJob, const tagPJLAFFIXES* pAffixes, const char* pszFormat, ...);

// Whether pszFormat is a safe printf format for a value of the given type: every conversion is
// "%%", or "%s" (with flags, width, precision) for a text type, or one of d i u x X o c for a
// number type, no '*', no positional or 'n' conversions, and no more conversions than the value's
// arguments.
bool IsPjlFormatForType(const char* pszFormat, WORD wType);

// The format text of the first record with this item id and key, copied terminated into
// szOut (at most kPjlFormatLength characters). NULL when there is none or that first record's text
// is empty.
const char* FindPjlFormat(const tagPJLFORMAT* pFormats, DWORD dwCount, DWORD dwItemId, DWORD dwKey,
                          char (&szOut)[kPjlFormatLength + 1]);

// Copies pszFormat into pszOut with every backslash-n escape replaced by the line end (dropped when
// it no longer fits); always terminated. -1 when the format held an escape, 0 (pszOut untouched)
// when it held none.
int ExpandLineEnds(const char* pszFormat, char* pszOut, size_t cbOut, const char* pszLineEnd);

// "@PJL COMMENT OSVersion=\"<system description>\"\n"; nothing without a description.
void WriteOsVersionComment(tagJOBINFO* pJob);

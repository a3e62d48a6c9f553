// Small helpers the list readers share to build answer records.
#pragma once

#include "core/model/SpcAnswer.h"
#include "core/model/SpcPaperLayout.h"

#include <cstring>

// Copies a built answer record into its (possibly unaligned) slot.
template <class T>
inline void SpcEmit(const T& answer, BYTE* pbOut)
{
    memcpy(pbOut, &answer, sizeof answer);
}

// Copies up to cb bytes of a file char array into an answer field, stopping at a zero byte.
inline void SpcCopyText(const SpcImage& img, uint64_t off, char* pszOut, size_t cb)
{
    SpcPutText(img, off, reinterpret_cast<BYTE*>(pszOut), 0, cb);
}

// The low 16 bits of the file word at off.
inline SHORT SpcI16(const SpcImage& img, uint64_t off)
{
    return SpcLow16(img.Dword(off));
}

// Value and kept words of a valued list (u32 value, u32 n, n words).
inline void SpcReadValuedList(const SpcImage& img, uint64_t off, SHORT* psValue, SHORT* psCount, SHORT* psWords,
                              SHORT sMax)
{
    *psValue = SpcI16(img, off);
    SpcReadWordList(img, off + 4, psCount, psWords, sMax);
}

// A section-level answer built whole beforehand: the size protocol, then the copy (count 1).
DWORD SpcAnswerOne(const void* pvAnswer, DWORD cbAnswer, void* pvBuffer, DWORD* pcbSize, DWORD* pdwCount);

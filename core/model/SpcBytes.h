// Little-endian, bounds-checked reading of a model data image.
//
// Every number in the file is little-endian and is read byte by byte, so the readers need no
// alignment and run on hosts of either byte order. Positions inside the image are 64-bit byte
// offsets from its start, so that sums of file words can never wrap before they are checked.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcData.h"

#include <cstdint>

// The 16-bit and 32-bit little-endian values stored at p (the caller has checked the extent).
inline WORD SpcToHostWord(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}
inline DWORD SpcToHostDword(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

// The low 16 bits of a file word, as the signed 16-bit answer field that keeps them.
inline SHORT SpcLow16(DWORD dw)
{
    return static_cast<SHORT>(static_cast<WORD>(dw & 0xFFFF));
}

// The readable extent of one image: its start and the number of bytes that may be read (the
// header's file size once that has been checked against the real length). Reads outside the
// extent answer 0 and mark the reader failed; callers check Failed() before trusting a result.
class SpcImage {
public:
    SpcImage(const BYTE* pbBase, uint64_t cbLimit) : m_pbBase(pbBase), m_cbLimit(cbLimit) {}

    const BYTE* Base() const { return m_pbBase; }
    uint64_t Limit() const { return m_cbLimit; }

    // True when the cb bytes at off lie wholly inside the extent.
    bool Contains(uint64_t off, uint64_t cb) const { return off <= m_cbLimit && cb <= m_cbLimit - off; }

    // Offset of a pointer into the image, and the pointer at an offset known to be inside it.
    uint64_t OffsetOf(const BYTE* p) const { return static_cast<uint64_t>(p - m_pbBase); }
    const BYTE* At(uint64_t off) const { return m_pbBase + off; }

    DWORD Dword(uint64_t off) const;
    WORD Word(uint64_t off) const;
    BYTE Byte(uint64_t off) const;

    // Marks the reader failed (a record or list ran past the extent).
    void Fail() const { m_bFailed = true; }
    bool Failed() const { return m_bFailed; }

private:
    const BYTE* m_pbBase;
    uint64_t m_cbLimit;
    mutable bool m_bFailed = false;
};

// Walks a variable record field by field: each skip or read is checked against the image, and
// the first one that runs past it leaves the walk failed (and the image reader with it).
class SpcWalk {
public:
    SpcWalk(const SpcImage& img, uint64_t off) : m_img(img), m_off(off) { Check(0); }

    uint64_t Offset() const { return m_off; }
    bool Ok() const { return !m_img.Failed(); }

    void Skip(uint64_t cb);
    // Skips a counted list (u32 n, then n entries of cbEntry bytes); answers n.
    DWORD SkipCountedList(uint64_t cbEntry);
    // Skips a valued list (u32 value, u32 n, then n words).
    void SkipValuedList();

private:
    void Check(uint64_t cb);

    const SpcImage& m_img;
    uint64_t m_off;
};

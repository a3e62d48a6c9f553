#include "core/model/SpcBytes.h"

DWORD SpcImage::Dword(uint64_t off) const
{
    if (!Contains(off, 4)) {
        Fail();
        return 0;
    }
    return SpcToHostDword(m_pbBase + off);
}

WORD SpcImage::Word(uint64_t off) const
{
    if (!Contains(off, 2)) {
        Fail();
        return 0;
    }
    return SpcToHostWord(m_pbBase + off);
}

BYTE SpcImage::Byte(uint64_t off) const
{
    if (!Contains(off, 1)) {
        Fail();
        return 0;
    }
    return m_pbBase[off];
}

void SpcWalk::Check(uint64_t cb)
{
    if (!m_img.Contains(m_off, cb)) {
        m_img.Fail();
    }
}

void SpcWalk::Skip(uint64_t cb)
{
    if (m_img.Failed()) {
        return;
    }
    Check(cb);
    if (!m_img.Failed()) {
        m_off += cb;
    }
}

DWORD SpcWalk::SkipCountedList(uint64_t cbEntry)
{
    if (m_img.Failed()) {
        return 0;
    }
    DWORD n = m_img.Dword(m_off);
    Skip(4);
    Skip(static_cast<uint64_t>(n) * cbEntry);  // at most 2^32 * a small entry size: no wrap
    return n;
}

void SpcWalk::SkipValuedList()
{
    Skip(4);
    SkipCountedList(4);
}

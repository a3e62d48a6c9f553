#include "core/model/SpcFrame.h"

namespace {

// How many values an answer keeps of a list of n: n itself, or at most max. The count is taken
// unsigned: a count word that reads as negative in 16 bits is a huge count, clamped to max.
SHORT KeptCount(DWORD n, SHORT sMax)
{
    DWORD dwMax = sMax > 0 ? static_cast<DWORD>(sMax) : 0;
    return static_cast<SHORT>(n < dwMax ? n : dwMax);
}

}  // namespace

uint64_t SpcReadWordList(const SpcImage& img, uint64_t off, SHORT* psCount, SHORT* psValues, SHORT sMax)
{
    return SpcReadFieldList(img, off, 4, 0, 4, psCount, psValues, sMax);
}

uint64_t SpcReadFieldList(const SpcImage& img, uint64_t off, SHORT cbEntry, SHORT cbField, SHORT sWidth,
                          SHORT* psCount, SHORT* psValues, SHORT sMax)
{
    DWORD n = img.Dword(off);
    uint64_t entrySize = cbEntry > 0 ? static_cast<uint64_t>(cbEntry) : 0;
    uint64_t end = off + 4 + static_cast<uint64_t>(n) * entrySize;
    if (img.Failed() || !img.Contains(off, end - off)) {
        img.Fail();
        if (psCount != nullptr) {
            *psCount = 0;
        }
        return end;
    }
    if (psCount == nullptr) {
        return end;
    }
    if (psValues == nullptr) {
        *psCount = static_cast<SHORT>(n);
        return end;
    }
    SHORT sKept = KeptCount(n, sMax);
    *psCount = sKept;
    uint64_t fieldAt = cbField > 0 ? static_cast<uint64_t>(cbField) : 0;
    for (SHORT i = 0; i < sKept; ++i) {
        uint64_t at = off + 4 + static_cast<uint64_t>(i) * entrySize + fieldAt;
        DWORD dwValue = sWidth == 1 ? img.Byte(at) : sWidth == 2 ? img.Word(at) : img.Dword(at);
        psValues[i] = SpcLow16(dwValue);
    }
    return end;
}

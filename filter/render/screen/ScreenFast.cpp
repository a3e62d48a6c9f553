// The screening the filter runs. It sets exactly the dots of the reference, but works on groups of
// sixteen pixels instead of dot by dot:
//   - white is found by 16-byte compares: an all-white row costs one pass over its bytes (64 a
//     step), and of the other rows only the groups between the first and the last ink are looked
//     at, each all-white group with one compare of its 48 bytes;
//   - a group whose pixels are all white or all of the last ink colour seen (text, runs of one
//     colour) needs no values laid out: its pixels give one ink bit each, its dots are the ink bits
//     of their pixels where the threshold is below that colour's value;
//   - the other groups lay out the final values of their pixels once per plane in dot order,
//     biased for a signed compare (white holds value 0, which never prints), and keep them for
//     the next row that repeats the group's pixels, as an enlarged image's rows do, and for the
//     doubled rows of a 2x resolution; a pixel of the last ink colour takes its values without a
//     lookup, other colours are converted afresh, without the reference's colour cache (see
//     ColorValuesUncached);
//   - dots are compared sixteen at a time: one compare of values against thresholds gives sixteen
//     dot bits, OR-ed into two bitmap bytes.
// The groups are anchored to the bitmap's bytes: group g covers 16 x mulX dots from the first
// bitmap byte of the band's columns on, so every bitmap byte belongs to one group. The groups at
// the two ends of the band's columns, which may reach beyond them, are screened dot-exactly.
//
// On a CPU with AVX2, BMI1 and BMI2 (ScreenSimdLevel(context)) the groups between the two ends go four
// at a time, 64 pixels: white is passed over 128 bytes a compare; four groups of white and the last
// ink colour take their 64 ink bits from byte compares gathered with PEXT, and their dots from 64
// threshold compares at once, a plane where the colour's value is 0 not at all; four groups that
// hold anything else go group by group as above, and so do, without that test, four groups of
// which one held many colours when last laid out (an image's rows). With AVX-512 (BW and VBMI) the same four groups
// are shuffled into dot order, one 64-byte register a channel (its bytes already in the bitmap's
// bit order), so that one compare gives white, ink or dot bits for 64 dots.
//
// The working memory lives in the context (ScreenScratch.h), so a band allocates nothing.
#include "filter/render/screen/ScreenFast.h"

#include "filter/render/screen/ScreenFrame.h"
#include "filter/render/screen/ScreenReference.h"
#include "filter/render/screen/ScreenScratch.h"
#include "filter/render/screen/ScreenSimd.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// _mm_movemask_epi8 puts dot n of a 16-dot group into bit n; the bitmap wants the leftmost dot in
// bit 7 of its byte.
struct BitReverse {
    BYTE v[256];
    constexpr BitReverse() : v{}
    {
        for (int i = 0; i < 256; ++i) {
            int r = 0;
            for (int b = 0; b < 8; ++b) {
                r |= ((i >> b) & 1) << (7 - b);
            }
            v[i] = static_cast<BYTE>(r);
        }
    }
};
constexpr BitReverse kReverse;

constexpr size_t kGroupPixels = 16;

inline size_t Aligned(size_t bytes)
{
    return (bytes + 63) & ~static_cast<size_t>(63);
}
constexpr size_t kGroupBytes = 3 * kGroupPixels;

// Values are stored with their top bit flipped, so that a signed byte compare orders them as
// unsigned; value 0 is stored as kBias.
constexpr BYTE kBias = 0x80;

// A pixel's three bytes as one key; white is the one key with all 24 bits set.
constexpr uint32_t kWhiteKey = 0xFFFFFF;
constexpr uint32_t kNoKey = 0xFFFFFFFF;  // matches no pixel

inline uint32_t PixelKey(const BYTE* px)
{
    return static_cast<uint32_t>(px[0]) | (static_cast<uint32_t>(px[1]) << 8) | (static_cast<uint32_t>(px[2]) << 16);
}

inline __m128i Load(const BYTE* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Bit n set where byte n of the 16 at p is not 255.
inline unsigned InkBits16(const BYTE* p)
{
    return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(Load(p), _mm_set1_epi8(-1)))) & 0xFFFF;
}

inline bool AllWhite64(const BYTE* p)
{
    const __m128i both = _mm_and_si128(_mm_and_si128(Load(p), Load(p + 16)), _mm_and_si128(Load(p + 32), Load(p + 48)));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(both, _mm_set1_epi8(-1))) == 0xFFFF;
}

// The first byte of p[0, n) that is not 255, or n. Reads nothing outside p[0, n).
size_t FirstInk(const BYTE* p, size_t n)
{
    size_t pos = 0;
    while (pos + 64 <= n && AllWhite64(p + pos)) {
        pos += 64;
    }
    for (; pos + 16 <= n; pos += 16) {
        const unsigned ink = InkBits16(p + pos);
        if (ink != 0) {
            return pos + static_cast<size_t>(__builtin_ctz(ink));
        }
    }
    if (pos < n && n >= 16) {
        // The last bytes through one load that ends at n, without the bytes before pos.
        const unsigned ink = InkBits16(p + n - 16) >> (16 - (n - pos));
        return ink != 0 ? pos + static_cast<size_t>(__builtin_ctz(ink)) : n;
    }
    for (; pos < n; ++pos) {
        if (p[pos] != 255) {
            return pos;
        }
    }
    return n;
}

// The last byte of p[0, n) that is not 255; the caller knows there is one.
size_t LastInk(const BYTE* p, size_t n)
{
    size_t end = n;
    while (end >= 64 && AllWhite64(p + end - 64)) {
        end -= 64;
    }
    for (; end >= 16; end -= 16) {
        const unsigned ink = InkBits16(p + end - 16);
        if (ink != 0) {
            return end - 16 + static_cast<size_t>(31 - __builtin_clz(ink));
        }
    }
    while (end > 1 && p[end - 1] == 255) {
        --end;
    }
    return end - 1;
}

// Bits 0, 3, 6, ... 45 of x packed into bits 0 to 15.
inline uint32_t EveryThirdBit(uint64_t x)
{
    x &= 0x1249249249249249ULL;
    x = (x ^ (x >> 2)) & 0x10C30C30C30C30C3ULL;
    x = (x ^ (x >> 4)) & 0x100F00F00F00F00FULL;
    x = (x ^ (x >> 8)) & 0x001F0000FF0000FFULL;
    x = (x ^ (x >> 16)) & 0x001F00000000FFFFULL;
    x = (x ^ (x >> 32)) & 0x00000000001FFFFFULL;
    return static_cast<uint32_t>(x);
}

// Every bit of the low 16 doubled: bit n to bits 2n and 2n + 1.
inline uint32_t DoubleBits(uint32_t x)
{
    x = (x | (x << 8)) & 0x00FF00FFu;
    x = (x | (x << 4)) & 0x0F0F0F0Fu;
    x = (x | (x << 2)) & 0x33333333u;
    x = (x | (x << 1)) & 0x55555555u;
    return x | (x << 1);
}

// Bit 3n set where pixel n of the group (48 bytes from p) is all three bytes of `pattern`, the
// colour's bytes as the three loads see them.
inline uint64_t PixelsOf(const BYTE* p, const __m128i* pattern)
{
    const uint64_t bytes = static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(Load(p), pattern[0]))) |
                           (static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(Load(p + 16), pattern[1]))) << 16) |
                           (static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(Load(p + 32), pattern[2]))) << 32);
    return bytes & (bytes >> 1) & (bytes >> 2) & 0x249249249249ULL;
}

inline void ColourPattern(uint32_t key, __m128i* pattern)
{
    BYTE bytes[kGroupBytes];
    for (size_t i = 0; i < kGroupBytes; ++i) {
        bytes[i] = static_cast<BYTE>(key >> (8 * (i % 3)));
    }
    for (size_t k = 0; k < 3; ++k) {
        pattern[k] = Load(bytes + 16 * k);
    }
}

// Whether the 48 bytes at p are a, b and c.
inline bool Same48(__m128i a, __m128i b, __m128i c, const BYTE* p)
{
    const __m128i same = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(a, Load(p)), _mm_cmpeq_epi8(b, Load(p + 16))),
                                       _mm_cmpeq_epi8(c, Load(p + 32)));
    return _mm_movemask_epi8(same) == 0xFFFF;
}

// OR-s sixteen dot bits (dot n in bit n) into two bitmap bytes.
inline void SetDots16(unsigned bits, BYTE* out)
{
    out[0] |= kReverse.v[bits & 0xFF];
    out[1] |= kReverse.v[(bits >> 8) & 0xFF];
}

// Dot bits of sixteen biased values against sixteen thresholds.
inline unsigned Compare16(__m128i biasedValues, const BYTE* thresholds)
{
    const __m128i t = _mm_xor_si128(Load(thresholds), _mm_set1_epi8(static_cast<char>(kBias)));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(biasedValues, t)));
}

// Sets the dots [dotFirst, dotEnd) of one plane row where the threshold is below the value.
// `values` holds the biased value of dot i at i from dotFirst rounded down to a multiple of 8 to
// dotEnd rounded up to one (dots outside [dotFirst, dotEnd) hold value 0). The threshold row holds
// `thresholdDots` dots, at least dotEnd; dot i is bit 7 - i % 8 of out[i / 8].
void ScreenDots(const BYTE* values, size_t dotFirst, size_t dotEnd, const BYTE* thresholds, size_t thresholdDots,
                BYTE* out)
{
    const __m128i bias = _mm_set1_epi8(static_cast<char>(kBias));
    const size_t alignedEnd = (dotEnd + 7) & ~static_cast<size_t>(7);
    // Whole groups only where the threshold row has all their dots.
    const size_t vectorEnd = alignedEnd <= thresholdDots ? alignedEnd : thresholdDots & ~static_cast<size_t>(7);
    size_t dot = dotFirst & ~static_cast<size_t>(7);
    for (; dot + 16 <= vectorEnd; dot += 16) {
        SetDots16(Compare16(Load(values + dot), thresholds + dot), out + dot / 8);
    }
    if (dot + 8 <= vectorEnd) {
        const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(values + dot));
        const __m128i t = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(thresholds + dot));
        const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(v, _mm_xor_si128(t, bias))));
        out[dot / 8] |= kReverse.v[bits & 0xFF];
        dot += 8;
    }
    // The page's last dots, where the threshold row ends inside their byte.
    for (; dot < dotEnd; ++dot) {
        const BYTE value = static_cast<BYTE>(values[dot] ^ kBias);
        out[dot / 8] |= static_cast<BYTE>((thresholds[dot] < value ? 1 : 0) << (7 - dot % 8));
    }
}

inline bool AllWhite48(const BYTE* p)
{
    const __m128i all = _mm_and_si128(_mm_and_si128(Load(p), Load(p + 16)), Load(p + 32));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(all, _mm_set1_epi8(-1))) == 0xFFFF;
}

// Each byte's bits in reverse order: dot n in bit n becomes the bitmap's dot order, the leftmost
// dot of a byte in its bit 7.
inline uint64_t ReverseBitsInBytes(uint64_t x)
{
    x = ((x >> 1) & 0x5555555555555555ULL) | ((x & 0x5555555555555555ULL) << 1);
    x = ((x >> 2) & 0x3333333333333333ULL) | ((x & 0x3333333333333333ULL) << 2);
    return ((x >> 4) & 0x0F0F0F0F0F0F0F0FULL) | ((x & 0x0F0F0F0F0F0F0F0FULL) << 4);
}

// OR-s 64 dot bits (dot n in bit n) into eight bitmap bytes.
inline void SetDots64(uint64_t bits, BYTE* out)
{
    uint64_t bytes;
    std::memcpy(&bytes, out, sizeof(bytes));
    bytes |= ReverseBitsInBytes(bits);
    std::memcpy(out, &bytes, sizeof(bytes));
}

// ----- AVX2 and BMI2, run only where ScreenSimdLevel(context) says the CPU has them.
#define ORV_TARGET_AVX2 __attribute__((target("avx2,bmi,bmi2")))

ORV_TARGET_AVX2 inline __m256i Load32(const BYTE* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Bit n set where byte n of a equals byte n of b.
ORV_TARGET_AVX2 inline uint32_t Mask32(__m256i a, __m256i b)
{
    return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, b)));
}

// Bit n set where all three bytes of pixel n of 64 are marked; `bytes` marks byte 32 i + b in bit
// b of bytes[i].
ORV_TARGET_AVX2 inline uint64_t PixelBits64(const uint32_t* bytes)
{
    const uint64_t w0 = bytes[0] | (static_cast<uint64_t>(bytes[1]) << 32);
    const uint64_t w1 = bytes[2] | (static_cast<uint64_t>(bytes[3]) << 32);
    const uint64_t w2 = bytes[4] | (static_cast<uint64_t>(bytes[5]) << 32);
    constexpr uint64_t k48 = 0xFFFFFFFFFFFFULL;
    // Sixteen pixels (48 bytes) at a time, so that no pixel straddles two words.
    const uint64_t fields[4] = {w0 & k48, ((w0 >> 48) | (w1 << 16)) & k48, ((w1 >> 32) | (w2 << 32)) & k48, w2 >> 16};
    uint64_t pixels = 0;
    for (size_t i = 0; i < 4; ++i) {
        const uint64_t f = fields[i];
        pixels |= _pext_u64(f & (f >> 1) & (f >> 2), 0x249249249249ULL) << (16 * i);
    }
    return pixels;
}

// Every bit of the low 32 doubled: bit n to bits 2n and 2n + 1.
ORV_TARGET_AVX2 inline uint64_t DoubleBits32(uint64_t x)
{
    const uint64_t spread = _pdep_u64(x, 0x5555555555555555ULL);
    return spread | (spread << 1);
}

// Dot bits of 64 thresholds against one biased value (dot n in bit n).
ORV_TARGET_AVX2 inline uint64_t Compare64(__m256i biasedValue, const BYTE* thresholds)
{
    const __m256i bias = _mm256_set1_epi8(static_cast<char>(kBias));
    const uint32_t low = static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpgt_epi8(biasedValue, _mm256_xor_si256(Load32(thresholds), bias))));
    const uint32_t high = static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpgt_epi8(biasedValue, _mm256_xor_si256(Load32(thresholds + 32), bias))));
    return low | (static_cast<uint64_t>(high) << 32);
}

// Whether the 128 bytes at p are all 255.
ORV_TARGET_AVX2 inline bool AllWhite128(const BYTE* p)
{
    const __m256i all =
        _mm256_and_si256(_mm256_and_si256(Load32(p), Load32(p + 32)), _mm256_and_si256(Load32(p + 64), Load32(p + 96)));
    return _mm256_movemask_epi8(_mm256_cmpeq_epi8(all, _mm256_set1_epi8(-1))) == -1;
}

// FirstInk and LastInk, passing over white 128 bytes a step.
ORV_TARGET_AVX2 size_t FirstInkAvx2(const BYTE* p, size_t n)
{
    size_t pos = 0;
    while (pos + 128 <= n && AllWhite128(p + pos)) {
        pos += 128;
    }
    return pos + FirstInk(p + pos, n - pos);
}

ORV_TARGET_AVX2 size_t LastInkAvx2(const BYTE* p, size_t n)
{
    while (n >= 128 && AllWhite128(p + n - 128)) {
        n -= 128;
    }
    return LastInk(p, n);
}

// ----- AVX-512 (F, BW, VBMI), run only where ScreenSimdLevel(context) says the CPU has it.
#define ORV_TARGET_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi,avx2,bmi,bmi2")))

// Lane n of a vector of 64 dots holds dot 8 (n / 8) + 7 - n % 8, so that bit n of a compare's mask
// is the bit the bitmap wants: bytes in order, the leftmost dot of a byte in its bit 7.
constexpr size_t LaneDot(size_t lane)
{
    return (lane & ~static_cast<size_t>(7)) + 7 - (lane & 7);
}

// Byte shuffles that lay 64 pixels (192 bytes in three registers) out as dots in lane order.
struct DotShuffles {
    // [mulX - 1][half][channel]: lane n takes byte `channel` of the pixel of dot 64 half +
    // LaneDot(n); counted for 1x from the first register (bytes 128 on are the third's), for 2x
    // from register `half`, the first of the two that hold the pixels of that half.
    BYTE pixel[2][2][3][64];
    BYTE reverse[64];  // lane n takes byte LaneDot(n): thresholds in lane order

    constexpr DotShuffles() : pixel{}, reverse{}
    {
        for (size_t n = 0; n < 64; ++n) {
            reverse[n] = static_cast<BYTE>(LaneDot(n));
            for (size_t channel = 0; channel < 3; ++channel) {
                pixel[0][0][channel][n] = static_cast<BYTE>(3 * LaneDot(n) + channel);
                for (size_t half = 0; half < 2; ++half) {
                    const size_t px = (64 * half + LaneDot(n)) / 2;
                    pixel[1][half][channel][n] = static_cast<BYTE>(3 * px + channel - 64 * half);
                }
            }
        }
    }
};
constexpr DotShuffles kDotShuffles;

ORV_TARGET_AVX512 inline __m512i Load64(const BYTE* p)
{
    return _mm512_loadu_si512(p);
}

// One channel of 64 pixels in lane order, from the three registers that hold them.
ORV_TARGET_AVX512 inline __m512i Channel1x(__m512i b0, __m512i b1, __m512i b2, const BYTE* shuffle)
{
    const __m512i index = Load64(shuffle);
    const __mmask64 third = _mm512_cmpge_epu8_mask(index, _mm512_set1_epi8(static_cast<char>(128)));
    return _mm512_mask_permutexvar_epi8(_mm512_permutex2var_epi8(b0, index, b1), third, index, b2);
}

// OR-s 64 dot bits already in the bitmap's order into eight bitmap bytes.
inline void OrBytes64(uint64_t bits, BYTE* out)
{
    uint64_t bytes;
    std::memcpy(&bytes, out, sizeof(bytes));
    bytes |= bits;
    std::memcpy(out, &bytes, sizeof(bytes));
}

// The last ink colour whose values were looked up, kept across rows and groups: text alternates
// between white and one ink, and an image's runs keep one colour.
template <size_t kPlanes>
struct LastColour {
    uint32_t key = kNoKey;
    BYTE biased[kPlanes] = {};
    // For the groups of white and this colour: its bytes as a group's loads see them, and each
    // plane's value in every byte; built when first needed.
    uint32_t patternKey = kNoKey;
    __m128i pattern[3];
    __m128i values[kPlanes];
    alignas(32) BYTE patternBytes[96];  // byte n is byte n % 3 of the colour

    void Prepare()
    {
        if (patternKey != key) {
            ColourPattern(key, pattern);
            for (size_t i = 0; i < sizeof(patternBytes); ++i) {
                patternBytes[i] = static_cast<BYTE>(key >> (8 * (i % 3)));
            }
            for (size_t p = 0; p < kPlanes; ++p) {
                values[p] = _mm_set1_epi8(static_cast<char>(biased[p]));
            }
            patternKey = key;
        }
    }
};

// A group whose pixels were all white or of one colour: the row it was seen in, the colour and
// the pixels of that colour (bit n for pixel n).
struct InkGroup {
    const BYTE* row;
    uint32_t key;
    uint32_t pixelBits;
};

// A group whose values are laid out: the row whose pixels they are, and whether those hold more
// than one colour besides white.
struct LaidOutGroup {
    const BYTE* row;
    bool mixed;
};

// The rows of thresholds and bitmap bytes that one band row is screened into: nMulY bitmap rows
// of every plane, addressed from the first bitmap byte of the band's columns.
template <size_t kPlanes, size_t kMulY>
struct RowTargets {
    const BYTE* thresholds[kMulY][kPlanes];
    BYTE* out[kMulY][kPlanes];
};

template <size_t kPlanes, size_t kMulX, size_t kMulY>
class GroupScreen {
public:
    static constexpr size_t kGroupDots = kGroupPixels * kMulX;

    explicit GroupScreen(const tagSCREENFRAME& f) : m_frame(f)
    {
        m_columns = f.nColEnd - f.nColFirst;
        m_base = (f.nDstCol * kMulX) & ~static_cast<size_t>(7);
        m_lead = f.nDstCol * kMulX - m_base;  // 0 to 7, even when kMulX is 2
        m_leadPixels = m_lead / kMulX;
        m_thresholdDots = f.cbMatrixRow - m_base;
        m_groups = (m_leadPixels + m_columns + kGroupPixels - 1) / kGroupPixels;
        m_innerFirst = m_leadPixels == 0 ? 0 : 1;
        m_innerEnd = (m_leadPixels + m_columns) / kGroupPixels;
        m_level = ScreenSimdLevel(f.pContext);
    }

    // Takes the working memory from the context's scratch; false when it cannot be had.
    bool Allocate(tagRENDERCONTEXT* context)
    {
        m_stride = m_groups * kGroupDots + 16;
        const size_t valuesBytes = Aligned(kPlanes * m_stride);
        const size_t laidOutBytes = Aligned(m_groups * sizeof(LaidOutGroup));
        const size_t inkedBytes = Aligned((m_groups / 64 + 1) * sizeof(uint64_t));
        const size_t inkGroupsBytes = Aligned(m_groups * sizeof(InkGroup));
        BYTE* bytes = ScreenScratchBytes(context, valuesBytes + laidOutBytes + inkedBytes + inkGroupsBytes);
        if (bytes == nullptr) {
            return false;
        }
        m_values = bytes;
        m_laidOut = reinterpret_cast<LaidOutGroup*>(bytes + valuesBytes);
        m_inked = reinterpret_cast<uint64_t*>(bytes + valuesBytes + laidOutBytes);
        m_inkGroups = reinterpret_cast<InkGroup*>(bytes + valuesBytes + laidOutBytes + inkedBytes);
        // What the last band left is of rows that are gone.
        for (size_t g = 0; g < m_groups; ++g) {
            new (&m_laidOut[g]) LaidOutGroup{nullptr, false};
            new (&m_inkGroups[g]) InkGroup{nullptr, kNoKey, 0};
        }
        return true;
    }

    template <typename Values>
    void Screen(DWORD inkBits, DWORD* inkMask, const Values& values)
    {
        const tagSCREENFRAME& f = m_frame;
        const size_t rowBytes = 3 * m_columns;
        for (size_t sr = f.nRowFirst; sr < f.nRowEnd; ++sr) {
            const BYTE* row = f.pPixels + sr * f.cbStride + 3 * f.nColFirst;
            const bool wide = m_level != ScreenSimd::Sse2;
            const size_t first = wide ? FirstInkAvx2(row, rowBytes) : FirstInk(row, rowBytes);
            if (first == rowBytes) {
                continue;
            }
            *inkMask |= inkBits;
            const size_t last = wide ? LastInkAvx2(row, rowBytes) : LastInk(row, rowBytes);

            RowTargets<kPlanes, kMulY> t;
            const size_t r = f.nDstRow + (sr - f.nRowFirst);
            for (size_t ky = 0; ky < kMulY; ++ky) {
                const size_t bitmapRow = r * kMulY + ky;
                for (size_t p = 0; p < kPlanes; ++p) {
                    t.thresholds[ky][p] = f.apMatrix[p] + (bitmapRow % f.anMatrixHeight[p]) * f.cbMatrixRow + m_base;
                    t.out[ky][p] = f.apPlane[p] + bitmapRow * f.cbPlaneRow + m_base / 8;
                }
            }
            const size_t groupFirst = (first / 3 + m_leadPixels) / kGroupPixels;
            const size_t groupLast = (last / 3 + m_leadPixels) / kGroupPixels;
            if (groupFirst < m_innerFirst) {
                EdgeGroup(row, groupFirst, t, values);  // group 0 starts before the columns
            }
            const size_t innerFrom = std::max(groupFirst, m_innerFirst);
            const size_t innerTo = std::min(groupLast + 1, m_innerEnd);
            if (m_level == ScreenSimd::Avx512) {
                InnerGroupsAvx512(row, innerFrom, innerTo, t, values);
            } else if (m_level == ScreenSimd::Avx2) {
                InnerGroupsAvx2(row, innerFrom, innerTo, t, values);
            } else {
                MarkInkedGroups(row, groupFirst, groupLast);
                for (size_t w = groupFirst / 64; w <= groupLast / 64; ++w) {
                    for (uint64_t bits = m_inked[w]; bits != 0; bits &= bits - 1) {
                        InnerGroup(row, 64 * w + static_cast<size_t>(__builtin_ctzll(bits)), t, values);
                    }
                }
            }
            if (groupLast >= m_innerEnd && groupLast >= m_innerFirst) {
                EdgeGroup(row, groupLast, t, values);  // the last group ends after the columns
            }
        }
    }

private:
    // The groups [from, to) of one row, all within the columns, four at a time (64 pixels, 192
    // bytes): four white groups are passed over with one compare, four of white and the last ink
    // colour are screened from their pixels' ink bits, 64 dots a compare, and any others group by
    // group as InnerGroup screens them.
    template <typename Values>
    ORV_TARGET_AVX2 void InnerGroupsAvx2(const BYTE* row, size_t from, size_t to, const RowTargets<kPlanes, kMulY>& t,
                                         const Values& values)
    {
        const __m256i white = _mm256_set1_epi8(-1);
        size_t g = from;
        for (; g + 4 <= to; g += 4) {
            const BYTE* px = row + 3 * (g * kGroupPixels - m_leadPixels);
            const __m256i b0 = Load32(px), b1 = Load32(px + 32), b2 = Load32(px + 64);
            const __m256i b3 = Load32(px + 96), b4 = Load32(px + 128), b5 = Load32(px + 160);
            const __m256i all = _mm256_and_si256(_mm256_and_si256(_mm256_and_si256(b0, b1), b2),
                                                 _mm256_and_si256(_mm256_and_si256(b3, b4), b5));
            if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(all, white)) == -1) {
                continue;
            }
            if (m_last.key != kNoKey && !HeldManyColours(g)) {
                m_last.Prepare();
                // The colour's bytes as loads 0 and 3, 1 and 4, 2 and 5 see them.
                const __m256i c0 = Load32(m_last.patternBytes), c1 = Load32(m_last.patternBytes + 32),
                              c2 = Load32(m_last.patternBytes + 64);
                const uint32_t whiteBytes[6] = {Mask32(b0, white), Mask32(b1, white), Mask32(b2, white),
                                                Mask32(b3, white), Mask32(b4, white), Mask32(b5, white)};
                const uint32_t inkBytes[6] = {Mask32(b0, c0), Mask32(b1, c1), Mask32(b2, c2),
                                              Mask32(b3, c0), Mask32(b4, c1), Mask32(b5, c2)};
                const uint64_t inkPixels = PixelBits64(inkBytes);
                if ((PixelBits64(whiteBytes) | inkPixels) == ~0ULL) {
                    InkDots64(g, inkPixels, t);
                    continue;
                }
            }
            GroupByGroup(row, g, g + 4, t, values);
        }
        GroupByGroup(row, g, to, t, values);
    }

    // The dots of four groups from g on whose pixels are white or of the last ink colour, `pixels`
    // marking the ink (bit n for pixel n). A plane the colour gives value 0 gets no dots.
    ORV_TARGET_AVX2 void InkDots64(size_t g, uint64_t pixels, const RowTargets<kPlanes, kMulY>& t)
    {
        const size_t dot = g * kGroupDots;
        uint64_t dots[kMulX];
        if (kMulX == 1) {
            dots[0] = pixels;
        } else {
            dots[0] = DoubleBits32(pixels & 0xFFFFFFFFULL);
            dots[kMulX - 1] = DoubleBits32(pixels >> 32);
        }
        for (size_t p = 0; p < kPlanes; ++p) {
            if (m_last.biased[p] == kBias) {
                continue;
            }
            const __m256i value = _mm256_set1_epi8(static_cast<char>(m_last.biased[p]));
            for (size_t k = 0; k < kMulY; ++k) {
                for (size_t h = 0; h < kMulX; ++h) {
                    SetDots64(Compare64(value, t.thresholds[k][p] + dot + 64 * h) & dots[h],
                              t.out[k][p] + dot / 8 + 8 * h);
                }
            }
        }
    }

    // InnerGroupsAvx2 with 64-byte registers: the pixels of four groups are shuffled into dot
    // order, one register a channel, so that one compare gives a bit a dot.
    template <typename Values>
    ORV_TARGET_AVX512 void InnerGroupsAvx512(const BYTE* row, size_t from, size_t to,
                                             const RowTargets<kPlanes, kMulY>& t, const Values& values)
    {
        const __m512i white = _mm512_set1_epi8(-1);
        size_t g = from;
        for (; g + 4 <= to; g += 4) {
            const BYTE* px = row + 3 * (g * kGroupPixels - m_leadPixels);
            const __m512i b0 = Load64(px), b1 = Load64(px + 64), b2 = Load64(px + 128);
            if (_mm512_cmpeq_epi8_mask(_mm512_ternarylogic_epi32(b0, b1, b2, 0x80), white) == ~0ULL) {
                continue;
            }
            if (m_last.key != kNoKey && !HeldManyColours(g)) {
                const __m512i red = _mm512_set1_epi8(static_cast<char>(m_last.key));
                const __m512i green = _mm512_set1_epi8(static_cast<char>(m_last.key >> 8));
                const __m512i blue = _mm512_set1_epi8(static_cast<char>(m_last.key >> 16));
                uint64_t ink[kMulX];
                uint64_t covered = ~0ULL;  // dots that are white or of the colour
                for (size_t h = 0; h < kMulX; ++h) {
                    __m512i r, gr, bl;
                    if (kMulX == 1) {
                        r = Channel1x(b0, b1, b2, kDotShuffles.pixel[0][0][0]);
                        gr = Channel1x(b0, b1, b2, kDotShuffles.pixel[0][0][1]);
                        bl = Channel1x(b0, b1, b2, kDotShuffles.pixel[0][0][2]);
                    } else {
                        const __m512i low = h == 0 ? b0 : b1, high = h == 0 ? b1 : b2;
                        r = _mm512_permutex2var_epi8(low, Load64(kDotShuffles.pixel[1][h][0]), high);
                        gr = _mm512_permutex2var_epi8(low, Load64(kDotShuffles.pixel[1][h][1]), high);
                        bl = _mm512_permutex2var_epi8(low, Load64(kDotShuffles.pixel[1][h][2]), high);
                    }
                    const __mmask64 whiteDots =
                        _mm512_cmpeq_epi8_mask(_mm512_ternarylogic_epi32(r, gr, bl, 0x80), white);
                    ink[h] = _mm512_mask_cmpeq_epi8_mask(
                        _mm512_mask_cmpeq_epi8_mask(_mm512_cmpeq_epi8_mask(r, red), gr, green), bl, blue);
                    covered &= whiteDots | ink[h];
                }
                if (covered == ~0ULL) {
                    InkDots512(g, ink, t);
                    continue;
                }
            }
            GroupByGroup(row, g, g + 4, t, values);
        }
        GroupByGroup(row, g, to, t, values);
    }

    // The groups [from, to) one by one as InnerGroup screens them, all-white ones passed over. A
    // white group is no longer of many colours: the four groups it belongs to try their ink first
    // again.
    template <typename Values>
    void GroupByGroup(const BYTE* row, size_t from, size_t to, const RowTargets<kPlanes, kMulY>& t,
                      const Values& values)
    {
        for (size_t g = from; g < to; ++g) {
            if (AllWhite48(row + 3 * (g * kGroupPixels - m_leadPixels))) {
                m_laidOut[g].mixed = false;
            } else {
                InnerGroup(row, g, t, values);
            }
        }
    }

    // Whether one of the four groups from g on held more than one colour besides white when it was
    // last laid out. Images keep their many colours from row to row: their four groups go straight
    // to InnerGroup, which lays them out, without first trying them as white and one ink.
    bool HeldManyColours(size_t g) const
    {
        return m_laidOut[g].mixed || m_laidOut[g + 1].mixed || m_laidOut[g + 2].mixed || m_laidOut[g + 3].mixed;
    }

    // InkDots64 with the ink's dots in lane order, kMulX registers of 64.
    ORV_TARGET_AVX512 void InkDots512(size_t g, const uint64_t* ink, const RowTargets<kPlanes, kMulY>& t)
    {
        const size_t dot = g * kGroupDots;
        const __m512i reverse = Load64(kDotShuffles.reverse);
        for (size_t p = 0; p < kPlanes; ++p) {
            if (m_last.biased[p] == kBias) {
                continue;
            }
            const __m512i value = _mm512_set1_epi8(static_cast<char>(m_last.biased[p] ^ kBias));
            for (size_t k = 0; k < kMulY; ++k) {
                for (size_t h = 0; h < kMulX; ++h) {
                    // (maskz with every lane: the plain form's unset pass-through trips GCC 12's
                    // uninitialised-value warning.)
                    const __m512i thresholds =
                        _mm512_maskz_permutexvar_epi8(~0ULL, reverse, Load64(t.thresholds[k][p] + dot + 64 * h));
                    OrBytes64(_mm512_mask_cmplt_epu8_mask(ink[h], thresholds, value), t.out[k][p] + dot / 8 + 8 * h);
                }
            }
        }
    }

    // Sets the bits of m_inked for the groups within the columns in [groupFirst, groupLast] that
    // hold a pixel that is not white, one compare of 48 bytes a group.
    void MarkInkedGroups(const BYTE* row, size_t groupFirst, size_t groupLast)
    {
        const __m128i white = _mm_set1_epi8(-1);
        for (size_t w = groupFirst / 64; w <= groupLast / 64; ++w) {
            const size_t from = std::max({groupFirst, 64 * w, m_innerFirst});
            const size_t to = std::min({groupLast + 1, 64 * w + 64, m_innerEnd});
            uint64_t word = 0;
            if (from < to) {
                const BYTE* px = row + 3 * (from * kGroupPixels - m_leadPixels);
                for (size_t bit = from % 64; bit < to - 64 * w; ++bit, px += kGroupBytes) {
                    const __m128i all = _mm_and_si128(_mm_and_si128(Load(px), Load(px + 16)), Load(px + 32));
                    word |= static_cast<uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(all, white)) != 0xFFFF) << bit;
                }
            }
            m_inked[w] = word;
        }
    }

    // Lays out the biased values of pixels [first, end), their dots from `dot` on. Returns whether
    // they hold more than one colour besides white.
    template <typename Values>
    bool LayOut(const BYTE* row, size_t first, size_t end, size_t dot, const Values& values)
    {
        bool ink = false, mixed = false;
        for (size_t c = first; c < end; ++c, dot += kMulX) {
            const BYTE* px = row + 3 * c;
            const uint32_t key = PixelKey(px);
            const bool white = key == kWhiteKey;
            if (!white && key != m_last.key) {
                mixed = mixed || ink;  // a colour after another one
                BYTE v[kPlanes];
                values(px, v);
                for (size_t p = 0; p < kPlanes; ++p) {
                    m_last.biased[p] = static_cast<BYTE>(v[p] ^ kBias);
                }
                m_last.key = key;
            }
            ink = ink || !white;
            const BYTE keep = white ? 0 : 0xFF;  // white holds value 0, the bias
            for (size_t p = 0; p < kPlanes; ++p) {
                const BYTE value = static_cast<BYTE>((m_last.biased[p] & keep) | (kBias & ~keep));
                m_values[p * m_stride + dot] = value;
                m_values[p * m_stride + dot + kMulX - 1] = value;
            }
        }
        return mixed;
    }

    // Kept out of line: the AVX2 and AVX-512 loops call it as a function, and the compiler clears
    // the wide registers' upper halves (vzeroupper) before the call. Inlined into them, the SSE
    // helpers it calls were left out of line and called without that, so that their every SSE
    // instruction paid for the dirty upper halves: the text of a page screened several times slower.
    template <typename Values>
    __attribute__((noinline)) void InnerGroup(const BYTE* row, size_t g, const RowTargets<kPlanes, kMulY>& t,
                                              const Values& values)
    {
        const size_t first = g * kGroupPixels - m_leadPixels;
        const BYTE* px = row + 3 * first;
        const __m128i a = Load(px), b = Load(px + 16), c = Load(px + 32);
        const __m128i white = _mm_set1_epi8(-1);
        const size_t dot = g * kGroupDots;
        LaidOutGroup& laidOut = m_laidOut[g];
        // Groups of many colours (images) go straight to their values, until one is found again
        // that holds one colour only.
        if (m_last.key != kNoKey && !laidOut.mixed) {
            m_last.Prepare();
            // Text repeats most of its groups from the row above: their ink bits are kept.
            InkGroup& known = m_inkGroups[g];
            uint32_t pixelBits = 0;
            bool inkOnly = known.key == m_last.key && Same48(a, b, c, known.row + 3 * first);
            if (inkOnly) {
                pixelBits = known.pixelBits;
            } else {
                const __m128i whitePattern[3] = {white, white, white};
                const uint64_t inkPixels = PixelsOf(px, m_last.pattern);
                inkOnly = (inkPixels | PixelsOf(px, whitePattern)) == 0x249249249249ULL;
                if (inkOnly) {
                    pixelBits = EveryThirdBit(inkPixels);
                    known = InkGroup{row, m_last.key, pixelBits};
                }
            }
            if (inkOnly) {
                // White and the last colour only: the colour's value wherever its pixels are.
                const uint32_t dotBits = kMulX == 1 ? pixelBits : DoubleBits(pixelBits);
                for (size_t k = 0; k < kMulY; ++k) {
                    for (size_t p = 0; p < kPlanes; ++p) {
                        for (size_t h = 0; h < kMulX; ++h) {
                            const unsigned bits =
                                Compare16(m_last.values[p], t.thresholds[k][p] + dot + 16 * h) & (dotBits >> (16 * h));
                            SetDots16(bits, t.out[k][p] + dot / 8 + 2 * h);
                        }
                    }
                }
                return;
            }
        }
        if (laidOut.row == nullptr || !Same48(a, b, c, laidOut.row + 3 * first)) {
            laidOut.mixed = LayOut(row, first, first + kGroupPixels, dot, values);
            laidOut.row = row;
        }
        for (size_t k = 0; k < kMulY; ++k) {
            for (size_t p = 0; p < kPlanes; ++p) {
                const BYTE* v = &m_values[p * m_stride + dot];
                for (size_t h = 0; h < kMulX; ++h) {
                    SetDots16(Compare16(Load(v + 16 * h), t.thresholds[k][p] + dot + 16 * h),
                              t.out[k][p] + dot / 8 + 2 * h);
                }
            }
        }
    }

    // A group at either end of the columns: only its pixels within them, dot by dot at the end of
    // the threshold row.
    template <typename Values>
    void EdgeGroup(const BYTE* row, size_t g, const RowTargets<kPlanes, kMulY>& t, const Values& values)
    {
        const size_t groupFirst = g * kGroupPixels;  // counted with the lead pixels
        const size_t first = groupFirst > m_leadPixels ? groupFirst - m_leadPixels : 0;
        const size_t end = std::min(groupFirst + kGroupPixels - m_leadPixels, m_columns);
        const size_t dotFirst = m_lead + first * kMulX;
        const size_t dotEnd = m_lead + end * kMulX;
        const size_t alignedFirst = dotFirst & ~static_cast<size_t>(7);
        const size_t alignedEnd = (dotEnd + 7) & ~static_cast<size_t>(7);
        for (size_t p = 0; p < kPlanes; ++p) {
            std::memset(&m_values[p * m_stride + alignedFirst], kBias, alignedEnd - alignedFirst);
        }
        LayOut(row, first, end, dotFirst, values);
        for (size_t k = 0; k < kMulY; ++k) {
            for (size_t p = 0; p < kPlanes; ++p) {
                ScreenDots(&m_values[p * m_stride], dotFirst, dotEnd, t.thresholds[k][p], m_thresholdDots, t.out[k][p]);
            }
        }
    }

    const tagSCREENFRAME& m_frame;
    size_t m_columns = 0, m_base = 0, m_lead = 0, m_leadPixels = 0, m_thresholdDots = 0;
    size_t m_groups = 0, m_stride = 0;
    size_t m_innerFirst = 0, m_innerEnd = 0;  // the groups wholly within the columns
    // In the context's scratch memory:
    BYTE* m_values = nullptr;  // kPlanes rows of m_stride biased values, by dot
    LaidOutGroup* m_laidOut = nullptr;
    InkGroup* m_inkGroups = nullptr;  // per group: its pixels of one colour, when last seen so
    uint64_t* m_inked = nullptr;      // per group of the row: a bit set when it holds ink
    LastColour<kPlanes> m_last;
    ScreenSimd m_level = ScreenSimd::Sse2;
};

template <size_t kPlanes, size_t kMulX, size_t kMulY, typename Values>
bool ScreenGroups(const tagSCREENFRAME& f, tagRENDERCONTEXT* context, DWORD inkBits, DWORD* inkMask,
                  const Values& values)
{
    GroupScreen<kPlanes, kMulX, kMulY> screen(f);
    if (!screen.Allocate(context)) {
        return false;
    }
    screen.Screen(inkBits, inkMask, values);
    return true;
}

template <size_t kPlanes, typename Values>
bool ScreenRowsFast(const tagSCREENFRAME& f, tagRENDERCONTEXT* context, DWORD inkBits, DWORD* inkMask,
                    const Values& values)
{
    if (f.nRowFirst >= f.nRowEnd || f.nColFirst >= f.nColEnd) {
        return true;
    }
    if (f.nMulX == 2) {
        return f.nMulY == 2 ? ScreenGroups<kPlanes, 2, 2>(f, context, inkBits, inkMask, values)
                            : ScreenGroups<kPlanes, 2, 1>(f, context, inkBits, inkMask, values);
    }
    return f.nMulY == 2 ? ScreenGroups<kPlanes, 1, 2>(f, context, inkBits, inkMask, values)
                        : ScreenGroups<kPlanes, 1, 1>(f, context, inkBits, inkMask, values);
}

// A monochrome or a colour band screened; a band for which the working memory cannot be had goes
// to the reference, which needs none.
WORD ScreenBand(bool mono, uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                tagPAGEBITMAP* bitmap, DWORD* inkMask)
{
    return ScreenInFrame(
        mono, bandSize, pageSize, position, pixels, settings, context, bitmap, inkMask,
        [&](const tagSCREENFRAME& f, DWORD* ink) {
            const bool done =
                mono ? ScreenRowsFast<1>(
                           f, context, INK_MASK_MONO, ink,
                           [&f](const BYTE* px, BYTE* v) { v[0] = MonoValueUncached(f, px[0], px[1], px[2]); })
                     : ScreenRowsFast<SLOT_COUNT>(f, context, INK_MASK_COLOR, ink, [&f](const BYTE* px, BYTE* v) {
                           ColorValuesUncached(f, px[0], px[1], px[2], v);
                       });
            if (done) {
                return FLAG_TRUE;
            }
            return (mono ? ScreenBandMonoReference : ScreenBandColorReference)(bandSize, pageSize, position, pixels,
                                                                               settings, context, options, bitmap, ink);
        });
}

}  // namespace

WORD ScreenBandMono(uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                    const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                    tagPAGEBITMAP* bitmap, DWORD* inkMask)
{
    return ScreenBand(true, bandSize, pageSize, position, pixels, settings, context, options, bitmap, inkMask);
}

WORD ScreenBandColor(uint64_t bandSize, uint64_t pageSize, uint64_t position, const BYTE* pixels,
                     const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options,
                     tagPAGEBITMAP* bitmap, DWORD* inkMask)
{
    return ScreenBand(false, bandSize, pageSize, position, pixels, settings, context, options, bitmap, inkMask);
}

#include "platform/compress/T85Encoder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr BYTE kMarkerEsc = 0xFF;
constexpr BYTE kMarkerSdnorm = 0x02;
constexpr BYTE kMarkerAtmove = 0x06;

// Header option bits (T.82 6.2.4).
constexpr BYTE kOptionTwoLine = 0x40;
constexpr BYTE kOptionTypicalPrediction = 0x08;

// Contexts of the typical-prediction symbol for the two templates (T.82 6.6.1).
constexpr unsigned kTypicalContextTwoLine = 0x195;
constexpr unsigned kTypicalContextThreeLine = 0x0E5;

// Template statistics are gathered over this many pixels of a stripe before the move is decided.
constexpr unsigned long kPixelsBeforeDecision = 2048;

// The fast path reads the template pixel's eight positions from the row's bit register, which
// holds the last 64 pixels; larger shifts take the pixel-by-pixel path.
constexpr int kLargestRegisterShift = 48;

void PutBigEndian32(BYTE* p, unsigned long v)
{
    p[0] = static_cast<BYTE>(v >> 24);
    p[1] = static_cast<BYTE>(v >> 16);
    p[2] = static_cast<BYTE>(v >> 8);
    p[3] = static_cast<BYTE>(v);
}

inline unsigned PixelAt(const uint8_t* pLine, unsigned long x)
{
    return (pLine[x >> 3] >> (7 - (x & 7))) & 1;
}

}  // namespace

T85Encoder::T85Encoder(unsigned long ulWidth, unsigned long ulRows, const T85Options& options, BoundedSink& sink)
    : m_ulWidth(ulWidth), m_ulRows(ulRows), m_cbRow((ulWidth + 7) / 8), m_options(options), m_sink(sink),
      m_coder(sink)
{
}

void T85Encoder::WriteHeader()
{
    BYTE header[20] = {};
    header[2] = 1;  // one plane; DL = D = 0: one layer
    PutBigEndian32(header + 4, m_ulWidth);
    PutBigEndian32(header + 8, m_ulRows);
    PutBigEndian32(header + 12, m_options.ulStripeRows);
    header[16] = static_cast<BYTE>(m_options.nMaxAtShift);
    header[19] = static_cast<BYTE>((m_options.bTwoLineTemplate ? kOptionTwoLine : 0) |
                                   (m_options.bTypicalPrediction ? kOptionTypicalPrediction : 0));
    m_sink.Write(header, sizeof header);
}

void T85Encoder::StartStripe()
{
    if (m_nNewShift != -1 && m_nNewShift != m_nShift) {
        m_nShift = m_nNewShift;
        const BYTE atmove[8] = {kMarkerEsc, kMarkerAtmove, 0, 0, 0, 0, static_cast<BYTE>(m_nShift), 0};
        m_sink.Write(atmove, sizeof atmove);
    }
    if (m_options.nMaxAtShift == 0) {
        m_nNewShift = 0;
    } else {
        m_ulGathered = 0;
        std::fill(m_aulHits, m_aulHits + m_options.nMaxAtShift + 1, 0);
        m_nNewShift = -1;
    }
    m_coder.Restart();
}

bool T85Encoder::IsTypical(const uint8_t* pLine, const uint8_t* pPrev) const
{
    if (pPrev != nullptr) {
        return std::memcmp(pLine, pPrev, m_cbRow) == 0;
    }
    for (unsigned long i = 0; i < m_cbRow; ++i) {
        if (pLine[i] != 0) {
            return false;
        }
    }
    return true;
}

void T85Encoder::EncodeRow(const uint8_t* pLine, const uint8_t* pPrev, const uint8_t* pPrevPrev)
{
    if (m_ulRow >= m_ulRows) {
        return;
    }
    if (m_ulRow < 1) {
        pPrev = nullptr;
    }
    if (m_ulRow < 2) {
        pPrevPrev = nullptr;
    }
    if (m_ulRow == 0) {
        WriteHeader();
    }
    if (m_ulStripeRow == 0) {
        StartStripe();
    }

    bool bTypical = false;
    if (m_options.bTypicalPrediction) {
        bTypical = IsTypical(pLine, pPrev);
        m_coder.Encode(m_options.bTwoLineTemplate ? kTypicalContextTwoLine : kTypicalContextThreeLine,
                       bTypical == m_bLastTypical);
        m_bLastTypical = bTypical;
    }
    if (!bTypical) {
        if (m_options.bTwoLineTemplate) {
            EncodePixels<true>(pLine, pPrev, pPrevPrev);
        } else {
            EncodePixels<false>(pLine, pPrev, pPrevPrev);
        }
    }

    ++m_ulStripeRow;
    ++m_ulRow;
    if (m_ulStripeRow == m_options.ulStripeRows || m_ulRow == m_ulRows) {
        m_coder.Flush();
        const BYTE sdnorm[2] = {kMarkerEsc, kMarkerSdnorm};
        m_sink.Write(sdnorm, sizeof sdnorm);
        m_ulStripeRow = 0;
    }
    if (m_nNewShift == -1 && m_ulGathered > kPixelsBeforeDecision) {
        DecideTemplateMove();
    }
}

// The row's pixels, left to right. Three bit registers hold the neighbourhood: h1 the current row
// up to the pixel being coded (at bit 8) and the rest of its byte, h2 and h3 the two rows above,
// each one byte ahead. The context is cut from them as T.82 figures 3 and 4 (three- and two-row
// templates) lay it out, with the adaptive pixel taken from the current row at the shift TX.
template <bool kTwoLine>
void T85Encoder::EncodePixels(const uint8_t* pLine, const uint8_t* pPrev, const uint8_t* pPrevPrev)
{
    const unsigned long x0 = m_ulWidth;
    const unsigned long ulLastByteStart = m_cbRow * 8 - 8;
    const bool bGathering = m_nNewShift == -1;
    const unsigned long tx = static_cast<unsigned long>(m_nShift);

    // The bits of the registers, at the start of a byte, that reach the contexts of its eight
    // pixels. When they are all clear (and the template pixel's eight positions too), every pixel
    // of the byte is white in context 0.
    constexpr uint64_t kMask1 = kTwoLine ? 0xFFF : 0x3FF;
    constexpr uint64_t kMask2 = kTwoLine ? 0x7FFC0 : 0x3FFC0;
    constexpr uint64_t kMask3 = kTwoLine ? 0 : 0x1FF80;
    const bool bFastPath = !bGathering && static_cast<int>(tx) <= kLargestRegisterShift;
    const uint64_t mask1 = kMask1 | (tx != 0 && bFastPath ? uint64_t(0xFF) << tx : 0);

    uint64_t h1 = 0;
    uint64_t h2 = pPrev != nullptr ? uint64_t(pPrev[0]) << 8 : 0;
    uint64_t h3 = pPrevPrev != nullptr ? uint64_t(pPrevPrev[0]) << 8 : 0;
    unsigned long ulWhite = 0;  // white pixels in context 0 not coded yet
    unsigned long b = 0;
    for (unsigned long j = 0; j < x0; ++b) {
        h1 |= pLine[b];
        if (j < ulLastByteStart && pPrev != nullptr) {
            h2 |= pPrev[b + 1];
            if (pPrevPrev != nullptr) {
                h3 |= pPrevPrev[b + 1];
            }
        }
        if (bFastPath && j + 8 <= x0 && (h1 & mask1) == 0 && (h2 & kMask2) == 0 && (h3 & kMask3) == 0) {
            ulWhite += 8;
            h1 <<= 8;
            h2 <<= 8;
            h3 <<= 8;
            j += 8;
            continue;
        }
        if (ulWhite != 0) {
            m_coder.EncodeWhiteInContextZero(ulWhite);
            ulWhite = 0;
        }
        do {
            h1 <<= 1;
            h2 <<= 1;
            h3 <<= 1;
            unsigned cx;
            if (tx != 0) {
                const unsigned a = tx > j ? 0 : PixelAt(pLine, j - tx);
                if (kTwoLine) {
                    cx = ((h2 >> 10) & 0x3E0) | (a << 4) | ((h1 >> 9) & 0x00F);
                } else {
                    cx = ((h3 >> 8) & 0x380) | ((h2 >> 12) & 0x078) | (a << 2) | ((h1 >> 9) & 0x003);
                }
            } else if (kTwoLine) {
                cx = ((h2 >> 10) & 0x3F0) | ((h1 >> 9) & 0x00F);
            } else {
                cx = ((h3 >> 8) & 0x380) | ((h2 >> 12) & 0x07C) | ((h1 >> 9) & 0x003);
            }
            m_coder.Encode(cx, (h1 >> 8) & 1);
            // (x0 - 2 wraps for a one-dot row, which then counts every pixel: kept, as it decides the bytes)
            if (bGathering && j >= static_cast<unsigned long>(m_options.nMaxAtShift) && j < x0 - 2) {
                GatherTemplateStatistics(pLine, j, h1, h2);
            }
        } while (++j & 7 && j < x0);
    }
    if (ulWhite != 0) {
        m_coder.EncodeWhiteInContextZero(ulWhite);
    }
}

// For each shift the template pixel may take, counts the pixels equal to the pixel at that shift
// (position 0: the default place above), over the first pixels of a stripe.
void T85Encoder::GatherTemplateStatistics(const uint8_t* pLine, unsigned long j, uint64_t h1, uint64_t h2)
{
    const unsigned p = (h1 & 0x100) != 0;
    m_aulHits[0] += ((h2 & 0x4000) != 0) == p;
    const unsigned long mx = static_cast<unsigned long>(m_options.nMaxAtShift);
    unsigned long t = m_options.bTwoLineTemplate ? 5 : 3;
    for (; t <= mx && t <= j; ++t) {
        m_aulHits[t] += PixelAt(pLine, j - t) == p;
    }
    for (; t <= mx; ++t) {
        m_aulHits[t] += p == 0;
    }
    ++m_ulGathered;
}

// Moves the template pixel to the shift that predicts best when it clearly beats both the current
// place and the rest (T.82 annex C's rule, with its corrigendum).
void T85Encoder::DecideTemplateMove()
{
    const unsigned long all = m_ulGathered;
    unsigned long cmin = 0xFFFFFFFFul;
    unsigned long cmax = 0;
    int tmax = 0;
    for (int t = m_options.bTwoLineTemplate ? 5 : 3; t <= m_options.nMaxAtShift; ++t) {
        cmax = std::max(cmax, m_aulHits[t]);
        cmin = std::min(cmin, m_aulHits[t]);
        if (m_aulHits[t] > m_aulHits[tmax]) {
            tmax = t;
        }
    }
    const unsigned long clmin = std::min(m_aulHits[0], cmin);
    const unsigned long clmax = std::max(m_aulHits[0], cmax);
    const unsigned long current = m_aulHits[m_nShift];
    if (all - cmax < (all >> 3) && cmax - current > all - cmax && cmax - current > (all >> 4) &&
        cmax - (all - current) > all - cmax && cmax - (all - current) > (all >> 4) && cmax - cmin > (all >> 2) &&
        (m_nShift != 0 || clmax - clmin > (all >> 3))) {
        m_nNewShift = tmax;
    } else {
        m_nNewShift = m_nShift;
    }
}

// The adaptive binary arithmetic coder of JBIG (ITU-T T.82, 6.8): the "QM" coder with its 113
// probability states and 4096 contexts. Inline, because it runs once per encoded pixel.
//
// Bytes leave through BoundedSink::Put in the order and at the moments the standard's encoder
// (figures 26 to 30) produces them, 0xFF bytes followed by a stuffed 0x00.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/compress/BoundedSink.h"

// The standard's probability estimation table (T.82 table 24) as the coder uses it, indexed by a
// context's whole byte (the state index in the low 7 bits, the more probable symbol in bit 7): Qe
// and the byte after each kind of symbol, the switch already applied. Bytes of no state map to
// zeros.
struct QmTransition {
    uint16_t wQe;       // size of the less probable symbol's interval
    uint8_t bAfterMps;  // after the more probable symbol with renormalisation
    uint8_t bAfterLps;  // after the less probable symbol
};

extern const std::array<QmTransition, 256> kQmTransitions;

class QmEncoder {
public:
    explicit QmEncoder(BoundedSink& sink) : m_sink(sink) { std::memset(m_abState, 0, sizeof m_abState); }

    // Starts a new stripe's coded data; the contexts' states carry over from the stripe before.
    void Restart()
    {
        m_c = 0;
        m_a = 0x10000;
        m_sc = 0;
        m_ct = 11;
        m_buffer = -1;
    }

    // Codes one pixel (0 or 1) in context cx (0..4095). Each context's byte holds its state index in
    // the low 7 bits and its more probable symbol in bit 7.
    void Encode(unsigned cx, unsigned pix)
    {
        uint8_t& st = m_abState[cx];
        const QmTransition next = kQmTransitions[st];
        const uint32_t qe = next.wQe;
        if (((pix << 7) ^ st) & 0x80) {
            // The less probable symbol; when its interval is the larger one the two are exchanged.
            m_a -= qe;
            if (m_a >= qe) {
                m_c += m_a;
                m_a = qe;
            }
            st = next.bAfterLps;
        } else {
            m_a -= qe;
            if (m_a & 0xFFFF8000u) {
                return;  // no renormalisation: the common case
            }
            if (m_a < qe) {
                m_c += m_a;
                m_a = qe;
            }
            st = next.bAfterMps;
        }
        Renormalise();
    }

    // Codes n white pixels in context 0, the context of a pixel with no black neighbours; the long
    // white stretches of a page come here. While white is the more probable symbol and A stays at
    // 0x8000 or more, each pixel only takes Qe off A, so a stretch is one subtraction until the next
    // renormalisation.
    void EncodeWhiteInContextZero(unsigned long n)
    {
        while (n > 0) {
            const uint8_t st = m_abState[0];
            if (st & 0x80) {
                Encode(0, 0);
                --n;
                continue;
            }
            const uint64_t qe = kQmTransitions[st].wQe;
            const uint64_t quiet = (m_a - 0x8000) / qe;  // pixels that leave A at 0x8000 or more
            if (quiet >= n) {
                m_a -= n * qe;
                return;
            }
            m_a -= (quiet + 1) * qe;
            n -= quiet + 1;
            if (m_a < qe) {
                m_c += m_a;
                m_a = qe;
            }
            m_abState[0] = kQmTransitions[st].bAfterMps;
            Renormalise();
        }
    }

    // Ends a stripe's coded data (T.82 figure 30): the code value with the most trailing zero bits
    // in the interval, and only the bytes that are not zero.
    void Flush()
    {
        const uint64_t temp = (m_a - 1 + m_c) & 0xFFFF0000u;
        m_c = temp < m_c ? temp + 0x8000 : temp;
        m_c <<= m_ct;
        if (m_c & 0xF8000000u) {
            // one final carry
            if (m_buffer >= 0) {
                PutStuffed(static_cast<BYTE>(m_buffer + 1));
            }
            if (m_c & 0x7FFF800u) {
                for (; m_sc; --m_sc) {
                    m_sink.Put(0x00);
                }
            }
        } else {
            ReleaseHeld();
        }
        if (m_c & 0x7FFF800u) {
            PutStuffed(static_cast<BYTE>((m_c >> 19) & 0xFF));
            if (m_c & 0x7F800u) {
                PutStuffed(static_cast<BYTE>((m_c >> 11) & 0xFF));
            }
        }
    }

private:
    // Sends the held bytes, no carry having reached them: the last byte, then each 0xFF stuffed.
    void ReleaseHeld()
    {
        if (m_buffer >= 0) {
            m_sink.Put(static_cast<BYTE>(m_buffer));
        }
        for (; m_sc; --m_sc) {
            m_sink.Put(0xFF);
            m_sink.Put(0x00);
        }
    }

    void PutStuffed(BYTE b)
    {
        m_sink.Put(b);
        if (b == 0xFF) {
            m_sink.Put(0x00);
        }
    }

    // Doubles A until it is at least 0x8000 again, sending a byte every eight doublings. A byte of
    // 0xFF is held back (a later carry may still turn it into 0x00), as is the last byte before it.
    void Renormalise()
    {
        do {
            m_a <<= 1;
            m_c <<= 1;
            if (--m_ct == 0) {
                const uint64_t temp = m_c >> 19;
                if (temp & 0xFFFFFF00u) {
                    // the carry reaches the held bytes
                    if (m_buffer >= 0) {
                        PutStuffed(static_cast<BYTE>(m_buffer + 1));
                    }
                    for (; m_sc; --m_sc) {
                        m_sink.Put(0x00);
                    }
                    m_buffer = static_cast<int>(temp & 0xFF);
                } else if (temp == 0xFF) {
                    ++m_sc;
                } else {
                    ReleaseHeld();
                    m_buffer = static_cast<int>(temp);
                }
                m_c &= 0x7FFFF;
                m_ct = 8;
            }
        } while (m_a < 0x8000);
    }

    BoundedSink& m_sink;
    uint8_t m_abState[4096];
    uint64_t m_c = 0;       // code register (T.82 table 23 layout)
    uint64_t m_a = 0x10000; // interval size, kept at 0x8000 or more between pixels
    long m_sc = 0;          // 0xFF bytes held back
    int m_ct = 11;          // doublings until the next byte is complete
    int m_buffer = -1;      // the last byte held back, -1 for none
};

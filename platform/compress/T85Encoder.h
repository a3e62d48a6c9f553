// A JBIG bi-level image encoder within the ITU-T T.85 profile (one plane, one resolution layer,
// sequential stripes), fed one row at a time. It writes the 20-byte header, each stripe's coded
// data ended by SDNORM, and an ATMOVE before a stripe whose adaptive template pixel moves.
//
// Its bytes are those of JBIG-KIT's T.85 encoder given the same options (the tests hold the two
// side by side): the same header, the same template statistics and move rule, the same coder. It
// is the library's own so that the per-pixel work can be inlined and blank stretches of a row coded
// without building their contexts, which is where a text page spends its encoding time.
#pragma once

#include <cstdint>

#include "platform/compress/QmEncoder.h"

struct T85Options {
    bool bTwoLineTemplate = false;   // LRLTWO: the context from two rows instead of three
    bool bTypicalPrediction = false; // TPBON: a row equal to the one above costs one coded symbol
    unsigned long ulStripeRows = 0;  // rows per stripe (L0), at least 1
    int nMaxAtShift = 0;             // MX: how far left the template pixel may move, 0 to 127
};

class T85Encoder {
public:
    T85Encoder(unsigned long ulWidth, unsigned long ulRows, const T85Options& options, BoundedSink& sink);

    // Encodes the next row. Rows hold (width + 7) / 8 bytes with the bits past the width clear;
    // pPrev and pPrevPrev are the two rows encoded before it (ignored for the first rows).
    void EncodeRow(const uint8_t* pLine, const uint8_t* pPrev, const uint8_t* pPrevPrev);

private:
    void WriteHeader();
    void StartStripe();
    bool IsTypical(const uint8_t* pLine, const uint8_t* pPrev) const;
    template <bool kTwoLine>
    void EncodePixels(const uint8_t* pLine, const uint8_t* pPrev, const uint8_t* pPrevPrev);
    void GatherTemplateStatistics(const uint8_t* pLine, unsigned long j, uint64_t h1, uint64_t h2);
    void DecideTemplateMove();

    const unsigned long m_ulWidth;
    const unsigned long m_ulRows;
    const unsigned long m_cbRow;
    const T85Options m_options;
    BoundedSink& m_sink;
    QmEncoder m_coder;

    unsigned long m_ulRow = 0;         // rows encoded so far
    unsigned long m_ulStripeRow = 0;   // rows encoded in the current stripe
    bool m_bLastTypical = false;       // whether the row before was typical (LNTP of T.82)
    int m_nShift = 0;                  // the template pixel's current shift (TX), 0: default place
    int m_nNewShift = -1;              // the shift chosen for the next stripe; -1: still gathering
    unsigned long m_aulHits[128] = {}; // per shift, pixels equal to the pixel at that shift
    unsigned long m_ulGathered = 0;    // pixels counted so far in this stripe
};

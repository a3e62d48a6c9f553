// The stream between the filter's two processes. The Ghostscript child writes, in this order and
// with no header or end marker of its own: at most a few settings records (each a 14-byte header
// and the 1232-byte settings record) and the rendered pages as PNM images ("P6": 24-bit RGB). The
// parent reads it record by record, puts every page on the printer's page geometry and hands it
// to the renderer band by band.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"

#include <cstddef>

// ----- Settings record ---------------------------------------------------------------------------

// The header in front of a settings record, as the reader takes it: "DM", its own size as a
// little-endian u32, 8 zero bytes (the page pass writes it, filter/pagepass/SettingsRecord.cpp).
struct tagSTREAMHEADER {
    BYTE abMagic[2];       // 'D', 'M'
    BYTE abHeaderSize[4];  // 14, little-endian
    BYTE abReserved[8];    // zero
};
static_assert(sizeof(tagSTREAMHEADER) == 14, "the stream header is 14 bytes, unpadded");
static_assert(offsetof(tagSTREAMHEADER, abHeaderSize) == 2 && offsetof(tagSTREAMHEADER, abReserved) == 6,
              "stream header layout");

inline constexpr BYTE kStreamMagic0 = 'D';
inline constexpr BYTE kStreamMagic1 = 'M';
inline constexpr DWORD kStreamHeaderSize = sizeof(tagSTREAMHEADER);
// The settings record follows its header as it lies in memory (little-endian hosts only).
inline constexpr size_t kStreamSettingsSize = sizeof(DRVDEVMODE);
static_assert(kStreamSettingsSize == 1232, "the settings record travels as 1232 bytes");

// ----- Page ----------------------------------------------------------------------------------------

// What the reader learns from a PNM header (40 bytes, zero where not said).
struct tagPAGEBITMAPINFO {
    DWORD dwSize;    // 40
    LONG lWidth;     // pixels
    LONG lHeight;    // rows
    WORD wPlanes;    // 1
    WORD wBitCount;  // 24 for P6, 8 for P5, 1 for P4
    BYTE abReserved[24];
};
static_assert(sizeof(tagPAGEBITMAPINFO) == 40, "page bitmap info is 40 bytes");

// Bounds of an acceptable page. Ghostscript renders an A3 sheet at 1200 dpi as 14032 x 19842;
// the printer's page geometry is 16-bit, so nothing larger can be placed on a sheet anyway.
inline constexpr LONG kMaxPnmDimension = 32767;
// The only maximum sample value the renderer's colour tables are made for.
inline constexpr LONG kPnmMaxValue = 255;

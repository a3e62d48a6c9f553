// The stream between the filter's two processes. The Ghostscript child writes, in this order and
// with no header or end marker of its own: at most a few settings records (each a 14-byte header
// and the 1232-byte settings record) and the rendered pages as PNM images ("P6": 24-bit RGB). The
// parent reads it record by record, puts every page on the printer's page geometry and hands it
// to the renderer band by band.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"
#include "filter/JobInfo.h"

#include <cstddef>

// ----- Settings record ---------------------------------------------------------------------------

// The header in front of a settings record, as the reader takes it: "DM", its own size as a
// little-endian u32, 8 zero bytes (the page pass writes it, filter/SettingsRecord.cpp).
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
    DWORD dwSize;        // 40
    LONG lWidth;         // pixels
    LONG lHeight;        // rows
    WORD wPlanes;        // 1
    WORD wBitCount;      // 24 for P6, 8 for P5, 1 for P4
    BYTE abReserved[24];
};
static_assert(sizeof(tagPAGEBITMAPINFO) == 40, "page bitmap info is 40 bytes");

// Bounds of an acceptable page. Ghostscript renders an A3 sheet at 1200 dpi as 14032 x 19842;
// the printer's page geometry is 16-bit, so nothing larger can be placed on a sheet anyway.
inline constexpr LONG kMaxPnmDimension = 32767;
// The only maximum sample value the renderer's colour tables are made for.
inline constexpr LONG kPnmMaxValue = 255;

// One page's geometry in device dots at the settings' resolution.
struct tagPAGEGEOMETRY {
    WORD wPaperId;       // 256 for a custom paper
    WORD wOrientation;   // 1 portrait, 2 landscape
    LONG lFirstX;        // the model's first pair (standard paper) or the printable size in 0.1 mm
    LONG lFirstY;
    LONG lPrintableWidth;
    LONG lPrintableHeight;
    LONG lLeftOffset;
    LONG lTopOffset;
    LONG lPaperWidth;
    LONG lPaperHeight;
};

// Rows per band when the model does not say.
inline constexpr int kDefaultStreamBandRows = 512;

// ----- Reading ---------------------------------------------------------------------------------------

// n bytes into pv: n, or 0 when the stream ends or fails first (interrupted reads are retried).
size_t ReadFull(int fd, void* pv, size_t n);

// Reads and drops n bytes: n, or 0 when the stream ends or fails first.
size_t SkipBytes(int fd, size_t n);

// The PNM header fields after the 3 magic bytes: comment lines, width, one separator, height, one
// separator, maximum value, one separator. 1 when the width and height are within 1 and
// kMaxPnmDimension and the maximum value is kPnmMaxValue (so that a page reaching the renderer is
// one it can screen), else 0. pInfo's width and height are filled.
int ParsePnmHeader(int fd, tagPAGEBITMAPINFO* pInfo);

// The geometry of a paper id in the given orientation. -1, or 0 when the model has no geometry for
// the paper or the settings' resolution or the resulting sizes are not positive.
int GetPageGeometry(tagJOBINFO* pJob, SHORT sPaperId, SHORT sOrientation, tagPAGEGEOMETRY* pGeometry);

// Reads the page's raster band by band and hands each band to the renderer; a landscape page is
// turned by 90 degrees when bRotate is set. -1 when every row went through, else 0.
int ReadPageBands(tagJOBINFO* pJob, int fd, const tagPAGEBITMAPINFO* pInfo, const tagPAGEGEOMETRY* pGeometry,
                  int bRotate);

// One record of the stream: 1 when a page was read and handed to the renderer, 0 at the end of the
// stream, -1 on an error (logged). Settings records are applied on the way.
int ReadStreamRecord(tagJOBINFO* pJob, int fd);

// The parent's side of the job: sets up the renderer, reads the whole stream and frames the job.
// -1 when the renderer cannot be set up, else the last result of ReadStreamRecord (0 or -1).
int RunBackend(tagJOBINFO* pJob, int fd);

// The parameter block of the compression library's one entry, `COMPRESS`, and what the entry
// answers. The renderer fills one block per call to compress (part of) one band of one bit-plane;
// the library encodes the rows as a JBIG bi-level image (ITU-T T.82, within the T.85 profile) into
// the caller's output buffer and fills in the two out fields.
//
// The block crosses a shared-library boundary, so this is its only definition: 200 bytes, native
// byte order, 64-bit pointers, zero-filled by the caller and then set field by field.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/WinTypes.h"

// Identification the caller puts into bytes 0 to 3; the library refuses any other block.
inline constexpr BYTE kCompressLayoutTag[4] = {0, 1, 6, 4};

// `COMPRESS` returns this when the out fields hold a result; anything else is a failure and the
// out fields are then 0. The library's own failure codes tell why (the renderer only tests 192).
inline constexpr int COMPRESS_OK = 192;
inline constexpr int COMPRESS_BAD_PARAMS = 1;  // malformed block: tag, sizes or a missing buffer
inline constexpr int COMPRESS_NO_ROOM = 2;     // not even one row fits into the output size

// Option byte (offset 88). The model data gives it; 2 is the default.
//   bit 0 (0x01): two-line template instead of the three-line one (a little faster, a little larger)
//   bit 1 (0x02): typical prediction: a row equal to the row above costs almost nothing
//   bit 2 (0x04): fixed template: the adaptive template pixel never moves (fastest on text)
//   bit 3 (0x08): wide adaptive template: the pixel may follow a dither period of up to 127 dots
//                 (without this bit, up to 8 dots, which suits most ordered-dither screens)
//   bits 4 to 7: ignored
inline constexpr BYTE COMPRESS_OPT_TWO_LINE_TEMPLATE = 0x01;
inline constexpr BYTE COMPRESS_OPT_TYPICAL_PREDICTION = 0x02;
inline constexpr BYTE COMPRESS_OPT_FIXED_TEMPLATE = 0x04;
inline constexpr BYTE COMPRESS_OPT_WIDE_TEMPLATE = 0x08;
inline constexpr BYTE COMPRESS_OPT_DEFAULT = COMPRESS_OPT_TYPICAL_PREDICTION;

// The encoded band starts with the 20-byte JBIG header; its big-endian 32-bit image height (at 8)
// and stripe height (at 12) are what the renderer rewrites when fewer rows were encoded than asked.
inline constexpr size_t kJbigHeaderSize = 20;
inline constexpr size_t kJbigHeaderWidthOffset = 4;
inline constexpr size_t kJbigHeaderHeightOffset = 8;
inline constexpr size_t kJbigHeaderStripeOffset = 12;

// The renderer makes each work row at least this long (and at least one row of the band).
inline constexpr size_t kCompressMinWorkRowBytes = 2048;

struct tagCOMPRESSPARAMS {
    BYTE abLayoutTag[4];       // 0   in: kCompressLayoutTag
    WORD wReserved4;           // 4   in: 0
    BYTE abPad6[2];
    BYTE* pOutput;             // 8   in: output buffer
    uint64_t qwOutputSize;     // 16  in: its size in bytes (bytes per row x rows of the band)
    uint64_t qwBytesWritten;   // 24  in: 0; out: bytes written to the output buffer
    const BYTE* pFirstRow;     // 32  in: first row to encode; rows follow at (width + 7) / 8 bytes
    WORD wWidth;               // 40  in: width in dots (same as wWidth2)
    WORD wRows;                // 42  in: rows to encode (low 16 bits of dwRows)
    WORD wReserved44;          // 44  in: 0
    BYTE abPad46[2];
    DWORD dwRowsEncoded;       // 48  in: 0; out: rows encoded, from the first row on
    WORD wWidth2;              // 52  in: width in dots
    BYTE abPad54[2];
    DWORD dwRows;              // 56  in: rows to encode
    BYTE abPad60[4];
    BYTE* apWorkRow[3];        // 64, 72, 80  in: zeroed scratch rows of max(bytes per row, 2048)
    BYTE bOption;              // 88  in: option byte (COMPRESS_OPT_...)
    BYTE bReserved89;          // 89  in: 0
    BYTE bReserved90;          // 90  in: 1
    BYTE bReserved91;          // 91  in: 0
    DWORD dwStripeRows;        // 92  in: rows per JBIG stripe (the renderer puts the rows to encode
                               //     there when the model gives 0)
    uint64_t qwReserved96;     // 96  in: 0
    BYTE* pOutputAgain;        // 104 in: the output buffer once more; not used by the library
    void* pRenderContext;      // 112 in: the caller's renderer context; opaque, not used
    DWORD dwReserved120;       // 120 in: 0
    BYTE abReserved124[76];    // 124 to 199: zero
};
typedef tagCOMPRESSPARAMS COMPRESSPARAMS;

// The exported entry: extern "C" int COMPRESS(tagCOMPRESSPARAMS*).
typedef int (*PFNCOMPRESS)(tagCOMPRESSPARAMS* pParams);

static_assert(sizeof(void*) == 8, "the parameter block carries 64-bit pointers");
static_assert(sizeof(tagCOMPRESSPARAMS) == 200, "COMPRESS parameter block size");
static_assert(offsetof(tagCOMPRESSPARAMS, abLayoutTag) == 0);
static_assert(offsetof(tagCOMPRESSPARAMS, wReserved4) == 4);
static_assert(offsetof(tagCOMPRESSPARAMS, pOutput) == 8);
static_assert(offsetof(tagCOMPRESSPARAMS, qwOutputSize) == 16);
static_assert(offsetof(tagCOMPRESSPARAMS, qwBytesWritten) == 24);
static_assert(offsetof(tagCOMPRESSPARAMS, pFirstRow) == 32);
static_assert(offsetof(tagCOMPRESSPARAMS, wWidth) == 40);
static_assert(offsetof(tagCOMPRESSPARAMS, wRows) == 42);
static_assert(offsetof(tagCOMPRESSPARAMS, wReserved44) == 44);
static_assert(offsetof(tagCOMPRESSPARAMS, dwRowsEncoded) == 48);
static_assert(offsetof(tagCOMPRESSPARAMS, wWidth2) == 52);
static_assert(offsetof(tagCOMPRESSPARAMS, dwRows) == 56);
static_assert(offsetof(tagCOMPRESSPARAMS, apWorkRow) == 64);
static_assert(offsetof(tagCOMPRESSPARAMS, bOption) == 88);
static_assert(offsetof(tagCOMPRESSPARAMS, bReserved89) == 89);
static_assert(offsetof(tagCOMPRESSPARAMS, bReserved90) == 90);
static_assert(offsetof(tagCOMPRESSPARAMS, bReserved91) == 91);
static_assert(offsetof(tagCOMPRESSPARAMS, dwStripeRows) == 92);
static_assert(offsetof(tagCOMPRESSPARAMS, qwReserved96) == 96);
static_assert(offsetof(tagCOMPRESSPARAMS, pOutputAgain) == 104);
static_assert(offsetof(tagCOMPRESSPARAMS, pRenderContext) == 112);
static_assert(offsetof(tagCOMPRESSPARAMS, dwReserved120) == 120);
static_assert(offsetof(tagCOMPRESSPARAMS, abReserved124) == 124);

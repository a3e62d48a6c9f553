// The model's colour-table file: colour LUTs, threshold matrices, tone curves and gray weights
// under 16-byte keys, read whole once per job and looked up by key and mask at every page.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

struct DRVDEVMODE;
struct tagRENDERCONTEXT;

// File layout; every integer is little-endian.
//   header: u32 +0, u32 +4 (neither interpreted), u32 +8 offset of the section directory (0 = no
//   sections); directory: five u32 section offsets for types 1..5 (0 = absent);
//   section: u32 +0 (not interpreted), u16 +4 entry count, u16 +6 entry stride, entries from +8;
//   entry: 16-byte key +0, u32 payload base +16, u32 payload offset +20 (the payload starts at
//   base + offset), then for type 2 u16 width +24 and u16 height +26, for the others u32 size +24.
inline constexpr size_t CT_HEADER_DIRECTORY = 8;
inline constexpr size_t CT_HEADER_SIZE = 12;
inline constexpr int CT_SECTION_TYPES = 5;
inline constexpr size_t CT_DIRECTORY_SIZE = 4 * CT_SECTION_TYPES;
inline constexpr size_t CT_SECTION_COUNT = 4;
inline constexpr size_t CT_SECTION_STRIDE = 6;
inline constexpr size_t CT_SECTION_ENTRIES = 8;
inline constexpr size_t CT_ENTRY_KEY = 0;
inline constexpr size_t CT_ENTRY_BASE = 16;
inline constexpr size_t CT_ENTRY_OFFSET = 20;
inline constexpr size_t CT_ENTRY_WIDTH = 24;
inline constexpr size_t CT_ENTRY_HEIGHT = 26;
inline constexpr size_t CT_ENTRY_SIZE = 24;
inline constexpr size_t CT_ENTRY_MIN_STRIDE = 28;
inline constexpr size_t CT_KEY_BYTES = 16;

// Section types (key byte 0).
enum COLORTABLETYPE : BYTE {
    CT_TYPE_LUT = 1,
    CT_TYPE_MATRIX = 2,
    CT_TYPE_UNUSED = 3,
    CT_TYPE_TONECURVE = 4,
    CT_TYPE_GRAYWEIGHTS = 5,
};

// Key bytes.
inline constexpr size_t CT_KEY_TYPE = 0;
inline constexpr size_t CT_KEY_MODE = 1;        // colour-mode code 1..5
inline constexpr size_t CT_KEY_PLANE = 2;       // CT_PLANE_*
inline constexpr size_t CT_KEY_MEDIA = 4;       // u16 media id (0 generic)
inline constexpr size_t CT_KEY_RESOLUTION = 6;  // 1, 2, 4 or 8
inline constexpr size_t CT_KEY_LUTFLAGS = 7;
inline constexpr size_t CT_KEY_UCR = 8;     // percent
inline constexpr size_t CT_KEY_BG = 9;      // percent
inline constexpr size_t CT_KEY_TONER = 10;  // CT_KEY_TONER_SAVE
inline constexpr BYTE CT_KEY_TONER_SAVE = 0x80;

// Planes (key byte 2).
inline constexpr BYTE CT_PLANE_CYAN = 1;
inline constexpr BYTE CT_PLANE_MAGENTA = 2;
inline constexpr BYTE CT_PLANE_YELLOW = 4;
inline constexpr BYTE CT_PLANE_BLACK = 8;
inline constexpr BYTE CT_PLANE_MONO = 16;

// LUT flags (key byte 7).
inline constexpr BYTE CT_LUT_FOLD_GRAY = 0x01;  // fold the gray axis into black at load
inline constexpr BYTE CT_LUT_UCR_BG = 0x02;     // under-colour removal and black generation
inline constexpr BYTE CT_LUT_BLACK_CORNER = 0x10;
inline constexpr BYTE CT_LUT_GRAY_AXIS_BLACK = 0x20;

// The largest threshold matrix side, in bytes or rows: the rows a page band of the filter can hold
// by default. The matrices are tiled to the page's row length, so a taller one would cost a page
// more memory than its band; a file with a larger matrix is refused.
inline constexpr DWORD CT_MATRIX_MAX_SIDE = 512;

// Least payload each type needs; shorter entries never match.
inline constexpr size_t CT_LUT_PAYLOAD = 19652;  // 17 x 17 x 17 nodes of C, M, Y, K
inline constexpr size_t CT_TONECURVE_PAYLOAD = 256;
inline constexpr size_t CT_GRAYWEIGHTS_PAYLOAD = 6;  // three i16: red, green, blue

// The file read whole, with its length.
struct tagCOLORTABLEIMAGE {
    BYTE* pData;
    size_t cbSize;
};

// What a lookup found.
struct tagCOLORTABLEENTRY {
    const BYTE* pPayload;      // inside the image
    DWORD dwSize;              // payload bytes
    DWORD dwWidth;             // matrix: bytes per row; other types: dwSize
    DWORD dwHeight;            // matrix: rows; other types: 1
    BYTE abKey[CT_KEY_BYTES];  // the matched entry's key
};

// Reads "directory" + "name" (joined as given) whole and checks that the header, the directory,
// every section, its entries and their payloads lie inside the file and that no threshold matrix
// is wider or taller than CT_MATRIX_MAX_SIDE. The name comes from the model data and may only pick
// a file inside the directory (a single path component: not empty, ".", ".." or holding '/').
// nullptr when the name is refused or the file cannot be read, is empty or is damaged.
tagCOLORTABLEIMAGE* ReadColorTableFile(const char* directory, const char* name);

// The load check on its own: the header, the directory, every section, its entries and their
// payloads lie inside the `size` bytes, and every threshold matrix is at most CT_MATRIX_MAX_SIDE
// wide and tall.
bool ColorTableImageIsSound(const BYTE* bytes, size_t size);

// Takes a copy of bytes already in memory, with the same checks.
tagCOLORTABLEIMAGE* LoadColorTableImage(const BYTE* bytes, size_t size);

void FreeColorTableImage(tagCOLORTABLEIMAGE* image);

// 0xFFFF when an entry of the key's section matches (for every byte (entry ^ key) & mask is 0);
// the last match in file order is the result. Entries that point outside the image or whose
// payload is too short for their type never match.
WORD FindColorTableEntry(const BYTE* key, const BYTE* mask, const tagCOLORTABLEIMAGE* image,
                         tagCOLORTABLEENTRY* result);

// Clears the key and fills the colour-mode code (byte 1), the resolution code (byte 6) and the
// toner-save bit (byte 10) from the settings; the caller sets type, plane and media.
void BuildColorKey(BYTE* key, const DRVDEVMODE* settings, const tagRENDERCONTEXT* context);

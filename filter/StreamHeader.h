// The header in front of a settings record on the pipe from the Ghostscript child to the encoding
// parent. The child writes it (WriteSettingsRecord), the parent's stream reader reads it; this is
// its only layout.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

// Header layout, little-endian: the bytes "DM", the header size 14 as a 32-bit word, eight zero
// bytes. The 1232-byte settings record follows at once.
inline constexpr size_t kStreamHeaderMagicAt = 0;
inline constexpr size_t kStreamHeaderSizeAt = 2;
inline constexpr size_t kStreamHeaderReservedAt = 6;
inline constexpr size_t kStreamHeaderSize = 14;
inline constexpr BYTE kStreamHeaderMagic[2] = {0x44, 0x4D};  // "DM"

#pragma pack(push, 1)
struct tagSTREAMHEADER {
    BYTE bMagic[2];
    DWORD dwHeaderSize;
    BYTE bReserved[8];
};
#pragma pack(pop)
static_assert(sizeof(tagSTREAMHEADER) == kStreamHeaderSize, "the stream header is 14 bytes");
static_assert(offsetof(tagSTREAMHEADER, bMagic) == kStreamHeaderMagicAt);
static_assert(offsetof(tagSTREAMHEADER, dwHeaderSize) == kStreamHeaderSizeAt);
static_assert(offsetof(tagSTREAMHEADER, bReserved) == kStreamHeaderReservedAt);

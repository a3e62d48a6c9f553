// Integer types and result codes shared by the driver core, in the Windows-driver manner that the
// model data file, the settings record and the saved-settings file were designed around.
// Every on-disk or on-pipe value is little-endian; these are the widths, not the byte order.
#pragma once

#include <cstdint>

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int16_t SHORT;
typedef int32_t LONG;

// Model query and settings-record service results (Windows error numbers).
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_INVALID_DATA = 13;
inline constexpr DWORD ERROR_OUTOFMEMORY = 14;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_NOT_FOUND = 1168;

// Core predicates answer a 16-bit flag: 0 is false, anything else true (most answer 0xFFFF).
inline constexpr WORD FLAG_TRUE = 0xFFFF;
inline constexpr WORD FLAG_FALSE = 0;

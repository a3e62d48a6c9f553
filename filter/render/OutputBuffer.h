// The renderer's output buffer: a chain of 64 KB blocks that every renderer operation empties and
// fills and the filter's front end drains into the job's output after each call.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

// Every block holds this many bytes; blocks are reused after a drain, so a page's raster data is
// held in a few large allocations rather than many small ones.
inline constexpr DWORD OUTPUT_BLOCK_SIZE = 65536;

struct tagOUTPUTBLOCK {
    DWORD dwCapacity;  // always OUTPUT_BLOCK_SIZE
    DWORD dwUsed;
    BYTE* pData;  // own allocation of dwCapacity bytes
    tagOUTPUTBLOCK* pNext;
};

struct tagOUTPUTBUFFER {
    tagOUTPUTBLOCK* pFirst;  // a buffer always has at least this block
    DWORD dwTotal;           // bytes appended since the last reset
    tagOUTPUTBLOCK* pWrite;  // the block being filled
    tagOUTPUTBLOCK* pRead;   // the next block to hand out
};

// A buffer with one empty block, or nullptr when memory runs out.
tagOUTPUTBUFFER* OutputBufferCreate();

// Frees every block, its data and the buffer; nullptr is harmless.
void OutputBufferFree(tagOUTPUTBUFFER* buffer);

// Keeps only the first block, emptied, and frees the others.
void OutputBufferReset(tagOUTPUTBUFFER* buffer);

// 0xFFFF, or 0 without a buffer or when a new block cannot be allocated (the bytes copied so far
// stay). No bytes or length 0 appends nothing and succeeds. A length that exactly fills a block
// also opens the next one.
WORD OutputBufferAppend(tagOUTPUTBUFFER* buffer, const void* bytes, size_t length);

// printf-style append: the number of bytes appended, or -1 when formatting fails, scratch memory
// runs out or the append fails.
int OutputBufferPrintf(tagOUTPUTBUFFER* buffer, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Appends the text without its terminating zero (nullptr appends nothing).
WORD OutputBufferAppendString(tagOUTPUTBUFFER* buffer, const char* text);

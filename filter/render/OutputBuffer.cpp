#include "filter/render/OutputBuffer.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

tagOUTPUTBLOCK* NewBlock()
{
    auto* block = static_cast<tagOUTPUTBLOCK*>(std::calloc(1, sizeof(tagOUTPUTBLOCK)));
    if (block == nullptr) {
        return nullptr;
    }
    block->pData = static_cast<BYTE*>(std::malloc(OUTPUT_BLOCK_SIZE));
    if (block->pData == nullptr) {
        std::free(block);
        return nullptr;
    }
    block->dwCapacity = OUTPUT_BLOCK_SIZE;
    return block;
}

void FreeChain(tagOUTPUTBLOCK* block)
{
    while (block != nullptr) {
        tagOUTPUTBLOCK* next = block->pNext;
        std::free(block->pData);
        std::free(block);
        block = next;
    }
}

}  // namespace

tagOUTPUTBUFFER* OutputBufferCreate()
{
    auto* buffer = static_cast<tagOUTPUTBUFFER*>(std::calloc(1, sizeof(tagOUTPUTBUFFER)));
    if (buffer == nullptr) {
        return nullptr;
    }
    buffer->pFirst = NewBlock();
    if (buffer->pFirst == nullptr) {
        std::free(buffer);
        return nullptr;
    }
    buffer->pWrite = buffer->pFirst;
    buffer->pRead = buffer->pFirst;
    return buffer;
}

void OutputBufferFree(tagOUTPUTBUFFER* buffer)
{
    if (buffer == nullptr) {
        return;
    }
    FreeChain(buffer->pFirst);
    std::free(buffer);
}

void OutputBufferReset(tagOUTPUTBUFFER* buffer)
{
    if (buffer == nullptr) {
        return;
    }
    FreeChain(buffer->pFirst->pNext);
    buffer->pFirst->pNext = nullptr;
    buffer->pFirst->dwUsed = 0;
    buffer->dwTotal = 0;
    buffer->pWrite = buffer->pFirst;
    buffer->pRead = buffer->pFirst;
}

WORD OutputBufferAppend(tagOUTPUTBUFFER* buffer, const void* bytes, size_t length)
{
    if (buffer == nullptr) {
        return FLAG_FALSE;
    }
    if (bytes == nullptr || length == 0) {
        return FLAG_TRUE;
    }
    const BYTE* src = static_cast<const BYTE*>(bytes);
    while (length > 0) {
        tagOUTPUTBLOCK* block = buffer->pWrite;
        const size_t room = block->dwCapacity - block->dwUsed;
        if (length < room) {
            std::memcpy(block->pData + block->dwUsed, src, length);
            block->dwUsed += static_cast<DWORD>(length);
            buffer->dwTotal += static_cast<DWORD>(length);
            return FLAG_TRUE;
        }
        // Fill the block to the brim and move on; a full block always gets a successor, even when
        // nothing is left to write, so the write block is never a full one.
        std::memcpy(block->pData + block->dwUsed, src, room);
        block->dwUsed = block->dwCapacity;
        buffer->dwTotal += static_cast<DWORD>(room);
        src += room;
        length -= room;
        tagOUTPUTBLOCK* next = block->pNext;
        if (next != nullptr) {
            next->dwUsed = 0;
        } else {
            next = NewBlock();
            if (next == nullptr) {
                return FLAG_FALSE;
            }
            block->pNext = next;
        }
        buffer->pWrite = next;
    }
    return FLAG_TRUE;
}

int OutputBufferPrintf(tagOUTPUTBUFFER* buffer, const char* format, ...)
{
    if (buffer == nullptr || format == nullptr) {
        return -1;
    }
    size_t size = 256;
    char* scratch = nullptr;
    int n = -1;
    va_list args;
    va_start(args, format);
    for (;;) {
        char* grown = static_cast<char*>(std::realloc(scratch, size));
        if (grown == nullptr) {
            break;
        }
        scratch = grown;
        // Every attempt formats from a fresh copy: a va_list that one vsnprintf has walked
        // cannot be walked again.
        va_list attempt;
        va_copy(attempt, args);
        n = std::vsnprintf(scratch, size, format, attempt);
        va_end(attempt);
        if (n < 0 || static_cast<size_t>(n) < size) {
            break;  // a formatting error is final: retrying with more room cannot cure it
        }
        size = static_cast<size_t>(n) + 1;
        n = -1;
    }
    va_end(args);

    int result = -1;
    if (scratch != nullptr && n >= 0) {
        result = OutputBufferAppend(buffer, scratch, static_cast<size_t>(n)) != FLAG_FALSE ? n : -1;
    }
    std::free(scratch);
    return result;
}

WORD OutputBufferAppendString(tagOUTPUTBUFFER* buffer, const char* text)
{
    if (text == nullptr) {
        return buffer != nullptr ? FLAG_TRUE : FLAG_FALSE;
    }
    return OutputBufferAppend(buffer, text, std::strlen(text));
}

#include "core/model/ModelAnswer.h"

#include "core/model/SpcQuery.h"

#include <cstdlib>
#include <cstring>

ModelAnswer::ModelAnswer(const tagSPCDATA* data, SHORT capability, SHORT item, LONG view, SpcReaderFn query)
{
    if (query == nullptr) {
        query = &SpcQuery;
    }
    if (data == nullptr) {
        return;
    }
    DWORD size = 0;
    DWORD count = 0;
    m_result = query(data, capability, item, view, nullptr, &size, &count);
    if (m_result != ERROR_SUCCESS) {
        return;
    }
    // An empty answer is still asked with a buffer: only then does the query say that it holds.
    BYTE empty = 0;
    if (size != 0) {
        m_bytes.reset(static_cast<BYTE*>(std::calloc(1, size)));
        if (m_bytes == nullptr) {
            m_result = ERROR_NOT_ENOUGH_MEMORY;
            return;
        }
    }
    DWORD filled = size;
    count = 0;
    m_result = query(data, capability, item, view, size != 0 ? m_bytes.get() : &empty, &filled, &count);
    if (m_result != ERROR_SUCCESS) {
        m_bytes.reset();
        return;
    }
    // The reader reports what it wrote; never more than the buffer it was given.
    m_size = filled < size ? filled : size;
    m_count = count;
    m_answered = true;
}

ModelAnswer::ModelAnswer(const tagSPCDATA* data, SHORT capability, SHORT item, LONG view, DWORD capacity,
                         SpcReaderFn query)
    : m_bytes(static_cast<BYTE*>(std::calloc(1, capacity != 0 ? capacity : 1)))
{
    if (query == nullptr) {
        query = &SpcQuery;
    }
    if (m_bytes == nullptr) {
        m_result = ERROR_NOT_ENOUGH_MEMORY;
        return;
    }
    m_size = capacity;
    if (data == nullptr) {
        return;
    }
    DWORD size = capacity;
    DWORD count = 0;
    m_result = query(data, capability, item, view, m_bytes.get(), &size, &count);
    m_answered = m_result == ERROR_SUCCESS;
    m_count = m_answered ? count : 0;
}

size_t ModelAnswer::Text(size_t offset, size_t cchField, char* out, size_t cchOut) const
{
    if (cchOut == 0) {
        return 0;
    }
    out[0] = '\0';
    if (offset >= m_size) {
        return 0;
    }
    size_t cchMax = m_size - offset;
    if (cchField < cchMax) {
        cchMax = cchField;
    }
    if (cchMax > cchOut - 1) {
        cchMax = cchOut - 1;
    }
    const char* text = reinterpret_cast<const char*>(m_bytes.get() + offset);
    const size_t cch = strnlen(text, cchMax);
    std::memcpy(out, text, cch);
    out[cch] = '\0';
    return cch;
}

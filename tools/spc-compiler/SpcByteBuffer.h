// A growing little-endian byte buffer for writing model data files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SpcByteBuffer {
public:
    size_t Size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t>& Bytes() { return m_bytes; }

    void Put32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i) {
            m_bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    }
    void Put16(uint16_t v)
    {
        m_bytes.push_back(static_cast<uint8_t>(v));
        m_bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void PutZeros(size_t n) { m_bytes.insert(m_bytes.end(), n, 0); }
    // A fixed char array of n bytes: the text, zero-padded; a text of n bytes or more fills the
    // field without a terminator (longer texts are cut).
    void PutText(const std::string& text, size_t n)
    {
        for (size_t i = 0; i < n; ++i) {
            m_bytes.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
        }
    }
    // The text and its terminator.
    void PutCString(const std::string& text)
    {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        m_bytes.push_back(0);
    }
    void PadTo(size_t size)
    {
        if (m_bytes.size() < size) {
            PutZeros(size - m_bytes.size());
        }
    }
    void Overwrite32(size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i) {
            m_bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
        }
    }
    void Append(const SpcByteBuffer& other) { m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end()); }

private:
    std::vector<uint8_t> m_bytes;
};

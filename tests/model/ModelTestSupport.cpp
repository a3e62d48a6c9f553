#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace modeltest {

void Put32(Bytes& b, uint32_t v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
    b.push_back((v >> 16) & 0xFF);
    b.push_back((v >> 24) & 0xFF);
}

void Put16(Bytes& b, uint16_t v)
{
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}

void PutText(Bytes& b, const std::string& text, size_t cbField)
{
    for (size_t i = 0; i < cbField; ++i) {
        b.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    }
}

void PutWords(Bytes& b, std::initializer_list<uint32_t> words)
{
    for (uint32_t w : words) {
        Put32(b, w);
    }
}

HandModel& HandModel::Section(int id, const Bytes& bytes)
{
    m_sections.emplace_back(id, bytes);
    return *this;
}

HandModel& HandModel::SectionInside(int id, int within, uint32_t cbInto)
{
    m_shared.push_back({id, within, cbInto});
    return *this;
}

Bytes HandModel::Build() const
{
    Bytes file(kHandTableEnd, 0);
    auto set32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            file[at + i] = static_cast<uint8_t>(v >> (8 * i));
        }
    };
    set32(0, 0x50534350);
    set32(8, kHandTableEnd);
    set32(12, kHandTableStart);
    set32(20, static_cast<uint32_t>(m_wVersion) << 16);
    for (const auto& [id, bytes] : m_sections) {
        while (file.size() % 4 != 0) {
            file.push_back(0);
        }
        set32(kHandTableStart + 4 * (id - 1), static_cast<uint32_t>(file.size()));
        file.insert(file.end(), bytes.begin(), bytes.end());
    }
    for (const Shared& shared : m_shared) {
        size_t at = kHandTableStart + 4 * (shared.within - 1);
        uint32_t start = file[at] | file[at + 1] << 8 | file[at + 2] << 16 | static_cast<uint32_t>(file[at + 3]) << 24;
        set32(kHandTableStart + 4 * (shared.id - 1), start + shared.cbInto);
    }
    set32(4, static_cast<uint32_t>(file.size()));
    return file;
}

SpcDataPtr Load(const Bytes& bytes)
{
    return SpcDataPtr(SpcLoadImage(bytes.data(), bytes.size()));
}

Bytes ReadFixture(const std::string& name)
{
    std::string path = std::string(ORV_MODEL_FIXTURE_DIR) + name + ".pcsp";
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing compiled fixture " << path;
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

SpcDataPtr LoadFixture(const std::string& name)
{
    return Load(ReadFixture(name));
}

Answer Ask(const tagSPCDATA* pData, SHORT sCap, SHORT sItem, LONG lView)
{
    constexpr size_t kCanary = 16;
    Answer a;
    a.dwCount = 0xDEAD;
    a.dwSizeResult = SpcQuery(pData, sCap, sItem, lView, nullptr, &a.cbSize, &a.dwCount);
    if (a.dwSizeResult != ERROR_SUCCESS) {
        a.dwResult = a.dwSizeResult;
        return a;
    }
    EXPECT_EQ(a.dwCount, 0u) << "a size query reports no records";
    // Zeroed as callers hand it in (fixed records write only their named fields), canary behind.
    Bytes buffer(a.cbSize + kCanary, 0xA5);
    std::fill(buffer.begin(), buffer.begin() + a.cbSize, 0);
    DWORD cbGiven = a.cbSize;
    a.dwResult = SpcQuery(pData, sCap, sItem, lView, buffer.data(), &a.cbSize, &a.dwCount);
    for (size_t i = cbGiven; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], 0xA5) << "capability " << sCap << " view " << lView << " wrote past its answer";
    }
    buffer.resize(cbGiven);
    a.bytes = buffer;
    return a;
}

int16_t I16(const Bytes& b, size_t off)
{
    int16_t v = 0;
    EXPECT_LE(off + 2, b.size());
    if (off + 2 <= b.size()) {
        memcpy(&v, b.data() + off, 2);
    }
    return v;
}

uint32_t U32(const Bytes& b, size_t off)
{
    uint32_t v = 0;
    EXPECT_LE(off + 4, b.size());
    if (off + 4 <= b.size()) {
        memcpy(&v, b.data() + off, 4);
    }
    return v;
}

std::string Text(const Bytes& b, size_t off, size_t cbField)
{
    std::string s;
    for (size_t i = off; i < off + cbField && i < b.size() && b[i] != 0; ++i) {
        s.push_back(static_cast<char>(b[i]));
    }
    return s;
}

}  // namespace modeltest

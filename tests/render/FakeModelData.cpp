#include "FakeModelData.h"

#include <cstring>

namespace rendertest {

namespace {

// The model data of an attached option block is the fake itself.
DWORD FakeQuery(const tagSPCDATA* data, SHORT capability, SHORT item, LONG view, void* buffer, DWORD* size,
                DWORD* count)
{
    if (data == nullptr) {
        return ERROR_INVALID_DATA;
    }
    return reinterpret_cast<const FakeModelData*>(data)->Query(capability, item, view, buffer, size, count);
}

}  // namespace

void FakeModelData::Attach(tagRENDEROPTIONS* options)
{
    options->pModelData = data();
    options->pfnModelQuery = &FakeQuery;
}

void FakeModelData::Answer(int capability, int item, int view, std::vector<uint8_t> bytes, DWORD count)
{
    m_answers[{capability, item, view}] = {std::move(bytes), count};
}

DWORD FakeModelData::Query(int capability, int item, int view, void* buffer, DWORD* size, DWORD* count) const
{
    if (size == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    auto it = m_answers.find({capability, item, view});
    if (it == m_answers.end()) {
        return ERROR_NOT_FOUND;
    }
    const std::vector<uint8_t>& bytes = it->second.first;
    if (buffer == nullptr) {
        *size = static_cast<DWORD>(bytes.size());
        if (count != nullptr) {
            *count = 0;
        }
        return ERROR_SUCCESS;
    }
    if (*size < bytes.size()) {
        *size = static_cast<DWORD>(bytes.size());
        return ERROR_INSUFFICIENT_BUFFER;
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    *size = static_cast<DWORD>(bytes.size());
    if (count != nullptr) {
        *count = it->second.second;
    }
    return ERROR_SUCCESS;
}

std::vector<uint8_t> Words32(std::initializer_list<uint32_t> words)
{
    std::vector<uint8_t> b;
    for (uint32_t w : words) {
        for (int i = 0; i < 4; ++i) {
            b.push_back(static_cast<uint8_t>(w >> (8 * i)));
        }
    }
    return b;
}

std::vector<uint8_t> Words16(std::initializer_list<uint16_t> words)
{
    std::vector<uint8_t> b;
    for (uint16_t w : words) {
        b.push_back(static_cast<uint8_t>(w));
        b.push_back(static_cast<uint8_t>(w >> 8));
    }
    return b;
}

}  // namespace rendertest

// A stand-in for the model data reader in the renderer tests: answers are registered per
// (capability, item, view) and served with the reader's size-first protocol, so each test states
// exactly the capability records it is about. An option block attached to it asks it in place of the
// reader.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/RenderOptions.h"

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

struct tagSPCDATA;

namespace rendertest {

class FakeModelData {
public:
    FakeModelData() = default;
    FakeModelData(const FakeModelData&) = delete;
    FakeModelData& operator=(const FakeModelData&) = delete;

    // The answer of (capability, item, view): its bytes and its record count.
    void Answer(int capability, int item, int view, std::vector<uint8_t> bytes, DWORD count = 1);

    // Points the option block's model data at this model and its query at this model's answers.
    void Attach(tagRENDEROPTIONS* options);

    tagSPCDATA* data() { return reinterpret_cast<tagSPCDATA*>(this); }
    const tagSPCDATA* data() const { return reinterpret_cast<const tagSPCDATA*>(this); }

    DWORD Query(int capability, int item, int view, void* buffer, DWORD* size, DWORD* count) const;

private:
    std::map<std::tuple<int, int, int>, std::pair<std::vector<uint8_t>, DWORD>> m_answers;
};

// A little-endian record of 32-bit words.
std::vector<uint8_t> Words32(std::initializer_list<uint32_t> words);
// A little-endian record of 16-bit words.
std::vector<uint8_t> Words16(std::initializer_list<uint16_t> words);

}  // namespace rendertest

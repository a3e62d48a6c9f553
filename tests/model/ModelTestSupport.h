// Helpers of the model data tests: compiled fixtures, model files built by hand byte by byte
// from the file layout (independently of the compiler), and the size-first query with canary
// bytes behind the answer.
#pragma once

#include "core/model/SpcData.h"
#include "core/model/SpcQuery.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace modeltest {

using Bytes = std::vector<uint8_t>;

struct FreeDeleter {
    void operator()(void* pv) const { free(pv); }
};
using SpcDataPtr = std::unique_ptr<tagSPCDATA, FreeDeleter>;

// Little-endian writers for hand-built bytes.
void Put32(Bytes& b, uint32_t v);
void Put16(Bytes& b, uint16_t v);
void PutText(Bytes& b, const std::string& text, size_t cbField);
void PutWords(Bytes& b, std::initializer_list<uint32_t> words);

// A model file laid out by hand: 56-byte header (magic, file size, table end, table start,
// version word at 20), a table of 102 section offsets at 56, sections behind it, 4-aligned.
class HandModel {
public:
    explicit HandModel(uint16_t wVersion = 316) : m_wVersion(wVersion) {}
    HandModel& Section(int id, const Bytes& bytes);
    // Section id starts cbInto bytes into section `within` (added before it): the two share bytes.
    HandModel& SectionInside(int id, int within, uint32_t cbInto);
    Bytes Build() const;

private:
    struct Shared {
        int id;
        int within;
        uint32_t cbInto;
    };
    uint16_t m_wVersion;
    std::vector<std::pair<int, Bytes>> m_sections;
    std::vector<Shared> m_shared;
};
inline constexpr size_t kHandTableStart = 56;
inline constexpr size_t kHandTableEnd = 56 + 4 * 102;

SpcDataPtr Load(const Bytes& bytes);
Bytes ReadFixture(const std::string& name);  // a compiled model of tests/fixtures/models
SpcDataPtr LoadFixture(const std::string& name);

// One answer asked the way the programs ask: the size first, then a buffer of exactly that size
// followed by canary bytes, which must come back untouched.
struct Answer {
    DWORD dwSizeResult = 0;
    DWORD dwResult = 0;
    DWORD cbSize = 0;
    DWORD dwCount = 0;
    Bytes bytes;
};
Answer Ask(const tagSPCDATA* pData, SHORT sCap, SHORT sItem, LONG lView);

// Host-order fields of an answer.
int16_t I16(const Bytes& b, size_t off);
uint32_t U32(const Bytes& b, size_t off);
std::string Text(const Bytes& b, size_t off, size_t cbField);

}  // namespace modeltest

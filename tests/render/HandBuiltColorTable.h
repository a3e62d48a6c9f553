// Colour-table files built byte by byte in the tests, straight from the file's layout table, so
// that a misreading shared by the reader and the compiler cannot hide.
//
//   header: u32 +0, u32 +4 (not interpreted), u32 +8 directory offset
//   directory: u32 x 5, section offsets of types 1..5 (0 = absent)
//   section: u32 +0, u16 +4 count, u16 +6 stride, entries from +8
//   entry: key[16] +0, u32 base +16, u32 offset +20, then u16 width +24 / u16 height +26 (type 2)
//          or u32 size +24 (other types)
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace rendertest {

using Key = std::array<uint8_t, 16>;

struct KeyFields {
    uint8_t type = 0;
    uint8_t mode = 0;
    uint8_t plane = 0;
    uint16_t media = 0;
    uint8_t resolution = 0;
    uint8_t lutFlags = 0;
    uint8_t ucr = 0;
    uint8_t bg = 0;
    uint8_t toner = 0;
};

inline Key MakeKey(const KeyFields& f)
{
    Key k{};
    k[0] = f.type;
    k[1] = f.mode;
    k[2] = f.plane;
    k[4] = static_cast<uint8_t>(f.media & 0xFF);
    k[5] = static_cast<uint8_t>(f.media >> 8);
    k[6] = f.resolution;
    k[7] = f.lutFlags;
    k[8] = f.ucr;
    k[9] = f.bg;
    k[10] = f.toner;
    return k;
}

struct HandEntry {
    Key key{};
    std::vector<uint8_t> payload;
    uint16_t width = 0;                   // type 2 only
    uint16_t height = 0;                  // type 2 only
    std::optional<uint32_t> claimedSize;  // size field to write instead of the payload's size
};

inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    if (b.size() < at + 4) {
        b.resize(at + 4);
    }
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

inline void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v)
{
    if (b.size() < at + 2) {
        b.resize(at + 2);
    }
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// Offsets of the pieces of a built file, for tests that damage them.
struct HandLayout {
    size_t directory = 0;
    size_t section[6] = {};  // by type, 0 = absent
    size_t payloadArea = 0;
};

// Sections in type order after the directory, then every payload; each entry's base is the start
// of the payload area and its offset is relative to it, so both words take part.
inline std::vector<uint8_t> BuildColorTable(const std::vector<HandEntry>& entries, uint16_t stride = 28,
                                            HandLayout* layout = nullptr)
{
    std::vector<uint8_t> b(12, 0);
    Put32(b, 0, 0x11111111);
    Put32(b, 4, 0x22222222);
    Put32(b, 8, 12);
    b.resize(12 + 20, 0);
    HandLayout lay;
    lay.directory = 12;

    size_t at = 32;
    std::vector<std::pair<size_t, const HandEntry*>> entrySlots;
    for (int type = 1; type <= 5; ++type) {
        std::vector<const HandEntry*> mine;
        for (const HandEntry& e : entries) {
            if (e.key[0] == type) {
                mine.push_back(&e);
            }
        }
        if (mine.empty()) {
            continue;
        }
        lay.section[type] = at;
        Put32(b, 12 + 4 * (type - 1), static_cast<uint32_t>(at));
        Put32(b, at, 0x33333333);
        Put16(b, at + 4, static_cast<uint16_t>(mine.size()));
        Put16(b, at + 6, stride);
        at += 8;
        for (const HandEntry* e : mine) {
            entrySlots.emplace_back(at, e);
            at += stride;
        }
        b.resize(at, 0);
    }
    lay.payloadArea = at;
    size_t rel = 0;
    for (auto& [entryAt, e] : entrySlots) {
        for (size_t i = 0; i < 16; ++i) {
            b[entryAt + i] = e->key[i];
        }
        Put32(b, entryAt + 16, static_cast<uint32_t>(lay.payloadArea));
        Put32(b, entryAt + 20, static_cast<uint32_t>(rel));
        if (e->key[0] == 2) {
            Put16(b, entryAt + 24, e->width);
            Put16(b, entryAt + 26, e->height);
        } else {
            Put32(b, entryAt + 24, e->claimedSize.value_or(static_cast<uint32_t>(e->payload.size())));
        }
        b.resize(lay.payloadArea + rel);
        b.insert(b.end(), e->payload.begin(), e->payload.end());
        rel += e->payload.size();
    }
    b.resize(lay.payloadArea + rel);
    if (layout != nullptr) {
        *layout = lay;
    }
    return b;
}

}  // namespace rendertest

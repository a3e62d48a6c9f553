#include "ColorTableWriter.h"

#include <cstddef>

namespace ctc {

namespace {

constexpr size_t kHeaderBytes = 12;
constexpr size_t kDirectoryBytes = 20;
constexpr size_t kSectionHeaderBytes = 8;
constexpr size_t kEntryBytes = 28;
constexpr uint32_t kFormatVersion = 1;

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v)
{
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

std::vector<uint8_t> WriteColorTable(const std::vector<TableEntry>& entries, std::string* error)
{
    std::string ignored;
    std::string& err = error != nullptr ? *error : ignored;
    err.clear();

    std::vector<const TableEntry*> byType[6];
    for (const TableEntry& e : entries) {
        const int type = e.key[0];
        if (type < 1 || type > 5) {
            err = "entry of section type " + std::to_string(type) + " (1 to 5 exist)";
            return {};
        }
        if (type == 2 && static_cast<size_t>(e.width) * e.height != e.payload.size()) {
            err = "threshold matrix of " + std::to_string(e.width) + " x " + std::to_string(e.height) +
                  " with " + std::to_string(e.payload.size()) + " bytes";
            return {};
        }
        byType[type].push_back(&e);
    }

    // Layout: header, directory, the sections in type order, then the payload area. Every entry's
    // base is the payload area and its offset is relative to it.
    size_t at = kHeaderBytes + kDirectoryBytes;
    size_t sectionAt[6] = {};
    for (int type = 1; type <= 5; ++type) {
        if (byType[type].empty()) {
            continue;
        }
        if (byType[type].size() > 0xFFFF) {
            err = "more than 65535 entries of section type " + std::to_string(type);
            return {};
        }
        sectionAt[type] = at;
        at += kSectionHeaderBytes + kEntryBytes * byType[type].size();
    }
    const size_t payloadArea = at;
    uint64_t total = payloadArea;
    for (const TableEntry& e : entries) {
        total += e.payload.size();
    }
    if (total > 0xFFFFFFFFu) {
        err = "the tables do not fit in 4 GB";
        return {};
    }

    std::vector<uint8_t> b(static_cast<size_t>(total), 0);
    Put32(b, 0, static_cast<uint32_t>(total));
    Put32(b, 4, kFormatVersion);
    Put32(b, 8, static_cast<uint32_t>(kHeaderBytes));
    size_t relative = 0;
    for (int type = 1; type <= 5; ++type) {
        if (sectionAt[type] == 0) {
            continue;
        }
        Put32(b, kHeaderBytes + 4 * (type - 1), static_cast<uint32_t>(sectionAt[type]));
        const size_t s = sectionAt[type];
        Put16(b, s + 4, static_cast<uint16_t>(byType[type].size()));
        Put16(b, s + 6, static_cast<uint16_t>(kEntryBytes));
        size_t entryAt = s + kSectionHeaderBytes;
        for (const TableEntry* e : byType[type]) {
            for (size_t i = 0; i < e->key.size(); ++i) {
                b[entryAt + i] = e->key[i];
            }
            Put32(b, entryAt + 16, static_cast<uint32_t>(payloadArea));
            Put32(b, entryAt + 20, static_cast<uint32_t>(relative));
            if (type == 2) {
                Put16(b, entryAt + 24, e->width);
                Put16(b, entryAt + 26, e->height);
            } else {
                Put32(b, entryAt + 24, static_cast<uint32_t>(e->payload.size()));
            }
            for (size_t i = 0; i < e->payload.size(); ++i) {
                b[payloadArea + relative + i] = e->payload[i];
            }
            relative += e->payload.size();
            entryAt += kEntryBytes;
        }
    }
    return b;
}

}  // namespace ctc

#include "SpcFileWriter.h"

#include <algorithm>
#include <set>

namespace {

constexpr uint32_t kMagic = 0x50534350;  // "PCSP"
constexpr size_t kHeaderSize = 56;
constexpr int kTableEntries = 102;
constexpr size_t kTableStart = kHeaderSize;
constexpr size_t kTableEnd = kTableStart + 4 * kTableEntries;
constexpr size_t kFileSizeAt = 4, kTableEndAt = 8, kTableStartAt = 12;

struct Section {
    int id;
    SpcByteBuffer bytes;
    bool bLast;  // an unterminated string: placed at the very end, so it runs into the file's end
};

std::vector<Section> WriteSections(const json& model)
{
    std::vector<Section> sections;
    std::set<int> seen;
    const json& list = model.contains("sections") ? model.at("sections") : json::array();
    for (const json& s : list) {
        int id = static_cast<int>(SpcJsonWord(s, "id"));
        if (id < 1 || id > kTableEntries) {
            throw SpcCompileError{"section id out of 1..102: " + std::to_string(id)};
        }
        if (!seen.insert(id).second) {
            throw SpcCompileError{"two sections for capability " + std::to_string(id)};
        }
        Section section{id, {}, s.value("unterminated", false)};
        try {
            SpcFindSectionWriter(s).pfnWrite(s, id, section.bytes);
        } catch (const SpcCompileError& e) {
            throw SpcCompileError{"capability " + std::to_string(id) + ": " + e.message};
        }
        sections.push_back(std::move(section));
    }
    std::stable_partition(sections.begin(), sections.end(), [](const Section& s) { return !s.bLast; });
    return sections;
}

void ApplyDamage(const json& damage, SpcByteBuffer& file)
{
    uint32_t cbFile = static_cast<uint32_t>(file.Size());
    if (damage.contains("magic")) {
        file.Overwrite32(0, SpcJsonWord(damage, "magic"));
    }
    if (damage.contains("fileSizeWord")) {
        file.Overwrite32(kFileSizeAt, SpcJsonWord(damage, "fileSizeWord"));
    }
    if (damage.contains("tableStart")) {
        file.Overwrite32(kTableStartAt, SpcJsonWord(damage, "tableStart"));
    }
    if (damage.contains("tableEnd")) {
        file.Overwrite32(kTableEndAt, SpcJsonWord(damage, "tableEnd"));
    }
    // {"id": n, "offset": x} or {"id": n, "pastEnd": d}: the entry points at x, or d bytes past
    // the file's size (0: exactly at it).
    if (damage.contains("entries")) {
        for (const json& entry : damage.at("entries")) {
            int id = static_cast<int>(SpcJsonWord(entry, "id"));
            if (id < 1 || id > kTableEntries) {
                throw SpcCompileError{"damage entry id out of 1..102"};
            }
            uint32_t offset = entry.contains("pastEnd") ? cbFile + SpcJsonWord(entry, "pastEnd")
                                                        : SpcJsonWord(entry, "offset");
            file.Overwrite32(kTableStart + 4 * (id - 1), offset);
        }
    }
    // The header keeps its size word: a cut file is shorter than its header says.
    if (damage.contains("truncateBy")) {
        uint32_t cut = SpcJsonWord(damage, "truncateBy");
        file.Bytes().resize(cut < file.Size() ? file.Size() - cut : 0);
    }
}

}  // namespace

std::vector<uint8_t> SpcCompileModel(const json& model)
{
    std::vector<Section> sections = WriteSections(model);

    SpcByteBuffer file;
    file.Put32(kMagic);
    file.Put32(0);  // file size, set below
    file.Put32(static_cast<uint32_t>(kTableEnd));
    file.Put32(static_cast<uint32_t>(kTableStart));
    file.Put32(0);
    uint32_t dwVersion = (SpcJsonWord(model, "version", 316) << 16) | (SpcJsonWord(model, "versionLow") & 0xFFFF);
    file.Put32(dwVersion);
    file.PadTo(kHeaderSize);
    file.PadTo(kTableEnd);

    for (const Section& section : sections) {
        file.PadTo((file.Size() + 3) & ~size_t(3));
        file.Overwrite32(kTableStart + 4 * (section.id - 1), static_cast<uint32_t>(file.Size()));
        file.Append(section.bytes);
    }
    if (file.Size() > UINT32_MAX) {
        throw SpcCompileError{"the model does not fit a 32-bit file size"};
    }
    file.Overwrite32(kFileSizeAt, static_cast<uint32_t>(file.Size()));

    if (model.contains("damage")) {
        ApplyDamage(model.at("damage"), file);
    }
    return file.Bytes();
}

// The table lists (32, 33, 35, 36, 39, 41, 46, 47, 51, 53, 55, 69, 70, 76, 80-94), the
// resolution entries (42), the byte tables (43), the PJL items (65), the feature lists (71) and
// the dependency pairs (95).
#include "SpcSectionWriters.h"

namespace {

const json kNoItems = json::array();

const json& Items(const json& object, const char* key)
{
    return object.is_object() && object.contains(key) && object.at(key).is_array() ? object.at(key) : kNoItems;
}

// Raw items (numbers, {"text", "size"}, {"u16"}, {"u8"}, {"zeros"}) in the raw writer's notation.
SpcByteBuffer RawItems(const json& items, int capId)
{
    SpcByteBuffer bytes;
    SpcWriteRaw(json{{"raw", items}}, capId, bytes);
    return bytes;
}

// Where the count word of a fixed-record list stands among its section words, and how long one
// record is.
struct TableShape {
    int idFirst;
    int idLast;
    size_t wordsBefore;  // section words before the count word
    size_t wordsAfter;   // section words between the count word and the first record
    size_t recordWords;
};

const TableShape kTables[] = {
    {32, 32, 0, 0, 5},   {33, 33, 0, 0, 4},   {35, 35, 1, 0, 4},  {36, 36, 5, 0, 4},   {39, 39, 2, 0, 42},
    {41, 41, 0, 2, 3},   {46, 46, 1, 0, 4},   {47, 47, 0, 2, 5},  {51, 51, 2, 0, 5},   {53, 53, 2, 0, 12},
    {55, 55, 31, 0, 4},  {69, 69, 0, 0, 66},  {70, 70, 0, 0, 2},  {76, 76, 0, 0, 2},   {80, 94, 0, 0, 1},
};

const TableShape& FindTable(int capId)
{
    for (const TableShape& shape : kTables) {
        if (capId >= shape.idFirst && capId <= shape.idLast) {
            return shape;
        }
    }
    throw SpcCompileError{"capability " + std::to_string(capId) + " is not a table list"};
}

}  // namespace

// {"table": {"header": [section words], "records": [[raw items], ...], "trailer": [raw items],
//  "countWord": override}}: the section words and count in the capability's order, then the
// records (each exactly one record long), then the trailer.
void SpcWriteTable(const json& section, int capId, SpcByteBuffer& out)
{
    const TableShape& shape = FindTable(capId);
    const json& t = section.at("table");
    std::vector<uint32_t> header = SpcJsonFixedWords(t, "header", shape.wordsBefore + shape.wordsAfter);
    const json& records = Items(t, "records");
    for (size_t i = 0; i < shape.wordsBefore; ++i) {
        out.Put32(header[i]);
    }
    out.Put32(SpcListCount(t, records.size()));
    for (size_t i = shape.wordsBefore; i < header.size(); ++i) {
        out.Put32(header[i]);
    }
    for (const json& record : records) {
        SpcByteBuffer bytes = RawItems(record, capId);
        if (bytes.Size() != 4 * shape.recordWords) {
            throw SpcCompileError{"a record of " + std::to_string(bytes.Size()) + " bytes where " +
                                  std::to_string(4 * shape.recordWords) + " belong"};
        }
        out.Append(bytes);
    }
    out.Append(RawItems(Items(t, "trailer"), capId));
}

// {"resolutions": {"defaultMode": m, "modes": [{"id", "words": [words 1-15], "lists": [[..],
//  [..], [..]]}]}}: count, default mode, then 16 words and three counted lists per mode.
void SpcWriteResolutions(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("resolutions");
    const json& modes = Items(s, "modes");
    out.Put32(SpcListCount(s, modes.size()));
    out.Put32(SpcJsonWord(s, "defaultMode"));
    for (const json& mode : modes) {
        out.Put32(SpcJsonWord(mode, "id"));
        SpcPutWords(out, SpcJsonFixedWords(mode, "words", 15));
        const json& lists = Items(mode, "lists");
        if (lists.size() > 3) {
            throw SpcCompileError{"a resolution entry holds three lists"};
        }
        for (size_t i = 0; i < 3; ++i) {
            std::vector<uint32_t> words;
            if (i < lists.size()) {
                words = SpcJsonWords(json{{"w", lists[i]}}, "w");
            }
            SpcPutCountedList(out, words);
        }
    }
}

// {"byteTables": {"tables": [{"id", "a", "b", "word3", "data": [bytes]}]}}: a x b data bytes,
// zero-padded to a whole word.
void SpcWriteByteTables(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("byteTables");
    const json& tables = Items(s, "tables");
    out.Put32(SpcListCount(s, tables.size()));
    for (const json& table : tables) {
        uint32_t a = SpcJsonWord(table, "a");
        uint32_t b = SpcJsonWord(table, "b");
        std::vector<uint32_t> data = SpcJsonWords(table, "data");
        uint64_t cbData = static_cast<uint64_t>(a) * b;
        if (cbData > (1u << 20) || data.size() > cbData) {
            throw SpcCompileError{"a byte table holds at most a x b bytes (and a sensible size)"};
        }
        out.Put32(SpcJsonWord(table, "id"));
        out.Put32(a);
        out.Put32(b);
        out.Put32(SpcJsonWord(table, "word3"));
        for (uint64_t i = 0; i < cbData; ++i) {
            out.Bytes().push_back(i < data.size() ? static_cast<uint8_t>(data[i]) : 0);
        }
        out.PadTo((out.Size() + 3) & ~size_t(3));
    }
}

// {"pjlItems": {"flags", "word1", "items": [{"id", "copyFlags", "maxLength", "word3",
//  "texts": [{"key", "text", "length": override}]}]}}: each text is stored with its terminator
// (length = text + 1) unless a length is given.
void SpcWritePjlItems(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("pjlItems");
    const json& items = Items(s, "items");
    out.Put32(SpcJsonWord(s, "flags"));
    out.Put32(SpcJsonWord(s, "word1"));
    out.Put32(SpcListCount(s, items.size()));
    for (const json& item : items) {
        const json& texts = Items(item, "texts");
        out.Put32(SpcJsonWord(item, "id"));
        out.Put32(SpcJsonWord(item, "copyFlags"));
        out.Put32(SpcJsonWord(item, "maxLength"));
        out.Put32(SpcJsonWord(item, "word3"));
        out.Put32(static_cast<uint32_t>(texts.size()));
        for (const json& text : texts) {
            std::string s2 = SpcJsonText(text, "text");
            uint32_t cb = SpcJsonWord(text, "length", static_cast<uint32_t>(s2.size() + 1));
            out.Put32(SpcJsonWord(text, "key"));
            out.Put32(cb);
            out.PutText(s2, cb);
        }
    }
}

namespace {

void PutFeatureRecords(SpcByteBuffer& out, const json& records)
{
    for (const json& record : records) {
        const json& pairs = Items(record, "pairs");
        out.Put32(SpcJsonWord(record, "id"));
        out.Put32(SpcJsonWord(record, "word1"));
        out.Put32(SpcJsonWord(record, "word2"));
        out.Put32(static_cast<uint32_t>(pairs.size()));
        for (const json& pair : pairs) {
            std::vector<uint32_t> kv = SpcJsonWords(json{{"w", pair}}, "w");
            if (kv.size() != 2) {
                throw SpcCompileError{"a feature pair is [key, value]"};
            }
            SpcPutWords(out, kv);
        }
    }
}

}  // namespace

// {"featureLists": {"flags", "word1", "list1": [records], "list2": [records]}}, a record being
// {"id", "word1", "word2", "pairs": [[key, value], ...]}.
void SpcWriteFeatureLists(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("featureLists");
    const json& list1 = Items(s, "list1");
    const json& list2 = Items(s, "list2");
    out.Put32(SpcJsonWord(s, "flags"));
    out.Put32(SpcJsonWord(s, "word1"));
    out.Put32(SpcJsonWord(s, "list1Count", static_cast<uint32_t>(list1.size())));
    out.Put32(SpcJsonWord(s, "list2Count", static_cast<uint32_t>(list2.size())));
    PutFeatureRecords(out, list1);
    PutFeatureRecords(out, list2);
}

// {"dependPairs": {"keys": [{"key": item, "dependents": [items]}]}}.
void SpcWriteDependPairs(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("dependPairs");
    const json& keys = Items(s, "keys");
    out.Put32(SpcListCount(s, keys.size()));
    for (const json& key : keys) {
        out.Put32(SpcJsonWord(key, "key"));
        SpcPutCountedList(out, SpcJsonWords(key, "dependents"));
    }
}

// {"optionList": {"lists": [[capability ids], ...]}}: one counted list per record.
void SpcWriteOptionList(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("optionList");
    const json& lists = Items(s, "lists");
    out.Put32(SpcListCount(s, lists.size()));
    for (const json& list : lists) {
        SpcPutCountedList(out, SpcJsonWords(json{{"w", list}}, "w"));
    }
}

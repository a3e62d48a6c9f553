// Media types (22), paper sources (24), duplex modes (25) and source groups (26).
#include "SpcSectionWriters.h"

namespace {

const json kEmpty = json::object();

const json& Member(const json& object, const char* key)
{
    return object.is_object() && object.contains(key) ? object.at(key) : kEmpty;
}

size_t Count(const json& array)
{
    return array.is_array() ? array.size() : 0;
}

// Media record: id, value, six words, valued lists A and B, 144-byte name block, counted list,
// three closing words.
void PutMedia(SpcByteBuffer& out, const json& m)
{
    out.Put32(SpcJsonWord(m, "id"));
    out.Put32(SpcJsonWord(m, "value"));
    SpcPutWords(out, SpcJsonFixedWords(m, "words", 6));  // file words 8 to 28
    SpcPutValuedList(out, m, "listA");
    SpcPutValuedList(out, m, "listB");
    const json& names = Member(m, "names");
    out.Put32(SpcJsonWord(names, "a"));
    out.Put32(SpcJsonWord(names, "b"));
    out.PutText(SpcJsonText(names, "name1"), 32);
    out.PutText(SpcJsonText(names, "name2"), 32);
    out.Put32(SpcJsonWord(names, "c"));
    out.Put32(SpcJsonWord(names, "d"));
    out.PutText(SpcJsonText(names, "name3"), 32);
    out.PutText(SpcJsonText(names, "name4"), 32);
    SpcPutCountedList(out, SpcJsonWords(m, "tail"));
    SpcPutWords(out, SpcJsonFixedWords(m, "closing", 3));
}

// Source record; a group source entry carries its "extra" word right behind the value.
void PutSource(SpcByteBuffer& out, const json& s, bool bGroupEntry)
{
    out.Put32(SpcJsonWord(s, "id"));
    out.Put32(SpcJsonWord(s, "value"));
    if (bGroupEntry) {
        out.Put32(SpcJsonWord(s, "extra"));
    }
    SpcPutWords(out, SpcJsonFixedWords(s, "words", 6));
    SpcPutValuedList(out, s, "listA");
    SpcPutValuedList(out, s, "listB");
    const json& names = Member(s, "names");  // 80-byte source name block
    out.Put32(SpcJsonWord(names, "a"));
    out.Put32(SpcJsonWord(names, "b"));
    out.PutText(SpcJsonText(names, "name1"), 32);
    out.Put32(SpcJsonWord(names, "c"));
    out.Put32(SpcJsonWord(names, "d"));
    out.PutText(SpcJsonText(names, "name2"), 32);
    SpcPutCountedList(out, SpcJsonWords(s, "tail"));
    SpcPutWords(out, SpcJsonFixedWords(s, "closing", 3));
    out.PutText(SpcJsonText(s, "name3"), 32);
    out.PutText(SpcJsonText(s, "name4"), 32);
}

}  // namespace

// {"mediaTypes": {"defaultId", "media": [...], "trailer"}}
void SpcWriteMediaTypes(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("mediaTypes");
    const json& media = Member(s, "media");
    out.Put32(SpcListCount(s, Count(media)));
    out.Put32(SpcJsonWord(s, "defaultId"));
    for (size_t i = 0; i < Count(media); ++i) {
        PutMedia(out, media[i]);
    }
    out.Put32(SpcJsonWord(s, "trailer"));
}

// {"paperSources": {"defaultId", "sources": [...]}}
void SpcWritePaperSources(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("paperSources");
    const json& sources = Member(s, "sources");
    out.Put32(SpcListCount(s, Count(sources)));
    out.Put32(SpcJsonWord(s, "defaultId"));
    for (size_t i = 0; i < Count(sources); ++i) {
        PutSource(out, sources[i], false);
    }
}

// {"duplexModes": {"flags", "words": [4], "default", "modes": [...], "trailer": [4], "extra"}}
// A mode: {"id", "word4", "word8", "a", "b", "name1", "name2", "c", "d", "name3", "name4",
// "word156"}: the 160-byte record, a 144-byte name block at 12.
void SpcWriteDuplexModes(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("duplexModes");
    const json& modes = Member(s, "modes");
    out.Put32(SpcJsonWord(s, "flags"));
    SpcPutWords(out, SpcJsonFixedWords(s, "words", 4));
    out.Put32(SpcJsonWord(s, "default"));
    out.Put32(SpcListCount(s, Count(modes)));
    for (size_t i = 0; i < Count(modes); ++i) {
        const json& m = modes[i];
        out.Put32(SpcJsonWord(m, "id"));
        out.Put32(SpcJsonWord(m, "word4"));
        out.Put32(SpcJsonWord(m, "word8"));
        out.Put32(SpcJsonWord(m, "a"));
        out.Put32(SpcJsonWord(m, "b"));
        out.PutText(SpcJsonText(m, "name1"), 32);
        out.PutText(SpcJsonText(m, "name2"), 32);
        out.Put32(SpcJsonWord(m, "c"));
        out.Put32(SpcJsonWord(m, "d"));
        out.PutText(SpcJsonText(m, "name3"), 32);
        out.PutText(SpcJsonText(m, "name4"), 32);
        out.Put32(SpcJsonWord(m, "word156"));
    }
    SpcPutWords(out, SpcJsonFixedWords(s, "trailer", 4));
    out.Put32(SpcJsonWord(s, "extra"));
}

// {"sourceGroups": {"groups": [{"id", "kind", "word8", "word12", "name", "tail": [...],
//   "sources": [source with "extra"], "sourceCountWord"}]}}
void SpcWriteSourceGroups(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("sourceGroups");
    const json& groups = Member(s, "groups");
    out.Put32(SpcListCount(s, Count(groups)));
    for (size_t i = 0; i < Count(groups); ++i) {
        const json& g = groups[i];
        out.Put32(SpcJsonWord(g, "id"));
        out.Put32(SpcJsonWord(g, "kind"));
        out.Put32(SpcJsonWord(g, "word8"));
        out.Put32(SpcJsonWord(g, "word12"));
        out.PutText(SpcJsonText(g, "name"), 16);
        SpcPutCountedList(out, SpcJsonWords(g, "tail"));
        const json& sources = Member(g, "sources");
        out.Put32(SpcJsonWord(g, "sourceCountWord", static_cast<uint32_t>(Count(sources))));
        for (size_t j = 0; j < Count(sources); ++j) {
            PutSource(out, sources[j], true);
        }
    }
}

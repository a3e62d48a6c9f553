// Finishing units (27) and the flat table of finishing modes (34).
#include "SpcSectionWriters.h"

namespace {

const json kNoItems = json::array();

const json& Items(const json& object, const char* key)
{
    return object.is_object() && object.contains(key) && object.at(key).is_array() ? object.at(key) : kNoItems;
}

// Words 0-4 shared by punch, staple and finishing-mode entries: id, value, flags, PJL flags
// (0x4: the text is a PJL value), word 4.
void PutEntryHead(SpcByteBuffer& out, const json& e)
{
    out.Put32(SpcJsonWord(e, "id"));
    out.Put32(SpcJsonWord(e, "value"));
    out.Put32(SpcJsonWord(e, "flags"));
    out.Put32(SpcJsonWord(e, "pjlFlags"));
    out.Put32(SpcJsonWord(e, "word4"));
}

// A counted list of 4-word paper entries [paper id, staple-position flags, word 2, word 3].
void PutPaperEntries(SpcByteBuffer& out, const json& entries)
{
    out.Put32(static_cast<uint32_t>(entries.size()));
    for (const json& entry : entries) {
        std::vector<uint32_t> words = SpcJsonWords(json{{"w", entry}}, "w");
        if (words.size() > 4) {
            throw SpcCompileError{"a paper entry has four words"};
        }
        words.resize(4, 0);
        SpcPutWords(out, words);
    }
}

// A finishing mode: words 0-20 (text at 5-12, words 13-20 as "words"), for the flat table a
// 16-byte short text, then the paper entries, the second entries and P0-P2.
void PutFinishMode(SpcByteBuffer& out, const json& m, bool bShortText)
{
    PutEntryHead(out, m);
    out.PutText(SpcJsonText(m, "text"), 32);
    SpcPutWords(out, SpcJsonFixedWords(m, "words", 8));  // words 13-20
    if (bShortText) {
        out.PutText(SpcJsonText(m, "shortText"), 16);
    }
    PutPaperEntries(out, Items(m, "papers"));
    PutPaperEntries(out, Items(m, "seconds"));
    SpcPutWords(out, SpcJsonFixedWords(m, "tail", 3));  // P0, P1, P2
}

void PutUnit(SpcByteBuffer& out, const json& u)
{
    out.Put32(SpcJsonWord(u, "id"));
    out.Put32(SpcJsonWord(u, "value"));
    out.PutText(SpcJsonText(u, "name"), 32);
    out.Put32(SpcJsonWord(u, "availability"));
    out.Put32(SpcJsonWord(u, "optionFlags"));
    SpcPutWords(out, SpcJsonFixedWords(u, "words", 3));  // words 12-14
    out.PutText(SpcJsonText(u, "text2"), 32);

    const json& punches = Items(u, "punches");
    out.Put32(SpcJsonWord(u, "punchPresence"));
    out.Put32(static_cast<uint32_t>(punches.size()));
    for (const json& p : punches) {
        PutEntryHead(out, p);
        out.PutText(SpcJsonText(p, "text"), 32);
        SpcPutWords(out, SpcJsonFixedWords(p, "words", 5));  // words 13-17
    }

    const json& staples = Items(u, "staples");
    out.Put32(SpcJsonWord(u, "staplePresence"));
    out.Put32(static_cast<uint32_t>(staples.size()));
    for (const json& s : staples) {
        PutEntryHead(out, s);
        out.PutText(SpcJsonText(s, "textA"), 32);
        out.PutText(SpcJsonText(s, "textB"), 32);
        SpcPutWords(out, SpcJsonFixedWords(s, "words", 2));  // words 21, 22
    }

    const json& modes = Items(u, "modes");
    out.Put32(SpcJsonWord(u, "modeListWord"));
    out.Put32(static_cast<uint32_t>(modes.size()));
    for (const json& m : modes) {
        PutFinishMode(out, m, false);
    }
}

}  // namespace

// {"finishers": {"units": [{"id", "value", "name", "availability", "optionFlags", "words": [12-14],
//  "text2", "punchPresence", "punches": [...], "staplePresence", "staples": [...],
//  "modeListWord", "modes": [...]}]}}.
void SpcWriteFinishers(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("finishers");
    const json& units = Items(s, "units");
    out.Put32(SpcListCount(s, units.size()));
    for (const json& u : units) {
        PutUnit(out, u);
    }
}

// {"finishModes": {"word1", "modes": [{... as a unit's mode, plus "shortText"}]}}.
void SpcWriteFinishModes(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("finishModes");
    const json& modes = Items(s, "modes");
    out.Put32(SpcListCount(s, modes.size()));
    out.Put32(SpcJsonWord(s, "word1"));
    for (const json& m : modes) {
        PutFinishMode(out, m, true);
    }
}

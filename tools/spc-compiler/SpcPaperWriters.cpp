// Paper sizes (20), custom paper limits (21, 75, 101, 102), named values (7) and long texts (18).
#include "SpcSectionWriters.h"

namespace {

const json kEmpty = json::object();

const json& Member(const json& object, const char* key)
{
    return object.is_object() && object.contains(key) ? object.at(key) : kEmpty;
}

// 144-byte name block {a, b, name1, name2, c, d, name3, name4}.
void PutNameBlock(SpcByteBuffer& out, const json& names)
{
    out.Put32(SpcJsonWord(names, "a"));
    out.Put32(SpcJsonWord(names, "b"));
    out.PutText(SpcJsonText(names, "name1"), 32);
    out.PutText(SpcJsonText(names, "name2"), 32);
    out.Put32(SpcJsonWord(names, "c"));
    out.Put32(SpcJsonWord(names, "d"));
    out.PutText(SpcJsonText(names, "name3"), 32);
    out.PutText(SpcJsonText(names, "name4"), 32);
}

// Pairs of words: [[first, second], ...].
void PutPairs(SpcByteBuffer& out, const json& record)
{
    const json& pairs = Member(record, "pairs");
    out.Put32(static_cast<uint32_t>(pairs.is_array() ? pairs.size() : 0));
    if (!pairs.is_array()) {
        return;
    }
    for (const json& pair : pairs) {
        json wrapper = {{"p", pair}};
        std::vector<uint32_t> words = SpcJsonFixedWords(wrapper, "p", 2);
        SpcPutWords(out, words);
    }
}

void PutPaper(SpcByteBuffer& out, const json& p)
{
    out.Put32(SpcJsonWord(p, "id"));
    out.Put32(SpcJsonWord(p, "value2"));
    out.Put32(SpcJsonWord(p, "kind"));
    out.Put32(SpcJsonWord(p, "widthMm"));
    out.Put32(SpcJsonWord(p, "lengthMm"));
    out.Put32(SpcJsonWord(p, "widthDots"));
    out.Put32(SpcJsonWord(p, "lengthDots"));
    SpcPutWords(out, SpcJsonFixedWords(p, "margins", 4));
    SpcPutWords(out, SpcJsonFixedWords(p, "turnedMargins", 4));
    SpcPutWords(out, SpcJsonFixedWords(p, "words", 6));  // file words 60 to 80
    SpcPutValuedList(out, p, "listA");
    SpcPutValuedList(out, p, "listB");
    PutNameBlock(out, Member(p, "names"));
    PutPairs(out, p);
    SpcPutCountedList(out, SpcJsonWords(p, "tail"));
    SpcPutWords(out, SpcJsonFixedWords(p, "closing", 3));
}

}  // namespace

// {"paperSizes": {"paperFlags", "metricDefault", "inchDefault", "resolution", "papers": [...]}}
void SpcWritePaperSizes(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("paperSizes");
    const json& papers = Member(s, "papers");
    size_t n = papers.is_array() ? papers.size() : 0;
    out.Put32(SpcListCount(s, n));
    out.Put32(SpcJsonWord(s, "paperFlags"));
    out.Put32(SpcJsonWord(s, "metricDefault"));
    out.Put32(SpcJsonWord(s, "inchDefault"));
    out.Put32(SpcJsonWord(s, "resolution", 600));
    for (size_t i = 0; i < n; ++i) {
        PutPaper(out, papers[i]);
    }
}

// {"customLimits": {"flags", "limits": [16], "words": [6], "listA", "listB",
//   "nameHalf": {"a", "b", "name1", "name2"}, "list": [...], "word", "closing": [3],
//   "userPaperList": [...], "maxUserPapers"}}
//
// Readers look for the short counted list ("list", its word and the three closing words) 72 bytes
// behind the start of the name half and for the maximum number of user papers behind a counted
// list 144 bytes behind it. Both are placed where their reader looks, so each reading is right.
void SpcWriteCustomLimits(const json& section, int, SpcByteBuffer& out)
{
    const json& c = section.at("customLimits");
    out.Put32(SpcJsonWord(c, "flags"));
    SpcPutWords(out, SpcJsonFixedWords(c, "limits", 16));
    SpcPutWords(out, SpcJsonFixedWords(c, "words", 6));  // file words 68 to 88
    SpcPutValuedList(out, c, "listA");
    SpcPutValuedList(out, c, "listB");
    size_t half = out.Size();
    const json& names = Member(c, "nameHalf");
    out.Put32(SpcJsonWord(names, "a"));
    out.Put32(SpcJsonWord(names, "b"));
    out.PutText(SpcJsonText(names, "name1"), 32);
    out.PutText(SpcJsonText(names, "name2"), 32);

    SpcPutCountedList(out, SpcJsonWords(c, "list"));
    out.Put32(SpcJsonWord(c, "word"));
    SpcPutWords(out, SpcJsonFixedWords(c, "closing", 3));
    if (out.Size() > half + 144) {
        throw SpcCompileError{"customLimits: \"list\" is too long to leave room for the user-paper list"};
    }
    out.PadTo(half + 144);
    SpcPutCountedList(out, SpcJsonWords(c, "userPaperList"));
    out.Put32(SpcJsonWord(c, "maxUserPapers"));
}

// {"namedValues": {"values": [{"id", "value", "name"}]}}: 24-byte records, name char[16].
void SpcWriteNamedValues(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("namedValues");
    const json& values = Member(s, "values");
    size_t n = values.is_array() ? values.size() : 0;
    out.Put32(SpcListCount(s, n));
    for (size_t i = 0; i < n; ++i) {
        out.Put32(SpcJsonWord(values[i], "id"));
        out.Put32(SpcJsonWord(values[i], "value"));
        out.PutText(SpcJsonText(values[i], "name"), 16);
    }
}

// {"longTexts": {"texts": [{"id", "text", "length", "lengthWord"}]}}: id, length (text +
// terminator unless given), the text padded or cut to that length; "lengthWord" writes another
// length word in front of the same bytes (a text that claims to run past its section).
void SpcWriteLongTexts(const json& section, int, SpcByteBuffer& out)
{
    const json& s = section.at("longTexts");
    const json& texts = Member(s, "texts");
    size_t n = texts.is_array() ? texts.size() : 0;
    out.Put32(SpcListCount(s, n));
    for (size_t i = 0; i < n; ++i) {
        std::string text = SpcJsonText(texts[i], "text");
        uint32_t cb = SpcJsonWord(texts[i], "length", static_cast<uint32_t>(text.size() + 1));
        out.Put32(SpcJsonWord(texts[i], "id"));
        out.Put32(SpcJsonWord(texts[i], "lengthWord", cb));
        out.PutText(text, cb);
    }
}

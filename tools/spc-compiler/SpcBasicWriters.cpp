// Strings and raw sections (fixed records, or any bytes a test wants to place by hand).
#include "SpcSectionWriters.h"

namespace {

// Capabilities whose string stands behind a leading word.
bool HasLeadingWord(int capId)
{
    return capId == 10 || capId == 11 || (capId >= 15 && capId <= 17);
}

}  // namespace

// {"string": "text", "lead": word, "unterminated": true}
void SpcWriteString(const json& section, int capId, SpcByteBuffer& out)
{
    if (HasLeadingWord(capId)) {
        out.Put32(SpcJsonWord(section, "lead"));
    }
    std::string text = SpcJsonText(section, "string");
    if (section.value("unterminated", false)) {
        out.PutText(text, text.size());
    } else {
        out.PutCString(text);
    }
}

// Capability 14: {"strings": ["first", "second"], "secondLength": override}: the byte length
// of the first string, the first string, the length of the second (0 when there is none), the
// second string.
void SpcWriteTwoStrings(const json& section, int, SpcByteBuffer& out)
{
    const json& strings = section.at("strings");
    std::string first = strings.size() > 0 ? strings[0].get<std::string>() : std::string();
    out.Put32(static_cast<uint32_t>(first.size() + 1));
    out.PutCString(first);
    if (strings.size() > 1) {
        std::string second = strings[1].get<std::string>();
        out.Put32(SpcJsonWord(section, "secondLength", static_cast<uint32_t>(second.size() + 1)));
        out.PutCString(second);
    } else {
        out.Put32(SpcJsonWord(section, "secondLength", 0));
    }
}

// {"raw": [items]}: a number is a u32 word; {"u16": v} two bytes; {"u8": v} one byte;
// {"text": "s", "size": n} a fixed char array; {"zeros": n} n zero bytes.
void SpcWriteRaw(const json& section, int, SpcByteBuffer& out)
{
    for (const json& item : section.at("raw")) {
        if (item.is_number()) {
            json wrapper = {{"w", item}};
            out.Put32(SpcJsonWord(wrapper, "w"));
        } else if (item.contains("u16")) {
            out.Put16(static_cast<uint16_t>(SpcJsonWord(item, "u16")));
        } else if (item.contains("u8")) {
            out.Bytes().push_back(static_cast<uint8_t>(SpcJsonWord(item, "u8")));
        } else if (item.contains("text")) {
            out.PutText(SpcJsonText(item, "text"), SpcJsonWord(item, "size", 32));
        } else if (item.contains("zeros")) {
            out.PutZeros(SpcJsonWord(item, "zeros"));
        } else {
            throw SpcCompileError{"unknown raw item: " + item.dump()};
        }
    }
}

#include "SpcSectionWriters.h"

namespace {

const SpcSectionWriter kWriters[] = {
    {"string", SpcWriteString},
    {"strings", SpcWriteTwoStrings},
    {"raw", SpcWriteRaw},
    {"paperSizes", SpcWritePaperSizes},
    {"customLimits", SpcWriteCustomLimits},
    {"namedValues", SpcWriteNamedValues},
    {"longTexts", SpcWriteLongTexts},
    {"mediaTypes", SpcWriteMediaTypes},
    {"paperSources", SpcWritePaperSources},
    {"duplexModes", SpcWriteDuplexModes},
    {"sourceGroups", SpcWriteSourceGroups},
    {"table", SpcWriteTable},
    {"resolutions", SpcWriteResolutions},
    {"byteTables", SpcWriteByteTables},
    {"pjlItems", SpcWritePjlItems},
    {"featureLists", SpcWriteFeatureLists},
    {"dependPairs", SpcWriteDependPairs},
    {"optionList", SpcWriteOptionList},
    {"finishers", SpcWriteFinishers},
    {"finishModes", SpcWriteFinishModes},
};

}  // namespace

const SpcSectionWriter& SpcFindSectionWriter(const json& section)
{
    const SpcSectionWriter* pFound = nullptr;
    for (const SpcSectionWriter& writer : kWriters) {
        if (section.contains(writer.key)) {
            if (pFound != nullptr) {
                throw SpcCompileError{std::string("a section names two layouts: ") + pFound->key + " and " + writer.key};
            }
            pFound = &writer;
        }
    }
    if (pFound == nullptr) {
        throw SpcCompileError{"a section names no layout: " + section.dump()};
    }
    return *pFound;
}

uint32_t SpcJsonWord(const json& object, const char* key, uint32_t dwDefault)
{
    if (!object.is_object() || !object.contains(key)) {
        return dwDefault;
    }
    const json& value = object.at(key);
    if (!value.is_number_integer()) {
        throw SpcCompileError{std::string("\"") + key + "\" must be an integer"};
    }
    return value.is_number_unsigned() ? static_cast<uint32_t>(value.get<uint64_t>())
                                      : static_cast<uint32_t>(value.get<int64_t>());
}

std::string SpcJsonText(const json& object, const char* key)
{
    if (!object.is_object() || !object.contains(key)) {
        return std::string();
    }
    return object.at(key).get<std::string>();
}

std::vector<uint32_t> SpcJsonWords(const json& object, const char* key)
{
    std::vector<uint32_t> words;
    if (!object.is_object() || !object.contains(key)) {
        return words;
    }
    for (const json& value : object.at(key)) {
        json wrapper = {{"w", value}};
        words.push_back(SpcJsonWord(wrapper, "w"));
    }
    return words;
}

std::vector<uint32_t> SpcJsonFixedWords(const json& object, const char* key, size_t n)
{
    std::vector<uint32_t> words = SpcJsonWords(object, key);
    if (words.size() > n) {
        throw SpcCompileError{std::string("\"") + key + "\" holds more than " + std::to_string(n) + " words"};
    }
    words.resize(n, 0);
    return words;
}

void SpcPutWords(SpcByteBuffer& out, const std::vector<uint32_t>& words)
{
    for (uint32_t w : words) {
        out.Put32(w);
    }
}

void SpcPutCountedList(SpcByteBuffer& out, const std::vector<uint32_t>& words)
{
    out.Put32(static_cast<uint32_t>(words.size()));
    SpcPutWords(out, words);
}

void SpcPutValuedList(SpcByteBuffer& out, const json& object, const char* key)
{
    json list = object.is_object() && object.contains(key) ? object.at(key) : json::object();
    out.Put32(SpcJsonWord(list, "value"));
    SpcPutCountedList(out, SpcJsonWords(list, "words"));
}

uint32_t SpcListCount(const json& section, size_t actual)
{
    return SpcJsonWord(section, "countWord", static_cast<uint32_t>(actual));
}

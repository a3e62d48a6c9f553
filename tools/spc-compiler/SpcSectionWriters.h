// Section writers of the model-data compiler: each turns one JSON section description into the
// bytes of its capability's section. A capability family adds its writers to the registry in
// SpcSectionWriters.cpp.
#pragma once

#include "SpcByteBuffer.h"

#include <nlohmann/json.hpp>

#include <string>

using json = nlohmann::json;

// Thrown for a description the compiler cannot turn into bytes; main reports it.
struct SpcCompileError {
    std::string message;
};

typedef void (*SpcSectionWriterFn)(const json& section, int capId, SpcByteBuffer& out);

struct SpcSectionWriter {
    const char* key;  // the JSON key that selects this writer
    SpcSectionWriterFn pfnWrite;
};

// The writer whose key the section object carries; throws when none or several do.
const SpcSectionWriter& SpcFindSectionWriter(const json& section);

// Shared JSON helpers: a number (two's complement for negatives) or a default, a text, lists.
uint32_t SpcJsonWord(const json& object, const char* key, uint32_t dwDefault = 0);
std::string SpcJsonText(const json& object, const char* key);
std::vector<uint32_t> SpcJsonWords(const json& object, const char* key);
// n words from key, padded with zeros; throws when more are given.
std::vector<uint32_t> SpcJsonFixedWords(const json& object, const char* key, size_t n);

void SpcPutWords(SpcByteBuffer& out, const std::vector<uint32_t>& words);
// Counted list: n, then the words. "countWord" damage is applied by the caller.
void SpcPutCountedList(SpcByteBuffer& out, const std::vector<uint32_t>& words);
// Valued list {"value": v, "words": [...]}: v, n, the words.
void SpcPutValuedList(SpcByteBuffer& out, const json& object, const char* key);
// The count word of a list, or its "countWord" override (to write a damaged file on purpose).
uint32_t SpcListCount(const json& section, size_t actual);

// Writers (one family per file).
void SpcWriteString(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteTwoStrings(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteRaw(const json& section, int capId, SpcByteBuffer& out);
void SpcWritePaperSizes(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteCustomLimits(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteNamedValues(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteLongTexts(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteMediaTypes(const json& section, int capId, SpcByteBuffer& out);
void SpcWritePaperSources(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteDuplexModes(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteSourceGroups(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteTable(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteResolutions(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteByteTables(const json& section, int capId, SpcByteBuffer& out);
void SpcWritePjlItems(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteFeatureLists(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteDependPairs(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteOptionList(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteFinishers(const json& section, int capId, SpcByteBuffer& out);
void SpcWriteFinishModes(const json& section, int capId, SpcByteBuffer& out);

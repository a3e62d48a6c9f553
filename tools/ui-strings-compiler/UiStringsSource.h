// The readable user-interface text sources and the C++ tables made from them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orv::uistrings {

// Texts by locale, section and string id; std::nullopt is a key without text.
using Section = std::map<unsigned, std::optional<std::string>>;
using Locale = std::map<unsigned, Section>;
using Catalogue = std::map<std::string, Locale>;

// Adds every row of one source (its text, its name for messages). False with a message naming the
// source and line for a malformed row, a bad id, a repeated key, a bad escape or text not UTF-8.
bool AddSource(Catalogue& catalogue, const std::string& text, const std::string& name,
               std::string& error);

// Checks the locales against each other: the same sections, and the same printf conversions, in
// order, for every key that both give a text.
bool CheckCatalogue(const Catalogue& catalogue, std::string& error);

// The C++ source of the tables (see BuiltinTableTypes.h).
std::string EmitTables(const Catalogue& catalogue);

}  // namespace orv::uistrings

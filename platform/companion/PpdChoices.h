// A PPD held as text, opened with libcups to check it and to look up its options and choices.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <cups/ppd.h>

namespace orvcompanion {

struct PpdCloser {
    void operator()(ppd_file_t* ppd) const;
};
using PpdPtr = std::unique_ptr<ppd_file_t, PpdCloser>;

using Defaults = std::vector<std::pair<std::string, std::string>>;

// The PPD libcups reads from text; nullptr with libcups's reason and line in *error.
PpdPtr OpenPpdText(const std::string& text, std::string* error);

// Spells every keyword=choice pair as the PPD does (libcups matches letter case loosely). False
// with a message naming the first option the PPD does not have, or the first choice its option
// does not have.
bool ResolveDefaults(ppd_file_t* ppd, Defaults* defaults, std::string* error);

// The pairs to write into the text for defaults: each pair, and for a page size also the same
// choice for the page region, imageable area and paper dimension where the PPD has that paper.
Defaults DefaultLinesFor(ppd_file_t* ppd, const Defaults& defaults);

// Whether every option of defaults has that choice as its default in the PPD; else false with the
// first that does not in *error.
bool HasDefaults(ppd_file_t* ppd, const Defaults& defaults, std::string* error);

}  // namespace orvcompanion

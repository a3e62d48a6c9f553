// The rows of a paper-size choice list: which papers of the paper value list the PPD and the model
// offer, in input mode (the paper a job is laid out on) or output mode (the paper it is printed
// on, which must suit the layout), and the text each row shows.
#pragma once

#include "core/WinTypes.h"
#include "core/dialog/DialogInfo.h"
#include "core/settings/DevMode.h"

#include <functional>
#include <string>
#include <vector>

struct PaperSizeRow {
    std::string text;
    long value;  // the paper id; 0 for "Same as Paper Size"
};

// A section-0 text by id, or NULL.
using CommonTextLookup = std::function<const char*(WORD)>;

// Section-0 ids of the texts the rows use.
inline constexpr WORD kIdsSameAsPaperSize = 7998;
inline constexpr WORD kIdsUnitInch = 4003;
inline constexpr WORD kIdsUnitMm = 4004;

// A custom paper's choice text with its unit word shown in the user's language: the last "mm"
// (case ignored, searched from the second character) is cut off with everything after it and
// mmText appended; without one, the same with the last "in" and inText; without either the text
// is returned as it is. A NULL replacement text counts as "".
std::string LocaliseCustomPaperUnit(const char* choiceText, const char* mmText, const char* inText);

// The rows for the dialog-info record's paper list over the record's model handle, in list order.
// In output mode "Same as Paper Size" comes first unless pdm's paper is too large for the model,
// and papers are left out that the layout of pdm cannot print on (pages per sheet, booklet with
// the duplex modes the model allows, rotated orientation). A paper too large for the model, a
// paper without a "PageSize" choice carrying its id, and a paper without a model record get no
// row. Empty without a record, settings or "PageSize" option (apart from the first row).
std::vector<PaperSizeRow> BuildPaperSizeRows(tagDIALOGINFO* info, const DRVDEVMODE* pdm, bool outputMode,
                                             bool inputMode, const CommonTextLookup& text);

// The rules of the settings defaults that turn one or more model answers into record values.
//
// They take the answers the defaults service fetched (or their absence) and need no model data of
// their own, so each can be checked on its own against answers built by hand.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcListAnswers.h"
#include "core/settings/DevMode.h"

// The three views that give a layout length (booklet gutter or poster overlap). Each later view
// that is present with its bit 0 set overrides the earlier ones.
struct LayoutLengthViews {
    bool view1Present = false;
    DWORD view1Flags = 0;
    bool view2Present = false;
    DWORD view2Flags = 0;
    SHORT view2Hundredths = 0;  // 1/100 inch
    bool view3Present = false;
    DWORD view3Flags = 0;
    SHORT view3TenthsMm = 0;    // 0.1 mm, used in a metric locale
    SHORT view3Hundredths = 0;  // 1/100 inch, used in an inch locale
};

// The length in 1/unit inch: half an inch from view 1, the view-2 length when it is not negative,
// the view-3 length of the locale's unit. `current` is returned when no view applies. Computed in
// 64 bits (unit x length x 567 does not fit 32) and held to the range of the 16-bit field.
SHORT LayoutLengthRule(SHORT current, WORD unit, bool metric, const LayoutLengthViews& views);

// The screen mode from the screen-list answer: 10 without it; else 2, 1 or 4 by the flags
// (1 when both 0x1 and 0x80 are set), with bit 0x8 set when n <= 0 or the flags have 0x100.
WORD ScreenModeRule(bool present, DWORD flags, SHORT n);

// The duplex-unit switch and installed count from the first word of the duplex answer.
struct DuplexRuleResult {
    DWORD fieldsExtra1 = 0;    // DMX1_DUPLEX_OPTION when the model has both a 0x3 and a 0xC bit
    DWORD fieldsExtra3 = 0;    // DMX3_DUPLEX_10 when the flags have 0x10
    WORD duplexOption = 1;     // 0 when a duplex unit is there (flag 0x2, else 0x40)
    WORD installedDuplex = 0;  // 1 when a duplex unit is there
};
DuplexRuleResult DuplexRule(bool present, DWORD flags);

// Whether a job kind is offered: its 8-byte answer has bit 0 in the first word and a second word
// that is 0 or shares a bit with the model's feature mask.
bool JobKindRule(bool present, DWORD firstWord, DWORD secondWord, DWORD featureMask);

// The colour rule over the colour-defaults answer (null when the model has none): the private
// colour mode, print style, colour management and colour-control block, and their capability bits.
void ColourRule(PRIVDM& priv, const tagSPCCOLORDEFAULTS* answer);

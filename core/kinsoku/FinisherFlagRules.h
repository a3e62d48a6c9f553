// Rule builders over the finisher's flag words. Each appends allowed values to pair rules of one
// item and answers 0 for a NULL item, else -1.
//
// Flag words of the model's finisher data:
// - staple positions: the low byte for portrait, the high byte for landscape; bit 7 (bit 15) set
//   means "no staple" (position 0) is not allowed, bits 0-5 (8-13) allow positions 1-6;
// - punch values: the low nibble for portrait, bits 4-7 for landscape; bit 3 (bit 7) set means "no
//   punching" (0) is not allowed, bits 0, 1, 2 (4, 5, 6) allow punch values 2, 3, 1;
// - sort modes: bits 0-5, mapped to dmSort values as the sort capability maps them;
// - booklet: bits 0-3 allow 1, 2, 4, 8 sheets per unit, bit 12 all sheets (0); bit 13 allows the
//   finishing without a booklet, bit 14 with one.
#pragma once

#include "core/WinTypes.h"
#include "core/kinsoku/KinsokuItem.h"

// (K, V1) gets the portrait staple positions, (K, V2) the landscape ones.
SHORT bStapleValueRules(CKinsokuItem* pItem, SHORT sKey, LONG lValue1, LONG lValue2, DWORD dwStapleFlags);
// (220, s) gets X for every staple position s that either orientation allows.
SHORT bStapleKeyRules(CKinsokuItem* pItem, LONG lX, DWORD dwStapleFlags);
// (K, V1) gets the portrait punch values, (K, V2) the landscape ones.
SHORT bPunchValueRules(CKinsokuItem* pItem, SHORT sKey, LONG lValue1, LONG lValue2, DWORD dwPunchFlags);
// (219, p) gets X for every punch value p that either orientation allows.
SHORT bPunchKeyRules(CKinsokuItem* pItem, LONG lX, DWORD dwPunchFlags);
// (K, V) gets the sort value of every set sort bit.
SHORT bSortValueRules(CKinsokuItem* pItem, SHORT sKey, LONG lValue, DWORD dwSortFlags);
// (212, s) gets X for the sort value s of every set sort bit.
SHORT bSortKeyRules(CKinsokuItem* pItem, LONG lX, DWORD dwSortFlags);
// (213, 0) gets X with bit 13, (213, 2) with bit 14.
SHORT bBookletPositionRules(CKinsokuItem* pItem, LONG lX, DWORD dwFlags);
// (K, V) gets the booklet units of bits 0-3 and 12.
SHORT bBookletUnitRules(CKinsokuItem* pItem, SHORT sKey, LONG lValue, DWORD dwFlags);
// Key 236 (staple flags) or 237 (punch flags): (K, P + orientation << 24 + s << 16) gets X for
// every position or punch value s the orientation allows, portrait (1) from the low part and
// landscape (2) from the high part. Other keys add nothing.
SHORT bPaperPositionRules(CKinsokuItem* pItem, SHORT sKey, LONG lPaperClass, DWORD dwFlags, LONG lX);

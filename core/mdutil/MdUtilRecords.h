// Answer records that only the capability predicates read, in the size and layout the model data
// reader answers them, and the capability ids they come from.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcPaperAnswers.h"

inline constexpr SHORT kCapability28 = 28;
inline constexpr SHORT kCapability34 = 34;
inline constexpr SHORT kCapability35 = 35;
inline constexpr SHORT kCapability36 = 36;
inline constexpr SHORT kCapability39 = 39;
inline constexpr SHORT kCapability57 = 57;
inline constexpr SHORT kCapability79 = 79;

// 28 view 1 and 22 view 9: one flags word.
struct tagCAPABILITYFLAGS {
    DWORD dwFlags;
};
SPC_ANSWER_LAYOUT(tagCAPABILITYFLAGS, 4);
typedef tagCAPABILITYFLAGS tagCAPABILITY22KIND9;

// 57 view 2: five words, the predicates test those at 8 and 16.
struct tagCAPABILITY57 {
    DWORD dwWord0;
    DWORD dwWord4;
    DWORD dwWord8;
    DWORD dwWord12;
    DWORD dwWord16;
};
SPC_ANSWER_LAYOUT(tagCAPABILITY57, 20);
SPC_ANSWER_AT(tagCAPABILITY57, dwWord16, 16);

// 38 and the job kinds 60, 61, 62, 73, 74, view 1: 0x1 offered, and the requirement mask.
struct tagFEATURERECORD {
    DWORD dwFlags;
    DWORD dwRequirements;
};
SPC_ANSWER_LAYOUT(tagFEATURERECORD, 8);

// 29 view 1: 0x1 offered; conditions (0x1 or 0x2 an available duplex mode, 0x4 capability 28)
// and the requirement mask.
struct tagCAPABILITY29 {
    DWORD dwFlags;
    DWORD dwWord4;
    DWORD dwConditions;
    DWORD dwRequirements;
};
SPC_ANSWER_LAYOUT(tagCAPABILITY29, 16);
SPC_ANSWER_AT(tagCAPABILITY29, dwConditions, 8);

// Capability 35 view 1: the base amount.
struct tagCAPABILITY35BASE {
    DWORD dwBase;
};
SPC_ANSWER_LAYOUT(tagCAPABILITY35BASE, 4);

// Amounts come from the model file: a sum that would wrap stays at the largest amount instead of
// turning small and failing a minimum it meets.
inline DWORD SaturatingAdd(DWORD a, DWORD b)
{
    return a > 0xFFFFFFFFu - b ? 0xFFFFFFFFu : a + b;
}

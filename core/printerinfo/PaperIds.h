// Paper ids as the paper rules see them.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcIds.h"

inline constexpr SHORT kLastStandardPaperId = 455;   // 1..455: the model's papers (capability 20)
inline constexpr SHORT kDefaultSizePaperId = 256;    // the process-wide default paper size pair
inline constexpr SHORT kFirstUserPaperId = 456;      // 456 and above: paper classes and user papers
inline constexpr SHORT kPaperClassCustom = 456;      // custom size in neither custom class
inline constexpr SHORT kPaperClassLong = 457;        // long paper
inline constexpr SHORT kPaperClassCustom1 = 458;     // within the limits of capability 101
inline constexpr SHORT kPaperClassCustom2 = 459;     // within the limits of capability 102

// A custom paper class: one of 456..459.
inline constexpr bool IsCustomPaperClass(SHORT sClass)
{
    return sClass >= kPaperClassCustom && sClass <= kPaperClassCustom2;
}

// The capability whose view 1 holds a custom paper class's limits and lists; 0 for other ids.
inline constexpr SHORT CustomClassCapability(SHORT sClass)
{
    switch (sClass) {
    case kPaperClassCustom: return SPCID_CUSTOMSIZE;
    case kPaperClassLong: return SPCID_CUSTOMLONG;
    case kPaperClassCustom1: return SPCID_CUSTOMCLASS1;
    case kPaperClassCustom2: return SPCID_CUSTOMCLASS2;
    default: return 0;
    }
}

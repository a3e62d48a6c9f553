// The finisher's flag words turned into rules, on bare items: each case writes the flag word and
// the pair rules its layout says it allows.
#include "core/kinsoku-rules/RulesTestSupport.h"

#include "core/kinsoku/FinisherFlagRules.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using rulestest::Listed;
using rulestest::NoRule;
using rulestest::Pair;
using rulestest::PairRule;

struct Expect {
    SHORT key;
    LONG keyValue;
    PairRule rule;
};

struct Case {
    const char* name;
    std::function<SHORT(CKinsokuItem*)> build;
    std::vector<Expect> expected;
};

constexpr LONG kPortrait = 1 << 24;
constexpr LONG kLandscape = 2 << 24;

TEST(FinisherFlagRules, FlagWordsBecomeThePairRulesTheirLayoutSays)
{
    const Case cases[] = {
        // Staple flags 0x8103: portrait no-staple allowed (bit 7 clear), positions 1, 2; landscape
        // no-staple not allowed (bit 15), position 1.
        {"staple values",
         [](CKinsokuItem* p) { return bStapleValueRules(p, 206, 0x10009, 0x20009, 0x8103); },
         {{206, 0x10009, Listed({0, 1, 2})}, {206, 0x20009, Listed({1})}}},
        {"staple key",
         [](CKinsokuItem* p) { return bStapleKeyRules(p, 2, 0x8103); },
         {{220, 0, Listed({2})}, {220, 1, Listed({2})}, {220, 2, Listed({2})}, {220, 3, NoRule()}}},
        // Punch flags 0x95: portrait 0 allowed, bits 0 and 2 give 2 and 1; landscape 0 not allowed
        // (bit 7), bit 4 gives 2.
        {"punch values",
         [](CKinsokuItem* p) { return bPunchValueRules(p, 221, 5, 6, 0x95); },
         {{221, 5, Listed({0, 2, 1})}, {221, 6, Listed({2})}}},
        {"punch key",
         [](CKinsokuItem* p) { return bPunchKeyRules(p, 3, 0x95); },
         {{219, 0, Listed({3})}, {219, 1, Listed({3})}, {219, 2, Listed({3})}, {219, 3, NoRule()}}},
        {"sort values",
         [](CKinsokuItem* p) { return bSortValueRules(p, 207, 9, 0x3C); },
         {{207, 9, Listed({4, 5, 2, 3})}}},
        {"sort key",
         [](CKinsokuItem* p) { return bSortKeyRules(p, 2, 0x11); },
         {{212, 0, Listed({2})}, {212, 2, Listed({2})}, {212, 1, NoRule()}}},
        {"booklet positions",
         [](CKinsokuItem* p) { return bBookletPositionRules(p, 3, 0x6000); },
         {{213, 0, Listed({3})}, {213, 2, Listed({3})}}},
        {"booklet position with booklet only",
         [](CKinsokuItem* p) { return bBookletPositionRules(p, 3, 0x4000); },
         {{213, 0, NoRule()}, {213, 2, Listed({3})}}},
        {"booklet units",
         [](CKinsokuItem* p) { return bBookletUnitRules(p, 222, 0x30002, 0x100A); },
         {{222, 0x30002, Listed({2, 8, 0})}}},
        // Staple positions per paper class and orientation: portrait 0x02 (no-staple, 2),
        // landscape 0x81 (1).
        {"staple positions per paper",
         [](CKinsokuItem* p) { return bPaperPositionRules(p, 236, 9, 0x8102, 1); },
         {{236, 9 + kPortrait, Listed({1})},
          {236, 9 + kPortrait + (2 << 16), Listed({1})},
          {236, 9 + kLandscape + (1 << 16), Listed({1})},
          {236, 9 + kLandscape, NoRule()}}},
        // Punch values per paper class: portrait 0x8 (no value at all), landscape 0x2 (0 and 3).
        {"punch positions per paper",
         [](CKinsokuItem* p) { return bPaperPositionRules(p, 237, 456, 0x28, 2); },
         {{237, 456 + kPortrait, NoRule()},
          {237, 456 + kLandscape, Listed({2})},
          {237, 456 + kLandscape + (3 << 16), Listed({2})}}},
        {"positions under another key",
         [](CKinsokuItem* p) { return bPaperPositionRules(p, 235, 9, 0xFFFF, 1); },
         {{235, 9 + kPortrait, NoRule()}}},
    };
    for (const Case& c : cases) {
        CKinsokuItem item(6);
        EXPECT_EQ(c.build(&item), -1) << c.name;
        for (const Expect& e : c.expected) {
            EXPECT_EQ(Pair(&item, e.key, e.keyValue), e.rule)
                << c.name << ": key " << e.key << " = " << std::hex << e.keyValue;
        }
        EXPECT_EQ(c.build(nullptr), 0) << c.name;
    }
}

}  // namespace

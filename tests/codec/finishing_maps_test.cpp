#include "core/codec/FinishingMaps.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    int from;
    WORD to;
};

void Check(WORD (*map)(WORD), const char* name, std::initializer_list<Case> cases)
{
    for (const Case& c : cases) {
        // The maps take 16-bit values: wider arguments are cut first.
        EXPECT_EQ(map(static_cast<WORD>(c.from)), c.to) << name << "(" << c.from << ")";
    }
}

TEST(FinishingMaps, FinisherCodesAndModelIdsPairUp)
{
    Check(FinisherToModelId, "FinisherToModelId",
          {{0, 1}, {1, 2}, {2, 5}, {257, 3}, {513, 4}, {514, 6}, {769, 7}, {770, 8}, {771, 9},
           // 258 is a valid record code without a model finisher.
           {258, 0}, {3, 0}, {772, 0}, {65536 + 2, 5}});
    Check(ModelIdToFinisher, "ModelIdToFinisher",
          {{2, 1}, {3, 257}, {4, 513}, {5, 2}, {6, 514}, {7, 769}, {8, 770}, {9, 771},
           {1, 0}, {0, 0}, {10, 0}, {99, 0}});
}

TEST(FinishingMaps, StapleAndPunchCodesAndModelIdsPairUp)
{
    Check(StapleToModelId, "StapleToModelId",
          {{0, 99}, {1, 1}, {3, 3}, {6, 6}, {7, 0}, {99, 0}, {65536 + 4, 4}});
    Check(ModelIdToStaple, "ModelIdToStaple", {{1, 1}, {6, 6}, {0, 0}, {7, 0}, {99, 0}});
    Check(PunchToModelId, "PunchToModelId", {{0, 99}, {1, 3}, {2, 1}, {3, 2}, {4, 0}});
    Check(ModelIdToPunch, "ModelIdToPunch", {{1, 2}, {2, 3}, {3, 1}, {0, 0}, {4, 0}, {99, 0}});
}

TEST(FinishingMaps, EveryModelFinisherComesBackToItsCode)
{
    for (WORD id = 2; id <= 9; ++id) {
        EXPECT_EQ(FinisherToModelId(ModelIdToFinisher(id)), id) << id;
    }
    for (WORD id = 1; id <= 3; ++id) {
        EXPECT_EQ(PunchToModelId(ModelIdToPunch(id)), id) << id;
    }
}

}  // namespace

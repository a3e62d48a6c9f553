#include "core/util/DoublePair.h"

#include <gtest/gtest.h>

namespace {

TEST(DoublePair, ReadsZeroUntilSetThenKeepsTheOrder)
{
    double first = -1.0;
    double second = -1.0;
    GetDoublePair(&first, &second);
    EXPECT_EQ(first, 0.0);
    EXPECT_EQ(second, 0.0);

    SetDoublePair(595.0, 842.0);
    GetDoublePair(&first, &second);
    EXPECT_EQ(first, 595.0);
    EXPECT_EQ(second, 842.0);

    double only = 0.0;
    GetDoublePair(nullptr, &only);  // one side may be skipped
    EXPECT_EQ(only, 842.0);

    SetDoublePair(0.0, 0.0);
}

}  // namespace

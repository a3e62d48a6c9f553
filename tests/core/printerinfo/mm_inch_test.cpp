// Lengths between millimetres, inches and dots.
#include "core/printerinfo/MMInch.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <string>

namespace {

TEST(LengthToDots, MillimetresRoundInchesTruncate)
{
    struct Case {
        SHORT dpi;
        bool mm;
        double length;
        LONG dots;
    };
    const Case cases[] = {
        {600, true, 25.4, 600},     {600, true, 25.39, 600},   {600, true, 25.35, 599},
        {600, false, 1.0, 600},     {600, false, 0.9999, 599}, {1200, true, 25.4, 1200},
        {0, true, 25.4, 600},       {-5, false, 2.0, 1200},    {300, false, 0.5, 150},
        {600, true, 1e12, INT32_MAX}, {600, false, -1e12, INT32_MIN},
        {600, true, std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LengthToDots(c.dpi, c.mm, c.length), c.dots) << c.dpi << " " << c.mm << " " << c.length;
    }
}

TEST(DotsToLength, ByTheDpiWithSixHundredForNone)
{
    EXPECT_DOUBLE_EQ(DotsToLength(600, 600, true), 25.4);
    EXPECT_DOUBLE_EQ(DotsToLength(600, 600, false), 1.0);
    EXPECT_DOUBLE_EQ(DotsToLength(300, 0, false), 0.5);
    EXPECT_DOUBLE_EQ(DotsToLength(1200, 1200, true), 25.4);
    EXPECT_DOUBLE_EQ(InchToMM(2.0), 50.8);
    EXPECT_DOUBLE_EQ(MMToInch(50.8), 2.0);
}

TEST(MMInch, SettersFollowTheRecomputeRules)
{
    CMMInch len;
    EXPECT_EQ(len.GetDots(), 0);

    len.SetMM(true, 25.4);
    EXPECT_EQ(len.GetDots(), 600);
    EXPECT_NEAR(len.GetInch(), 1.00001, 1e-9);
    EXPECT_NEAR(len.GetMM(), 25.40001, 1e-9);

    // Millimetres without recompute change neither inches nor dots.
    len.SetMM(false, 50.8);
    EXPECT_EQ(len.GetDots(), 600);
    EXPECT_NEAR(len.GetInch(), 1.00001, 1e-9);
    EXPECT_NEAR(len.GetLength(true), 50.80001, 1e-9);

    // Inches always update the dots (truncated); millimetres only with recompute.
    len.SetInch(false, 0.9999);
    EXPECT_EQ(len.GetDots(), 599);
    EXPECT_NEAR(len.GetMM(), 50.80001, 1e-9);
    len.SetInch(true, 2.0);
    EXPECT_EQ(len.GetDots(), 1200);
    EXPECT_NEAR(len.GetMM(), 50.80001, 1e-9);

    len.SetMM(true, 25.39);
    EXPECT_EQ(len.GetDots(), 600);

    len.SetDots(300, false);
    EXPECT_EQ(len.GetDots(), 300);
    EXPECT_NEAR(len.GetMM(), 25.39001, 1e-9);
    len.SetDots(300, true);
    EXPECT_NEAR(len.GetInch(), 0.50001, 1e-9);
    EXPECT_NEAR(len.GetMM(), 12.70001, 1e-9);

    len.SetDpi(1200);
    len.SetLength(false, true, 1.0);
    EXPECT_EQ(len.GetDots(), 1200);
    len.SetLength(true, true, 25.4);
    EXPECT_EQ(len.GetDots(), 1200);
}

TEST(MMInch, HugeLengthsAreClampedAndDotsStayInRange)
{
    CMMInch len;
    len.SetInch(true, 1e300);
    EXPECT_NEAR(len.GetInch(), 1.5372286728091292e16, 1e3);
    EXPECT_EQ(len.GetDots(), INT32_MAX);
    len.SetMM(true, 1e300);
    EXPECT_NEAR(len.GetMM(), 3.904560828935188e17, 1e5);
    EXPECT_EQ(len.GetDots(), INT32_MAX);
    // Nothing clamps from below, but the dots still hold.
    len.SetMM(true, -1e300);
    EXPECT_EQ(len.GetDots(), INT32_MIN);
}

TEST(MMInch, TextSettersKeepATerminator)
{
    CMMInch len;
    const std::string longText(40, 'x');
    len.SetFirstText(longText.c_str());
    len.SetSecondText("mm");
    EXPECT_EQ(std::string(len.GetFirstText()), std::string(31, 'x'));
    EXPECT_EQ(std::string(len.GetSecondText()), "mm");
    len.SetSecondText(nullptr);
    EXPECT_EQ(std::string(len.GetSecondText()), "");
}

}  // namespace

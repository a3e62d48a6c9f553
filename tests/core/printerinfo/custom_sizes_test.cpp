// Custom-size classes, papers too large for the printer, long paper and the largest custom size.
#include "core/printerinfo/CustomSizes.h"

#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

namespace {

using pitest::HandleOf;

// The fixture's limits: class 1 (101) 100 x 148 to 210 x 297 mm, 2362 x 3496 to 4961 x 7016 dots;
// class 2 (102) 200 x 200 to 300 x 450 mm, 4724 x 4724 to 7087 x 10630 dots; custom size (21) up to
// 215.9 x 355.6 mm or 5100 x 8400 dots; long paper (75) up to 215.9 x 900 mm or 5100 x 21260 dots.
class CustomSizes : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_papers = pitest::LoadFixtureModel("printerinfo-papers");
        m_colour = pitest::LoadSampleModel("GC7350");
        m_minimal = pitest::LoadSampleModel("GM1000");
        ASSERT_TRUE(m_papers && m_colour && m_minimal);
        papers = HandleOf(m_papers.get());
        colour = HandleOf(m_colour.get());
        minimal = HandleOf(m_minimal.get());
    }
    pitest::SpcDataPtr m_papers, m_colour, m_minimal;
    tagMODELHANDLE papers {}, colour {}, minimal {};
};

TEST_F(CustomSizes, ClassifiesByTheClassLimitsInTheirOwnUnit)
{
    struct Case {
        const char* what;
        bool metric;
        double width;
        double length;
        SHORT expected;
    };
    const Case cases[] = {
        {"exactly the class 1 maximum", true, 210.0, 297.0, 458},
        {"exactly the class 1 minimum", true, 100.0, 148.0, 458},
        {"a tenth of a millimetre is cut, not rounded", true, 210.09, 297.0, 458},
        {"below class 1's width, outside class 2", true, 99.9, 148.0, 456},
        {"class 2", true, 250.0, 400.0, 459},
        {"beyond both", true, 310.0, 400.0, 456},
        {"inches: class 1", false, 5.0, 7.0, 458},
        {"inches: one dot over class 1 is class 2", false, 8.27, 11.69, 459},
        {"huge size does not wrap into a class", true, 1e12, 1e12, 456},
        {"negative huge size does not wrap either", true, -1e12, 200.0, 456},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyCustomSize(&papers, c.metric, c.width, c.length), c.expected) << c.what;
    }
    // Without the class records every size is a plain custom size.
    EXPECT_EQ(ClassifyCustomSize(&colour, true, 210.0, 297.0), 456);
    EXPECT_EQ(ClassifyCustomSize(nullptr, true, 210.0, 297.0), 456);
}

TEST_F(CustomSizes, PaperTooLargeUnlessLongPaperAdmitsIt)
{
    struct Case {
        const char* what;
        const tagMODELHANDLE* handle;
        SHORT id;
        bool tooLarge;
    };
    const Case cases[] = {
        {"A4 fits", &papers, 9, false},
        {"A3 is too wide for both", &papers, 8, true},
        {"banner is admitted as long paper", &papers, 30, false},
        {"long banner is too long for both", &papers, 31, true},
        {"user papers are never too large", &papers, 456, false},
        {"unlisted paper", &papers, 3, false},
        {"no custom-size record", &minimal, 9, false},
        {"colour model's Legal fits", &colour, 5, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPaperTooLarge(c.handle, c.id) != 0, c.tooLarge) << c.what;
    }
}

TEST_F(CustomSizes, LongPaperIsALongerSideBeyondTheCustomMaximum)
{
    struct Case {
        const char* what;
        const tagMODELHANDLE* handle;
        bool metric;
        double width;
        double length;
        bool isLong;
    };
    const Case cases[] = {
        {"600 mm long", &papers, true, 210.0, 600.0, true},
        {"exactly the custom maximum", &papers, true, 210.0, 355.6, false},
        {"the wider side counts too", &papers, true, 400.0, 100.0, true},
        {"14 in is the maximum", &papers, false, 8.5, 14.0, false},
        {"just over 14 in", &papers, false, 8.5, 14.01, true},
        {"colour model has both records", &colour, true, 210.0, 600.0, true},
        {"minimal model has neither", &minimal, true, 210.0, 600.0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsLongPaper(c.handle, c.metric, c.width, c.length) != 0, c.isLong) << c.what;
    }
}

TEST_F(CustomSizes, CustomMaximumRaisedByLongPaper)
{
    SHORT width = -1;
    SHORT length = -1;
    EXPECT_EQ(GetCustomSizeMaximum(&papers, &width, &length, false), FLAG_TRUE);
    EXPECT_EQ(width, 2159);
    EXPECT_EQ(length, 3556);
    EXPECT_EQ(GetCustomSizeMaximum(&papers, &width, &length, true), FLAG_TRUE);
    EXPECT_EQ(width, 2159);
    EXPECT_EQ(length, 9000);
    width = -1;
    EXPECT_EQ(GetCustomSizeMaximum(&minimal, &width, &length, true), FLAG_FALSE);
    EXPECT_EQ(width, -1);
}

}  // namespace

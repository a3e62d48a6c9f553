#include "core/codec/PpdChoiceId.h"

#include "codec/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(GetPpdChoiceId, ReadsTheNumberAfterTheMarker)
{
    struct Case {
        const char* code;
        WORD flag;
        long number;  // what the output holds afterwards (it starts at 777)
    };
    const Case cases[] = {
        {"%% ID=12", FLAG_TRUE, 12},
        {"%% ID=  12", FLAG_TRUE, 12},
        {"%% ID=\t7", FLAG_TRUE, 7},
        {"<</PageSize[595 842]/ImagingBBox null>>setpagedevice %% ID=460", FLAG_TRUE, 460},
        {"%% ID=9\n<</PageSize[595 842]>>setpagedevice", FLAG_TRUE, 9},
        {"%% ID=5 then %% ID=6", FLAG_TRUE, 5},
        {"%% ID=0", FLAG_TRUE, 0},
        {"%% ID=-3", FLAG_TRUE, -3},
        // The number is stored even when no digit follows: 0.
        {"%% ID=x12", FLAG_FALSE, 0},
        {"%% ID=", FLAG_FALSE, 0},
        // Without the exact marker nothing is stored.
        {"%%ID=5", FLAG_FALSE, 777},
        {"% ID=5", FLAG_FALSE, 777},
        {"%% id=5", FLAG_FALSE, 777},
        {"", FLAG_FALSE, 777},
        // Too many digits saturate; callers check the range of their field.
        {"%% ID=99999999999999999999999", FLAG_TRUE, LONG_MAX},
    };
    for (const Case& c : cases) {
        long number = 777;
        EXPECT_EQ(GetPpdChoiceId(c.code, &number), c.flag) << c.code;
        EXPECT_EQ(number, c.number) << c.code;
    }
    long number = 777;
    EXPECT_EQ(GetPpdChoiceId(nullptr, &number), FLAG_FALSE);
    EXPECT_EQ(number, 777);
    EXPECT_EQ(GetPpdChoiceId("%% ID=3", nullptr), FLAG_FALSE);
}

TEST(FindChoiceById, FindsTheFirstChoiceWithTheNumberInPpdOrder)
{
    codectest::QueuePpd queue("edge-cases.ppd");
    ASSERT_TRUE(queue.IsOpen());
    tagCUPSFUNC& cups = codectest::RealCups();
    struct Case {
        const char* option;
        long number;
        const char* choice;  // nullptr: none
    };
    const Case cases[] = {
        {"Duplex", 1, "None"},
        {"Duplex", 2, "DuplexNoTumble"},
        {"Duplex", 3, nullptr},
        {"MediaType", 12, "Spaced"},
        // "%% ID=x12" carries no number, so it is no choice for 0 either.
        {"MediaType", 0, nullptr},
        {"MediaType", -1, "Negative"},
        {"PageSize", 460, "userpaper460"},
    };
    for (const Case& c : cases) {
        ppd_option_t* option = cups.ppdFindOption(queue.Ppd(), c.option);
        ASSERT_NE(option, nullptr) << c.option;
        ppd_choice_t* found = FindChoiceById(option, c.number);
        if (c.choice == nullptr) {
            EXPECT_EQ(found, nullptr) << c.option << " " << c.number;
        } else {
            ASSERT_NE(found, nullptr) << c.option << " " << c.number;
            EXPECT_STREQ(found->choice, c.choice);
        }
    }
    EXPECT_EQ(FindChoiceById(nullptr, 1), nullptr);
}

}  // namespace

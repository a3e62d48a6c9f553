#include "core/util/StringUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(CopyStringBounded, CopiesAtMostNAndTerminatesATruncatedCopy)
{
    struct Case {
        const char* src;
        size_t n;
        std::string expectedBuffer;  // all 8 bytes of the destination, '#' never written
        size_t expectedResult;
    };
    const Case cases[] = {
        {"abc", 3, std::string("ab\0#####", 8), 3},
        {"abc", 4, std::string("abc\0####", 8), 3},
        {"abc", 8, std::string("abc\0####", 8), 3},  // nothing written past the terminator
        {"abcdef", 3, std::string("ab\0#####", 8), 3},
        {"abc", 1, std::string("\0#######", 8), 1},
        {"abc", 0, std::string("########", 8), 0},
        {"", 1, std::string("\0#######", 8), 0},
        {"", 0, std::string("########", 8), 0},
        {nullptr, 4, std::string("\0#######", 8), 0},  // no source copies as ""
    };
    for (const Case& c : cases) {
        char buf[8];
        memset(buf, '#', sizeof(buf));
        EXPECT_EQ(CopyStringBounded(buf, c.src, c.n), c.expectedResult)
            << (c.src ? c.src : "(null)") << " n=" << c.n;
        EXPECT_EQ(std::string(buf, sizeof(buf)), c.expectedBuffer) << (c.src ? c.src : "(null)") << " n=" << c.n;
    }
    EXPECT_EQ(CopyStringBounded(nullptr, "abc", 4), 0u);
}

TEST(SafeStrcmp, AcceptsNullOnEitherSide)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;  // sign of the result
    };
    const Case cases[] = {
        {nullptr, nullptr, 0}, {nullptr, "a", -1}, {"a", nullptr, 1}, {"", nullptr, 1},
        {nullptr, "", -1},     {"a", "a", 0},      {"a", "b", -1},    {"b", "a", 1},
        {"ab", "a", 1},
    };
    for (const Case& c : cases) {
        int r = SafeStrcmp(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << (c.a ? c.a : "(null)") << " vs " << (c.b ? c.b : "(null)");
    }
    // A missing side answers exactly -1 or 1.
    EXPECT_EQ(SafeStrcmp(nullptr, "x"), -1);
    EXPECT_EQ(SafeStrcmp("x", nullptr), 1);
}

}  // namespace

#include "core/util/SafeName.h"

#include <gtest/gtest.h>

namespace {

TEST(IsSafeNameComponent, AcceptsOnlyNamesThatStayInTheirDirectory)
{
    struct Case {
        const char* name;
        bool safe;
    };
    const Case cases[] = {
        {nullptr, false},
        {"", false},
        {".", false},
        {"..", false},
        {"/", false},
        {"a/b", false},
        {"../etc", false},
        {"queue/", false},
        {"/root", false},
        {"alice", true},
        {"...", true},
        {".hidden", true},
        {"a..b", true},
        {"Laser Printer-2_x", true},
        {"..x", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsSafeNameComponent(c.name), c.safe) << (c.name != nullptr ? c.name : "(null)");
    }
}

}  // namespace

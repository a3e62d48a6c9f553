#include "core/util/PackagePaths.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using orvtest::ScopedEnv;

// The string a path builder returned ("(null)" for NULL), freed.
std::string Take(char* p)
{
    std::string s = p != nullptr ? p : "(null)";
    free(p);
    return s;
}

TEST(PackagePaths, UserIsTheArgumentElseLognameElseUserAndMustBeASafeName)
{
    orvtest::ScratchDir dir;
    orvtest::ScopedInstallRoot root(dir.path());
    const std::string conf = dir.path() + "/usr/local/share/orvalen/printer/conf/";
    struct Case {
        const char* arg;
        const char* logname;  // NULL: unset
        const char* user;     // NULL: unset
        const char* expectedUser;  // NULL: the builders fail
    };
    const Case cases[] = {
        {"alice", "bob", "carol", "alice"},
        {nullptr, "bob", "carol", "bob"},
        {nullptr, nullptr, "carol", "carol"},
        {nullptr, nullptr, nullptr, nullptr},
        // A bad name fails; it does not fall back to the next source.
        {"..", "bob", "carol", nullptr},
        {".", "bob", "carol", nullptr},
        {"", "bob", "carol", nullptr},
        {"a/b", "bob", "carol", nullptr},
        {nullptr, "../../etc", "carol", nullptr},
        {nullptr, "", "carol", nullptr},
        {nullptr, nullptr, "x/y", nullptr},
    };
    for (const Case& c : cases) {
        ScopedEnv logname("LOGNAME", c.logname);
        ScopedEnv user("USER", c.user);
        const std::string what = std::string("arg ") + (c.arg ? c.arg : "(null)") + ", LOGNAME " +
                                 (c.logname ? c.logname : "(unset)") + ", USER " + (c.user ? c.user : "(unset)");
        if (c.expectedUser == nullptr) {
            EXPECT_EQ(Take(GetUserConfPath(c.arg)), "(null)") << what;
            EXPECT_EQ(Take(GetUserOverlayDir(c.arg)), "(null)") << what;
        } else {
            EXPECT_EQ(Take(GetUserConfPath(c.arg)), conf + c.expectedUser) << what;
            EXPECT_EQ(Take(GetUserOverlayDir(c.arg)), conf + c.expectedUser + "/overlay") << what;
        }
    }
}

TEST(PackagePaths, TmpOverlayPathNeedsAGivenSafeName)
{
    orvtest::ScratchDir dir;
    orvtest::ScopedInstallRoot root(dir.path());
    ScopedEnv logname("LOGNAME", "bob");
    ScopedEnv user("USER", "carol");
    struct Case {
        const char* arg;
        std::string expected;
    };
    const Case cases[] = {
        {"alice", dir.path() + "/tmp/orvalen/printer/overlay/alice"},
        {nullptr, "(null)"},  // no fall-back to the environment here
        {"..", "(null)"},
        {"a/b", "(null)"},
        {"", "(null)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Take(GetTmpOverlayPath(c.arg)), c.expected) << (c.arg ? c.arg : "(null)");
    }
}

TEST(PackagePaths, WithoutAScratchRootThePathsAreTheInstalledOnes)
{
    ScopedEnv noRoot("ORVALEN_TEST_ROOT", nullptr);
    EXPECT_EQ(Take(GetUserConfPath("alice")), "/usr/local/share/orvalen/printer/conf/alice");
    EXPECT_EQ(Take(GetUserOverlayDir("alice")), "/usr/local/share/orvalen/printer/conf/alice/overlay");
    EXPECT_EQ(Take(GetTmpOverlayPath("alice")), "/tmp/orvalen/printer/overlay/alice");
}

}  // namespace

// The companion program's command lines: the two forms the settings program builds, with values
// glued to their letters or following them, and every line it must turn down before it asks the
// scheduler anything.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/companion/CompanionArgs.h"

namespace {

using orvcompanion::CompanionRequest;
using orvcompanion::Mode;

bool Parse(std::vector<std::string> args, CompanionRequest* request, std::string* error)
{
    args.insert(args.begin(), "L_QW7RMTEKB");
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    return orvcompanion::ParseCompanionArgs(static_cast<int>(argv.size()), argv.data(), request, error);
}

TEST(CompanionArgs, ReadsTheTwoFormsOfTheSettingsProgram)
{
    struct Case {
        std::vector<std::string> args;
        Mode mode;
        std::string queue;
        std::vector<std::pair<std::string, std::string>> defaults;
        std::string ppd;
    };
    const Case cases[] = {
        {{"-S", "-pgc", "-oPageSize=A4", "-oDuplex=DuplexNoTumble"}, Mode::StoreDefaults, "gc",
         {{"PageSize", "A4"}, {"Duplex", "DuplexNoTumble"}}, ""},
        {{"-S", "-p", "gc", "-o", "PageSize=A4"}, Mode::StoreDefaults, "gc", {{"PageSize", "A4"}}, ""},
        {{"-pgc", "-oMediaType=Thick", "-S"}, Mode::StoreDefaults, "gc", {{"MediaType", "Thick"}}, ""},
        {{"-S", "-pgc", "-oOdd=a=b"}, Mode::StoreDefaults, "gc", {{"Odd", "a=b"}}, ""},
        {{"-S", "-pgc"}, Mode::StoreDefaults, "gc", {}, ""},
        {{"-C", "-pgc", "-c/tmp/20261211_101010.ppd"}, Mode::InstallPpd, "gc", {}, "/tmp/20261211_101010.ppd"},
        {{"-C", "-p", "Office-Colour_2", "-c", "/tmp/x.ppd"}, Mode::InstallPpd, "Office-Colour_2", {}, "/tmp/x.ppd"},
        {{"--help"}, Mode::Help, "", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        CompanionRequest request;
        std::string error;
        ASSERT_TRUE(Parse(c.args, &request, &error)) << error;
        EXPECT_EQ(c.mode, request.mode);
        EXPECT_EQ(c.queue, request.queue);
        EXPECT_EQ(c.defaults, request.defaults);
        EXPECT_EQ(c.ppd, request.ppdPath);
    }
}

TEST(CompanionArgs, TurnsDownEveryOtherLine)
{
    struct Case {
        std::vector<std::string> args;
        const char* says;  // part of the message
    };
    const Case cases[] = {
        {{}, "one of -S and -C"},
        {{"-pgc"}, "one of -S and -C"},
        {{"-S"}, "no queue"},
        {{"-S", "-C", "-pgc"}, "exactly one"},
        {{"-S", "-S", "-pgc"}, "exactly one"},
        {{"-X", "-pgc"}, "unknown option"},
        {{"-Sx", "-pgc"}, "unknown option"},
        {{"-S", "-pgc", "extra"}, "unexpected argument"},
        {{"-S", "-pgc", "-"}, "unexpected argument"},
        {{"-S", "-p"}, "needs a value"},
        {{"-S", "-pgc", "-pgm"}, "one queue"},
        {{"-S", "-pgc", "-oPageSize"}, "not <keyword>=<choice>"},
        {{"-S", "-pgc", "-o=A4"}, "not <keyword>=<choice>"},
        {{"-S", "-pgc", "-oPageSize="}, "not <keyword>=<choice>"},
        {{"-S", "-pgc", "-o"}, "needs a value"},
        {{"-S", "-pgc", "-c/tmp/x.ppd"}, "-c goes with -C"},
        {{"-C", "-pgc"}, "no PPD file"},
        {{"-C", "-pgc", "-c", ""}, "no PPD file"},
        {{"-C", "-pgc", "-c/tmp/x.ppd", "-c/tmp/y.ppd"}, "one PPD file"},
        {{"-C", "-pgc", "-c/tmp/x.ppd", "-oPageSize=A4"}, "-o goes with -S"},
        {{"-S", "-pa/b"}, "not a queue name"},
        {{"-S", "-p", "two words"}, "not a queue name"},
        {{"-S", "-p", "q#1"}, "not a queue name"},
        {{"-S", "-p", std::string(128, 'q')}, "not a queue name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        CompanionRequest request;
        std::string error;
        EXPECT_FALSE(Parse(c.args, &request, &error));
        EXPECT_NE(std::string::npos, error.find(c.says)) << error;
    }
}

TEST(CompanionArgs, QueueNamesFollowCupsRules)
{
    const std::string longest(127, 'q');
    for (const char* good : {"gc", "Office-Colour_2", "a.b", longest.c_str()}) {
        EXPECT_TRUE(orvcompanion::IsQueueName(good)) << good;
    }
    for (const char* bad : {"", "a b", "a\tb", "a/b", "a\\b", "a?b", "a'b", "a\"b", "a#b", "a\x7f"}) {
        EXPECT_FALSE(orvcompanion::IsQueueName(bad)) << bad;
    }
}

}  // namespace

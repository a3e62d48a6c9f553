// The companion's job defaults: "copies" is taken out of the PPD defaults as the queue's default
// number of copies (a count the scheduler accepts, nothing else), and a resolved "Collate" choice
// becomes the queue's collation default.
#include <gtest/gtest.h>

#include <string>

#include "platform/companion/JobDefaults.h"

namespace {

using orvcompanion::Defaults;
using orvcompanion::JobDefaults;

TEST(JobDefaults, CopiesLeaveThePpdDefaultsAsTheQueuesCopies)
{
    struct Case {
        const char* value;
        int copies;  // 0: refused
    };
    const Case cases[] = {
        {"1", 1}, {"3", 3}, {"0003", 3}, {"9999", 9999},
        {"0", 0}, {"10000", 0}, {"-2", 0}, {"+2", 0}, {" 2", 0}, {"2x", 0}, {"1e3", 0}, {"99999999999999999999", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Defaults defaults = {{"PageSize", "A4"}, {"copies", c.value}, {"Collate", "True"}};
        JobDefaults job;
        std::string error;
        const bool taken = orvcompanion::TakeCopiesDefault(&defaults, &job, &error);
        if (c.copies == 0) {
            EXPECT_FALSE(taken);
            EXPECT_NE(error.find("\"copies\" must be a whole number from 1 to 9999"), std::string::npos) << error;
            EXPECT_FALSE(job.copies);
            continue;
        }
        ASSERT_TRUE(taken) << error;
        ASSERT_TRUE(job.copies);
        EXPECT_EQ(*job.copies, c.copies);
        EXPECT_EQ(defaults, (Defaults {{"PageSize", "A4"}, {"Collate", "True"}})) << "the PPD options stay, in order";
    }

    Defaults none = {{"PageSize", "A4"}};
    JobDefaults job;
    std::string error;
    EXPECT_TRUE(orvcompanion::TakeCopiesDefault(&none, &job, &error));
    EXPECT_TRUE(job.Empty());
    EXPECT_EQ(none.size(), 1u);
}

TEST(JobDefaults, ACollateChoiceBecomesTheQueuesCollation)
{
    struct Case {
        Defaults defaults;
        int collate;  // -1 unset, 0 off, 1 on
    };
    const Case cases[] = {
        {{{"Collate", "True"}}, 1},
        {{{"Collate", "true"}}, 1},
        {{{"Collate", "False"}}, 0},
        {{{"PageSize", "A4"}}, -1},
        {{{"Collate", "True"}, {"Collate", "False"}}, 0},
    };
    for (const Case& c : cases) {
        JobDefaults job;
        orvcompanion::TakeCollateDefault(c.defaults, &job);
        EXPECT_EQ(job.collate ? int(*job.collate) : -1, c.collate);
    }
}

}  // namespace

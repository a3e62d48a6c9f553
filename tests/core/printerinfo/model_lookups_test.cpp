// Resolution entries and the source counts the installed-option table weighs.
#include "core/printerinfo/ModelLookups.h"

#include "core/model/SpcListAnswers.h"
#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

namespace {

using pitest::HandleOf;

TEST(ResolutionEntry, FirstEntryOfTheMode)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    tagSPCRESOLUTION entry {};
    ASSERT_EQ(FindResolutionEntry(&handle, 4, &entry), FLAG_TRUE);
    EXPECT_EQ(entry.sMode, 4);
    ASSERT_EQ(FindResolutionEntry(&handle, 2, &entry), FLAG_TRUE);
    EXPECT_EQ(entry.sMode, 2);
    EXPECT_EQ(FindResolutionEntry(&handle, 5, &entry), FLAG_FALSE);
    EXPECT_EQ(FindResolutionEntry(&handle, 2, nullptr), FLAG_FALSE);

    auto minimal = pitest::LoadSampleModel("GM1000");
    ASSERT_TRUE(minimal);
    tagMODELHANDLE minimalHandle = HandleOf(minimal.get());
    EXPECT_EQ(FindResolutionEntry(&minimalHandle, 2, &entry), FLAG_FALSE);
}

TEST(SourceCounts, SelectableOptionalGroupedAndLargeCapacity)
{
    struct Case {
        const char* model;
        bool fixture;
        int selectable;
        int optional;
        int grouped;
        int largeCapacity;
    };
    // Trays fixture: sources 7, 1, 2, 4; groups of kind 1 (two sources), 5 (one) and 2 (one).
    // Colour model: sources 7, 1, 2, 4; groups of kind 1 (one source) and 5 (one).
    const Case cases[] = {
        {"printerinfo-trays", true, 2, 3, 4, 1},
        {"GC7350", false, 2, 1, 2, 1},
        {"GM1000", false, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        auto model = c.fixture ? pitest::LoadFixtureModel(c.model) : pitest::LoadSampleModel(c.model);
        ASSERT_TRUE(model) << c.model;
        tagMODELHANDLE handle = HandleOf(model.get());
        EXPECT_EQ(CountSelectableSources(&handle), c.selectable) << c.model;
        EXPECT_EQ(CountOptionalSources(&handle), c.optional) << c.model;
        EXPECT_EQ(CountGroupedSources(&handle), c.grouped) << c.model;
        EXPECT_EQ(CountLargeCapacitySources(&handle), c.largeCapacity) << c.model;
    }
    EXPECT_EQ(CountSelectableSources(nullptr), 0);
}

}  // namespace

#include "core/binding/GsLibrary.h"

#include "binding/BindingTestSupport.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

using orvtest::CountEmptySlots;
using orvtest::IsAllZero;
using orvtest::ScopedGs;

TEST(GsLibrary, RealLibgsBindsEverySlotAndReportsRevision10OrLater)
{
    orvtest::PinRealLibgs();
    ScopedGs gs;
    ASSERT_EQ(LoadGhostscriptLibrary(&gs), 0);
    EXPECT_EQ(CountEmptySlots(gs), 0u);
    gsapi_revision_t revision {};
    ASSERT_EQ(gs.gsapi_revision(&revision, sizeof revision), 0);
    EXPECT_GE(revision.revision, 10000);
}

TEST(GsLibrary, RealLibgsRunsPostScript)
{
    orvtest::PinRealLibgs();
    ScopedGs gs;
    ASSERT_EQ(LoadGhostscriptLibrary(&gs), 0);
    void* instance = nullptr;
    ASSERT_EQ(gs.gsapi_new_instance(&instance, nullptr), 0);
    const char* args[] = {"gs", "-q", "-dNODISPLAY", "-dNOPAUSE", "-dBATCH", "-dSAFER"};
    int code = gs.gsapi_init_with_args(instance, std::size(args), const_cast<char**>(args));
    int exitCode = 0;
    if (code == 0) {
        code = gs.gsapi_run_string(instance, "1 2 add pop\n", 0, &exitCode);
    }
    gs.gsapi_exit(instance);
    gs.gsapi_delete_instance(instance);
    EXPECT_EQ(code, 0);
}

struct FakeCase {
    const char* name;
    const char* library;
    int expected;
};

class GsLibraryFake : public ::testing::TestWithParam<FakeCase> {};

TEST_P(GsLibraryFake, BindsOnlyWhenTheRevisionAnswersAndEveryEntryExists)
{
    const FakeCase& c = GetParam();
    ScopedGs gs;
    ASSERT_EQ(LoadGhostscriptLibraryFrom(&gs, &c.library, 1), c.expected);
    if (c.expected == 0) {
        EXPECT_EQ(CountEmptySlots(gs), 0u);
    } else {
        EXPECT_TRUE(IsAllZero(static_cast<tagGSFUNC&>(gs)));
        EXPECT_FALSE(orvtest::IsLoaded(c.library));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fakes, GsLibraryFake,
    ::testing::Values(FakeCase{"Complete", ORV_FAKE_GS_OK, 0},
                      FakeCase{"RevisionCallFails", ORV_FAKE_GS_BAD_REVISION, 1},
                      FakeCase{"WithoutExit", ORV_FAKE_GS_NO_EXIT, 1},
                      // A library without gsapi_revision at all.
                      FakeCase{"NotGhostscript", ORV_FAKE_COMPRESS_A, 1}),
    [](const ::testing::TestParamInfo<FakeCase>& info) { return info.param.name; });

TEST(GsLibrary, NoCandidateOpensGivesOneAndAZeroTable)
{
    const char* candidates[] = {"/nonexistent/libgs.so"};
    ScopedGs gs;
    EXPECT_EQ(LoadGhostscriptLibraryFrom(&gs, candidates, 1), 1);
    EXPECT_TRUE(IsAllZero(static_cast<tagGSFUNC&>(gs)));
    EXPECT_EQ(LoadGhostscriptLibraryFrom(nullptr, candidates, 1), 1);
    UnloadGhostscriptLibrary(nullptr);
}

TEST(GsLibrary, BindingABoundTableReleasesTheLibraryItHeld)
{
    orvtest::PinRealLibgs();
    ScopedGs gs;
    const char* first = ORV_FAKE_GS_OK;
    ASSERT_EQ(LoadGhostscriptLibraryFrom(&gs, &first, 1), 0);
    ASSERT_EQ(LoadGhostscriptLibrary(&gs), 0);
    EXPECT_FALSE(orvtest::IsLoaded(ORV_FAKE_GS_OK));
}

}  // namespace

#include "core/binding/CupsFallbacks.h"
#include "core/binding/CupsLibrary.h"

#include "binding/BindingTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

namespace {

using orvtest::CountEmptySlots;
using orvtest::IsAllZero;
using orvtest::ScopedCups;
using orvtest::Symbol;

bool FileSetIsFallback(const tagCUPSFUNC& t)
{
    return t.cupsTempFile2 == &my_cupsTempFile2 && t.cupsFileClose == &my_cupsFileClose &&
           t.cupsFileGetLine == &my_cupsFileGetLine && t.cupsFileOpen == &my_cupsFileOpen &&
           t.cupsFileOpenFd == &my_cupsFileOpenFd && t.cupsFileStdin == &my_cupsFileStdin &&
           t.cupsFileWrite == &my_cupsFileWrite && t.cupsFileTell == &my_cupsFileTell &&
           t.cupsFileRead == &my_cupsFileRead && t.cupsFileSeek == &my_cupsFileSeek &&
           t.cupsFileRewind == &my_cupsFileRewind;
}

bool ArraySetIsFallback(const tagCUPSFUNC& t)
{
    return t.cupsArrayAdd == &my_cupsArrayAdd && t.cupsArrayNew == &my_cupsArrayNew &&
           t.cupsArrayCount == &my_cupsArrayCount && t.cupsArrayFirst == &my_cupsArrayFirst &&
           t.cupsArrayLast == &my_cupsArrayLast && t.cupsArrayIndex == &my_cupsArrayIndex;
}

bool FileSetFromLibrary(const tagCUPSFUNC& t)
{
    void* h = t.handle;
    return reinterpret_cast<void*>(t.cupsTempFile2) == Symbol(h, "cupsTempFile2") &&
           reinterpret_cast<void*>(t.cupsFileClose) == Symbol(h, "cupsFileClose") &&
           reinterpret_cast<void*>(t.cupsFileGetLine) == Symbol(h, "cupsFileGetLine") &&
           reinterpret_cast<void*>(t.cupsFileOpen) == Symbol(h, "cupsFileOpen") &&
           reinterpret_cast<void*>(t.cupsFileOpenFd) == Symbol(h, "cupsFileOpenFd") &&
           reinterpret_cast<void*>(t.cupsFileStdin) == Symbol(h, "cupsFileStdin") &&
           reinterpret_cast<void*>(t.cupsFileWrite) == Symbol(h, "cupsFileWrite") &&
           reinterpret_cast<void*>(t.cupsFileTell) == Symbol(h, "cupsFileTell") &&
           reinterpret_cast<void*>(t.cupsFileRead) == Symbol(h, "cupsFileRead") &&
           reinterpret_cast<void*>(t.cupsFileSeek) == Symbol(h, "cupsFileSeek") &&
           reinterpret_cast<void*>(t.cupsFileRewind) == Symbol(h, "cupsFileRewind");
}

bool ArraySetFromLibrary(const tagCUPSFUNC& t)
{
    void* h = t.handle;
    return reinterpret_cast<void*>(t.cupsArrayAdd) == Symbol(h, "cupsArrayAdd") &&
           reinterpret_cast<void*>(t.cupsArrayNew) == Symbol(h, "cupsArrayNew") &&
           reinterpret_cast<void*>(t.cupsArrayCount) == Symbol(h, "cupsArrayCount") &&
           reinterpret_cast<void*>(t.cupsArrayFirst) == Symbol(h, "cupsArrayFirst") &&
           reinterpret_cast<void*>(t.cupsArrayLast) == Symbol(h, "cupsArrayLast") &&
           reinterpret_cast<void*>(t.cupsArrayIndex) == Symbol(h, "cupsArrayIndex");
}

TEST(CupsLibrary, RealLibcupsFillsEverySlotFromTheLibrary)
{
    orvtest::PinRealLibcups();
    ScopedCups cups;
    ASSERT_EQ(LoadCupsLibrary(&cups), 0);
    ASSERT_NE(cups.handle, nullptr);
    EXPECT_EQ(CountEmptySlots(cups), 0u);
    EXPECT_TRUE(FileSetFromLibrary(cups));
    EXPECT_TRUE(ArraySetFromLibrary(cups));
    EXPECT_EQ(reinterpret_cast<void*>(cups.ppdLocalize), Symbol(cups.handle, "ppdLocalize"));
    EXPECT_EQ(reinterpret_cast<void*>(cups.cupsLangDefault), Symbol(cups.handle, "cupsLangDefault"));
    EXPECT_EQ(reinterpret_cast<void*>(cups.ppdFindNextAttr), Symbol(cups.handle, "ppdFindNextAttr"));
}

TEST(CupsLibrary, UnloadEmptiesTheTable)
{
    ScopedCups cups;
    ASSERT_EQ(LoadCupsLibraryFrom(&cups, std::data({ORV_FAKE_CUPS_FULL}), 1), 0);
    UnloadCupsLibrary(&cups);
    EXPECT_TRUE(IsAllZero(static_cast<tagCUPSFUNC&>(cups)));
    EXPECT_FALSE(orvtest::IsLoaded(ORV_FAKE_CUPS_FULL));
}

TEST(CupsLibrary, UnloadIgnoresNullAndUnboundTables)
{
    UnloadCupsLibrary(nullptr);
    tagCUPSFUNC unbound {};
    unbound.cupsGetDests = reinterpret_cast<decltype(unbound.cupsGetDests)>(&my_cupsArrayCount);
    UnloadCupsLibrary(&unbound);  // no handle: left exactly as it is
    EXPECT_NE(unbound.cupsGetDests, nullptr);
}

// Which sets are replaced when the opened library lacks one entry.
struct MissingEntryCase {
    const char* library;
    const char* missing;
    bool fileSetFallback;
    bool arraySetFallback;
};

class CupsLibraryMissingEntry : public ::testing::TestWithParam<MissingEntryCase> {};

TEST_P(CupsLibraryMissingEntry, ReplacesOnlyTheSetOfTheMissingEntryAsAWhole)
{
    const MissingEntryCase& c = GetParam();
    ScopedCups cups;
    ASSERT_EQ(LoadCupsLibraryFrom(&cups, &c.library, 1), 0) << c.missing;
    EXPECT_EQ(CountEmptySlots(cups), 0u);
    EXPECT_EQ(FileSetIsFallback(cups), c.fileSetFallback);
    EXPECT_EQ(FileSetFromLibrary(cups), !c.fileSetFallback);
    EXPECT_EQ(ArraySetIsFallback(cups), c.arraySetFallback);
    EXPECT_EQ(ArraySetFromLibrary(cups), !c.arraySetFallback);
    // Entries outside the replaced sets still come from the library.
    EXPECT_EQ(reinterpret_cast<void*>(cups.cupsGetDests), Symbol(cups.handle, "cupsGetDests"));
    EXPECT_EQ(reinterpret_cast<void*>(cups.ppdLocalize), Symbol(cups.handle, "ppdLocalize"));
}

INSTANTIATE_TEST_SUITE_P(
    Fakes, CupsLibraryMissingEntry,
    ::testing::Values(MissingEntryCase{ORV_FAKE_CUPS_FULL, "", false, false},
                      MissingEntryCase{ORV_FAKE_CUPS_NO_FILE_STDIN, "cupsFileStdin", true, false},
                      MissingEntryCase{ORV_FAKE_CUPS_NO_ARRAY_INDEX, "cupsArrayIndex", false, true}),
    [](const ::testing::TestParamInfo<MissingEntryCase>& info) {
        return info.param.missing[0] == '\0' ? std::string("Complete")
                                              : std::string("Without_") + info.param.missing;
    });

TEST(CupsLibrary, LibraryWithoutLocalizeAndLanguageBindsWithTheStandIns)
{
    ScopedCups cups;
    ASSERT_EQ(LoadCupsLibraryFrom(&cups, std::data({ORV_FAKE_CUPS_NO_LOCALIZE_LANG}), 1), 0);
    EXPECT_EQ(cups.ppdLocalize(nullptr), 0);
    EXPECT_EQ(cups.cupsLangDefault(), nullptr);
    EXPECT_EQ(CountEmptySlots(cups), 0u);

    // The same entries of a library that has them are the library's own (it answers 42).
    ScopedCups full;
    ASSERT_EQ(LoadCupsLibraryFrom(&full, std::data({ORV_FAKE_CUPS_FULL}), 1), 0);
    EXPECT_EQ(full.ppdLocalize(nullptr), 42);
    EXPECT_NE(full.cupsLangDefault(), nullptr);
}

TEST(CupsLibrary, LibraryWithoutARequiredEntryFailsWithTheTableZero)
{
    for (const char* library : {ORV_FAKE_CUPS_NO_FIND_NEXT_ATTR, ORV_FAKE_CUPS_NO_GET_DESTS}) {
        ScopedCups cups;
        EXPECT_EQ(LoadCupsLibraryFrom(&cups, &library, 1), 1) << library;
        EXPECT_TRUE(IsAllZero(static_cast<tagCUPSFUNC&>(cups))) << library;
        EXPECT_FALSE(orvtest::IsLoaded(library)) << library;
    }
}

TEST(CupsLibrary, FirstLibraryThatOpensIsUsedEvenWhenItFails)
{
    const char* candidates[] = {"/nonexistent/libcups.so", ORV_FAKE_CUPS_NO_FIND_NEXT_ATTR,
                                ORV_FAKE_CUPS_FULL};
    ScopedCups cups;
    EXPECT_EQ(LoadCupsLibraryFrom(&cups, candidates, 3), 1);
    EXPECT_TRUE(IsAllZero(static_cast<tagCUPSFUNC&>(cups)));
    EXPECT_FALSE(orvtest::IsLoaded(ORV_FAKE_CUPS_FULL));
}

TEST(CupsLibrary, MissingCandidatesAreSkipped)
{
    const char* candidates[] = {"/nonexistent/libcups.so", nullptr, ORV_FAKE_CUPS_FULL};
    ScopedCups cups;
    ASSERT_EQ(LoadCupsLibraryFrom(&cups, candidates, 3), 0);
    EXPECT_EQ(reinterpret_cast<void*>(cups.cupsGetDests), Symbol(cups.handle, "cupsGetDests"));
    EXPECT_TRUE(orvtest::IsLoaded(ORV_FAKE_CUPS_FULL));
}

TEST(CupsLibrary, NoCandidateOpensGivesOneAndAZeroTable)
{
    const char* candidates[] = {"/nonexistent/libcups.so", "/nonexistent/libcups.so.2"};
    ScopedCups cups;
    cups.cupsGetDests = reinterpret_cast<decltype(cups.cupsGetDests)>(&my_cupsArrayCount);
    EXPECT_EQ(LoadCupsLibraryFrom(&cups, candidates, 2), 1);
    EXPECT_TRUE(IsAllZero(static_cast<tagCUPSFUNC&>(cups)));
    EXPECT_EQ(LoadCupsLibraryFrom(&cups, nullptr, 0), 1);
    EXPECT_EQ(LoadCupsLibraryFrom(nullptr, candidates, 2), 1);
}

TEST(CupsLibrary, BindingABoundTableReleasesTheLibraryItHeld)
{
    ScopedCups cups;
    ASSERT_EQ(LoadCupsLibraryFrom(&cups, std::data({ORV_FAKE_CUPS_NO_FILE_STDIN}), 1), 0);
    ASSERT_TRUE(orvtest::IsLoaded(ORV_FAKE_CUPS_NO_FILE_STDIN));
    ASSERT_EQ(LoadCupsLibraryFrom(&cups, std::data({ORV_FAKE_CUPS_FULL}), 1), 0);
    EXPECT_FALSE(orvtest::IsLoaded(ORV_FAKE_CUPS_NO_FILE_STDIN));
    EXPECT_FALSE(FileSetIsFallback(cups));
}

}  // namespace

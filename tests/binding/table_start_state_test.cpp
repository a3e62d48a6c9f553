// A function table handed to a binder may start as anything: zeroed, never initialised (here:
// filled with a byte pattern, as heap memory a caller forgot to clear would be), or bound before.
// Each binder binds it, binds it again and unbinds it without ever handing dlclose a handle it did
// not open, and without keeping a reference to a library it let go of.
#include "binding/BindingTestSupport.h"
#include "core/binding/SharedObject.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

using orvtest::IsAllZero;
using orvtest::IsLoaded;

// The compression binder takes a base name inside the library directory; the others a candidate
// list. Each binder is driven through the same three calls.
struct CompressRoot {
    orvtest::ScratchDir root;
    orvtest::ScopedInstallRoot installRoot {root.path()};
    std::string Library() const { return root / "usr/lib/liborvjbig.so.1"; }
    CompressRoot()
    {
        std::filesystem::create_directories(root / "usr/lib");
        std::filesystem::copy_file(ORV_FAKE_COMPRESS_A, Library());
    }
};

template <class Table>
struct Binder;

template <>
struct Binder<tagCUPSFUNC> {
    static constexpr const char* kName = "libcups";
    const char* Library() const { return ORV_FAKE_CUPS_FULL; }
    int Bind(tagCUPSFUNC* t) const { return LoadCupsLibraryFrom(t, &m_candidate, 1); }
    void Unbind(tagCUPSFUNC* t) const { UnloadCupsLibrary(t); }
    const char* m_candidate = ORV_FAKE_CUPS_FULL;
};

template <>
struct Binder<tagGSFUNC> {
    static constexpr const char* kName = "libgs";
    const char* Library() const { return ORV_FAKE_GS_OK; }
    int Bind(tagGSFUNC* t) const { return LoadGhostscriptLibraryFrom(t, &m_candidate, 1); }
    void Unbind(tagGSFUNC* t) const { UnloadGhostscriptLibrary(t); }
    const char* m_candidate = ORV_FAKE_GS_OK;
};

template <>
struct Binder<tagCOMPRESSFUNC> {
    static constexpr const char* kName = "compression library";
    std::string Library() const { return m_root.Library(); }
    int Bind(tagCOMPRESSFUNC* t) const { return LoadCompressLibrary(t, "liborvjbig"); }
    void Unbind(tagCOMPRESSFUNC* t) const { UnloadCompressLibrary(t); }
    CompressRoot m_root;
};

template <class Table>
class TableStartState : public ::testing::Test {
};

using Tables = ::testing::Types<tagCUPSFUNC, tagGSFUNC, tagCOMPRESSFUNC>;
TYPED_TEST_SUITE(TableStartState, Tables);

struct StartCase {
    const char* what;
    unsigned char fill;
};

// 0xAB makes every slot a non-canonical address, 0x01 a small non-NULL one, 0xFF all ones.
constexpr StartCase kStarts[] = {
    {"zeroed", 0x00},
    {"filled with 0xAB", 0xAB},
    {"filled with 0x01", 0x01},
    {"filled with 0xFF", 0xFF},
};

TYPED_TEST(TableStartState, BindsRebindsAndUnbindsFromAnyStart)
{
    const Binder<TypeParam> binder;
    const std::string library = std::string(binder.Library());
    ASSERT_FALSE(IsLoaded(library.c_str())) << "an earlier test left the fake bound";
    for (const StartCase& c : kStarts) {
        SCOPED_TRACE(std::string(Binder<TypeParam>::kName) + ", table " + c.what);
        TypeParam table;
        std::memset(&table, c.fill, sizeof table);

        ASSERT_EQ(binder.Bind(&table), 0);
        EXPECT_TRUE(IsLoaded(library.c_str()));
        void* first = table.handle;
        EXPECT_NE(first, nullptr);

        // Binding again releases the first open: one unbind afterwards unloads the library, which
        // it would not if the first open had been forgotten.
        ASSERT_EQ(binder.Bind(&table), 0);
        EXPECT_TRUE(IsLoaded(library.c_str()));
        binder.Unbind(&table);
        EXPECT_TRUE(IsAllZero(table));
        EXPECT_FALSE(IsLoaded(library.c_str()));

        // An unbound table unbinds again harmlessly.
        binder.Unbind(&table);
        EXPECT_TRUE(IsAllZero(table));
    }
}

TYPED_TEST(TableStartState, UnbindingGarbageOrAStaleCopyClosesNothing)
{
    const Binder<TypeParam> binder;
    const std::string library = std::string(binder.Library());
    for (const StartCase& c : kStarts) {
        SCOPED_TRACE(std::string(Binder<TypeParam>::kName) + ", table " + c.what);
        TypeParam garbage;
        std::memset(&garbage, c.fill, sizeof garbage);
        binder.Unbind(&garbage);
        EXPECT_TRUE(IsAllZero(garbage) || c.fill == 0x00) << "a garbage handle is dropped unused";
    }

    // A bound table and a copy of it: once the table is unbound, the copy's handle is no open of
    // this process any more and unbinding the copy must not close a second time.
    TypeParam table {};
    ASSERT_EQ(binder.Bind(&table), 0);
    TypeParam copy = table;
    TypeParam other {};
    ASSERT_EQ(binder.Bind(&other), 0) << "a second open of the same library";
    binder.Unbind(&table);
    EXPECT_TRUE(IsLoaded(library.c_str())) << "the other table still holds it";
    binder.Unbind(&copy);
    EXPECT_TRUE(IsAllZero(copy));
    EXPECT_TRUE(IsLoaded(library.c_str())) << "the stale copy closed the other table's open";
    binder.Unbind(&other);
    EXPECT_FALSE(IsLoaded(library.c_str()));
}

TEST(BoundHandles, OnlyTheTablesOwnOpensAreClosed)
{
    int tableA = 0;
    int tableB = 0;
    EXPECT_FALSE(orv::CloseBoundHandle(&tableA, nullptr));
    // A handle this test opened itself is no binder's to close.
    void* own = LoadSharedObject(ORV_FAKE_COMPRESS_B);
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(orv::CloseBoundHandle(&tableA, own));
    EXPECT_TRUE(IsLoaded(ORV_FAKE_COMPRESS_B));

    // Two tables bound to one library hold the same handle; each closes only its own open.
    const char* candidates[] = {ORV_FAKE_COMPRESS_B};
    void* a = orv::OpenFirstCandidateFor(&tableA, candidates, 1);
    void* b = orv::OpenFirstCandidateFor(&tableB, candidates, 1);
    ASSERT_EQ(a, own);
    ASSERT_EQ(b, own);
    EXPECT_TRUE(orv::CloseBoundHandle(&tableA, a));
    EXPECT_FALSE(orv::CloseBoundHandle(&tableA, a)) << "closed twice through one table";
    int copyOfA = tableA;
    EXPECT_FALSE(orv::CloseBoundHandle(&copyOfA, a)) << "another address is another table";
    EXPECT_TRUE(orv::CloseBoundHandle(&tableB, b));
    EXPECT_TRUE(IsLoaded(ORV_FAKE_COMPRESS_B)) << "the test's own open is still there";
    dlclose(own);
    EXPECT_FALSE(IsLoaded(ORV_FAKE_COMPRESS_B));

    EXPECT_EQ(orv::OpenFirstCandidateFor(&tableA, nullptr, 0), nullptr);
}

}  // namespace

#include "core/binding/CompressLibrary.h"

#include "binding/BindingTestSupport.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <string>

namespace {

using orvtest::IsAllZero;
using orvtest::ScopedCompress;
using orvtest::ScopedInstallRoot;
using orvtest::ScratchDir;

constexpr int kIdA = 192;  // what COMPRESS of fake_compress_a answers
constexpr int kIdB = 193;  // ... of fake_compress_b

// The library directory of the scratch tree (the installed one is /usr/lib/).
std::string LibDir(const ScratchDir& root)
{
    return root / "usr/lib/";
}

// Copies a built fake into the scratch library directory under a file name.
void Install(const ScratchDir& root, const char* fake, const std::string& fileName)
{
    std::filesystem::create_directories(LibDir(root));
    std::filesystem::copy_file(fake, LibDir(root) + fileName,
                               std::filesystem::copy_options::overwrite_existing);
}

struct NameCase {
    const char* name;
    bool accepted;
};

TEST(CompressLibraryName, AcceptsOnlyPlainFileNameCharacters)
{
    const NameCase cases[] = {
        {"liborvjbig", true},
        {"libORV_jbig-2.0+x", true},
        {"a", true},
        {"lib.orv", true},
        {"", false},
        {"../liborvjbig", false},
        {"lib..orv", false},
        {"..", false},
        {"/usr/lib/liborvjbig", false},
        {"sub/liborvjbig", false},
        {"lib orv", false},
        {"lib$orv", false},
        {"liborv\n", false},
        {"lib\\orv", false},
        {"libörv", false},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(IsCompressLibraryName(c.name), c.accepted) << c.name;
    }
    EXPECT_FALSE(IsCompressLibraryName(nullptr));
    EXPECT_TRUE(IsCompressLibraryName(std::string(250, 'x').c_str()));
    EXPECT_FALSE(IsCompressLibraryName(std::string(251, 'x').c_str()));
}

struct SearchCase {
    const char* what;
    const char* soOne;   // fake installed as <name>.so.1, or NULL
    const char* plain;   // fake installed as <name>.so, or NULL
    int expected;
    int compressAnswers;  // when bound
};

TEST(CompressLibrary, TriesNameDotSoOneBeforeNameDotSo)
{
    const SearchCase cases[] = {
        {"both present: .so.1 wins", ORV_FAKE_COMPRESS_A, ORV_FAKE_COMPRESS_B, 0, kIdA},
        {"only .so", nullptr, ORV_FAKE_COMPRESS_B, 0, kIdB},
        {"only .so.1", ORV_FAKE_COMPRESS_A, nullptr, 0, kIdA},
        {".so.1 without COMPRESS is used and fails", ORV_FAKE_COMPRESS_NONE, ORV_FAKE_COMPRESS_B, 1, 0},
        {".so without COMPRESS", nullptr, ORV_FAKE_COMPRESS_NONE, 1, 0},
        {"neither", nullptr, nullptr, 1, 0},
    };
    for (const SearchCase& c : cases) {
        ScratchDir root;
        ScopedInstallRoot installRoot(root.path());
        std::filesystem::create_directories(LibDir(root));
        if (c.soOne != nullptr) {
            Install(root, c.soOne, "liborvjbig.so.1");
        }
        if (c.plain != nullptr) {
            Install(root, c.plain, "liborvjbig.so");
        }
        ScopedCompress compress;
        ASSERT_EQ(LoadCompressLibrary(&compress, "liborvjbig"), c.expected) << c.what;
        if (c.expected == 0) {
            ASSERT_NE(compress.COMPRESS, nullptr) << c.what;
            EXPECT_EQ(compress.COMPRESS(nullptr), c.compressAnswers) << c.what;
        } else {
            EXPECT_TRUE(IsAllZero(static_cast<tagCOMPRESSFUNC&>(compress))) << c.what;
        }
    }
}

TEST(CompressLibrary, BindsThePackagesOwnLibraryByItsPpdName)
{
    ScratchDir root;
    ScopedInstallRoot installRoot(root.path());
    Install(root, ORV_REAL_COMPRESS_LIBRARY, "liborvjbig.so.1");
    ScopedCompress compress;
    ASSERT_EQ(LoadCompressLibrary(&compress, "liborvjbig"), 0);
    EXPECT_EQ(reinterpret_cast<void*>(compress.COMPRESS), dlsym(compress.handle, "COMPRESS"));
    EXPECT_NE(compress.COMPRESS, nullptr);
}

TEST(CompressLibrary, OnlyThePackagesOwnLibrarySaysItMayBeCalledFromSeveralThreads)
{
    ScratchDir root;
    ScopedInstallRoot installRoot(root.path());
    Install(root, ORV_REAL_COMPRESS_LIBRARY, "liborvjbig.so.1");
    Install(root, ORV_FAKE_COMPRESS_A, "libmaker.so.1");
    struct Case {
        const char* name;
        bool reentrant;
    } cases[] = {{"liborvjbig", true}, {"libmaker", false}};
    for (const Case& c : cases) {
        ScopedCompress compress;
        ASSERT_EQ(LoadCompressLibrary(&compress, c.name), 0) << c.name;
        EXPECT_EQ(IsCompressLibraryReentrant(&compress), c.reentrant) << c.name;
    }
    ScopedCompress unbound;
    EXPECT_FALSE(IsCompressLibraryReentrant(&unbound));
    EXPECT_FALSE(IsCompressLibraryReentrant(nullptr));
}

TEST(CompressLibrary, RefusedNamesLoadNothingEvenWhenTheFileExists)
{
    ScratchDir root;
    ScopedInstallRoot installRoot(root.path());
    Install(root, ORV_FAKE_COMPRESS_A, "lib..orv.so.1");
    Install(root, ORV_FAKE_COMPRESS_A, "liborv.so.1");
    std::filesystem::create_directories(root / "usr");
    // "../lib/liborv" would reach <lib dir>/../lib/liborv.so.1, the same file as liborv.
    for (const char* name : {"lib..orv", "../lib/liborv", "lib orv"}) {
        ScopedCompress compress;
        EXPECT_EQ(LoadCompressLibrary(&compress, name), 1) << name;
        EXPECT_TRUE(IsAllZero(static_cast<tagCOMPRESSFUNC&>(compress))) << name;
    }
    ScopedCompress compress;
    EXPECT_EQ(LoadCompressLibrary(&compress, "liborv"), 0);
}

TEST(CompressLibrary, NullArgumentsLeaveTheTableAsItWas)
{
    ScratchDir root;
    ScopedInstallRoot installRoot(root.path());
    Install(root, ORV_FAKE_COMPRESS_A, "liborvjbig.so.1");
    ScopedCompress compress;
    ASSERT_EQ(LoadCompressLibrary(&compress, "liborvjbig"), 0);
    void* handle = compress.handle;
    EXPECT_EQ(LoadCompressLibrary(&compress, nullptr), 1);
    EXPECT_EQ(compress.handle, handle);
    EXPECT_EQ(compress.COMPRESS(nullptr), kIdA);
    EXPECT_EQ(LoadCompressLibrary(nullptr, "liborvjbig"), 1);
}

TEST(CompressLibrary, BindingABoundTableReleasesTheLibraryItHeld)
{
    ScratchDir root;
    ScopedInstallRoot installRoot(root.path());
    Install(root, ORV_FAKE_COMPRESS_A, "first.so.1");
    Install(root, ORV_FAKE_COMPRESS_B, "second.so.1");
    const std::string first = LibDir(root) + "first.so.1";
    ScopedCompress compress;
    ASSERT_EQ(LoadCompressLibrary(&compress, "first"), 0);
    ASSERT_TRUE(orvtest::IsLoaded(first.c_str()));
    ASSERT_EQ(LoadCompressLibrary(&compress, "second"), 0);
    EXPECT_FALSE(orvtest::IsLoaded(first.c_str()));
    EXPECT_EQ(compress.COMPRESS(nullptr), kIdB);

    UnloadCompressLibrary(&compress);
    EXPECT_TRUE(IsAllZero(static_cast<tagCOMPRESSFUNC&>(compress)));
    UnloadCompressLibrary(nullptr);
}

}  // namespace

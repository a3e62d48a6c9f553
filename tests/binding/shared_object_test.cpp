#include "core/binding/CupsLibrary.h"
#include "core/binding/SharedObject.h"

#include "binding/BindingTestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

TEST(SharedObject, OpensAPathWithEverySymbolResolvedAtOnce)
{
    void* handle = LoadSharedObject(ORV_FAKE_COMPRESS_A);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(dlsym(handle, "COMPRESS"), nullptr);
    dlclose(handle);

    // Lazily the library would open; with immediate binding its missing function refuses it.
    void* lazy = dlopen(ORV_FAKE_UNRESOLVED, RTLD_LAZY);
    ASSERT_NE(lazy, nullptr);
    dlclose(lazy);
    EXPECT_EQ(LoadSharedObject(ORV_FAKE_UNRESOLVED), nullptr);
}

TEST(SharedObject, MissingOrNoPathOpensNothing)
{
    EXPECT_EQ(LoadSharedObject("/nonexistent/libnothing.so"), nullptr);
    // dlopen(NULL) would hand back the test program itself.
    EXPECT_EQ(LoadSharedObject(nullptr), nullptr);
}

TEST(SharedObject, ACandidateThatCannotBindAtOnceIsPassedOver)
{
    const char* candidates[] = {ORV_FAKE_UNRESOLVED, ORV_FAKE_CUPS_FULL};
    orvtest::ScopedCups cups;
    ASSERT_EQ(LoadCupsLibraryFrom(&cups, candidates, 2), 0);
    EXPECT_EQ(reinterpret_cast<void*>(cups.cupsGetDests), dlsym(cups.handle, "cupsGetDests"));
}

}  // namespace

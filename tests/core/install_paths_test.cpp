#include "core/InstallPaths.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

namespace {

TEST(InstallPaths, DefaultsAreTheInstalledLocations)
{
    unsetenv("ORVALEN_TEST_ROOT");
    EXPECT_EQ(orv::InstalledPath(orv::kModelDataDir), "/usr/local/share/orvalen/printer/data/");
    EXPECT_EQ(orv::InstalledPath(orv::kOverlayLockPath), "/tmp/orvalen/printer/overlay.lock");
}

TEST(InstallPaths, ScratchRootMovesEveryLocation)
{
    orvtest::ScopedInstallRoot root("/scratch/tree//");
    EXPECT_EQ(orv::InstalledPath(orv::kConfDir), "/scratch/tree/usr/local/share/orvalen/printer/conf/");
    EXPECT_EQ(orv::InstalledPath(orv::kSpoolDir), "/scratch/tree/var/spool/.orvamfs/");
}

TEST(InstallPaths, RelativeRootIsIgnored)
{
    // A relative root would make every path depend on the working directory.
    orvtest::ScopedInstallRoot root("relative/tree");
    EXPECT_EQ(orv::InstalledPath(orv::kConfDir), "/usr/local/share/orvalen/printer/conf/");
}

}  // namespace

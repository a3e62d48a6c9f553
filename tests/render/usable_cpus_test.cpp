// The processors the filter counts on: the affinity mask's, held to the quota of the process's own
// cgroup (v2 cpu.max, else v1 cfs quota and period), read from a hand-written tree of the files the
// system would have; a quota is whole processors rounded up; files missing or not as the kernel
// writes them set no limit; never 0.
#include "filter/render/workers/UsableCpus.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sched.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// A file of the fake tree, by its path under the root.
using File = std::pair<std::string, std::string>;

const char kV2Self[] = "0::/\n";
const char kHybridSelf[] =
    "9:name=systemd:/\n4:memory:/box\n2:cpuacct:/\n1:cpu:/\n0::/\n";  // v1 controllers beside a v2 line

TEST(UsableCpus, MaskHeldToTheCgroupQuota)
{
    struct Case {
        const char* name;
        unsigned mask;
        std::vector<File> files;
        unsigned expected;
    } cases[] = {
        {"no cgroup files: the mask", 8, {}, 8},
        {"one processor in the mask", 1, {}, 1},
        {"no mask and no files: never 0", 0, {}, 1},
        {"v2 without a quota", 6, {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "max 100000\n"}}, 6},
        {"v2 quota of one and a half: 2",
         8,
         {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "150000 100000\n"}},
         2},
        {"v2 quota of exactly 2", 8, {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "200000 100000"}}, 2},
        {"v2 quota below one processor: 1",
         8,
         {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "20000 100000\n"}},
         1},
        {"v2 quota above the mask: the mask",
         2,
         {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "800000 100000\n"}},
         2},
        {"v2 quota without a mask",
         0,
         {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "300000 100000\n"}},
         3},
        {"v2 in the process's own cgroup",
         8,
         {{"proc/self/cgroup", "0::/jobs.slice/print\n"},
          {"sys/fs/cgroup/cpu.max", "100000 100000\n"},
          {"sys/fs/cgroup/jobs.slice/print/cpu.max", "300000 100000\n"}},
         3},
        {"v2 garbage", 8, {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "two cores\n"}}, 8},
        {"v2 quota of 0", 8, {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "0 100000\n"}}, 8},
        {"v2 period of 0", 8, {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "100000 0\n"}}, 8},
        {"v2 negative quota", 8, {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "-1 100000\n"}}, 8},
        {"v2 quota with trailing letters",
         8,
         {{"proc/self/cgroup", kV2Self}, {"sys/fs/cgroup/cpu.max", "150000x 100000\n"}},
         8},
        {"v2 path stepping up is not followed",
         8,
         {{"proc/self/cgroup", "0::/../../etc\n"}, {"sys/etc/cpu.max", "100000 100000\n"}},
         8},
        {"v1 cpu,cpuacct quota",
         8,
         {{"proc/self/cgroup", "3:cpu,cpuacct:/\n"},
          {"sys/fs/cgroup/cpu,cpuacct/cpu.cfs_quota_us", "250000\n"},
          {"sys/fs/cgroup/cpu,cpuacct/cpu.cfs_period_us", "100000\n"}},
         3},
        {"v1 without a quota (-1)",
         8,
         {{"proc/self/cgroup", kHybridSelf},
          {"sys/fs/cgroup/cpu/cpu.cfs_quota_us", "-1\n"},
          {"sys/fs/cgroup/cpu/cpu.cfs_period_us", "100000\n"}},
         8},
        {"v1 beside a v2 line without cpu.max",
         8,
         {{"proc/self/cgroup", kHybridSelf},
          {"sys/fs/cgroup/cpu/cpu.cfs_quota_us", "200000\n"},
          {"sys/fs/cgroup/cpu/cpu.cfs_period_us", "100000\n"}},
         2},
        {"v1 mounted as cpu for a cpu,cpuacct line",
         8,
         {{"proc/self/cgroup", "3:cpu,cpuacct:/box\n"},
          {"sys/fs/cgroup/cpu/box/cpu.cfs_quota_us", "100000\n"},
          {"sys/fs/cgroup/cpu/box/cpu.cfs_period_us", "100000\n"}},
         1},
        {"v1 period missing",
         8,
         {{"proc/self/cgroup", "1:cpu:/\n"}, {"sys/fs/cgroup/cpu/cpu.cfs_quota_us", "100000\n"}},
         8},
        {"v1 garbage",
         8,
         {{"proc/self/cgroup", "1:cpu:/\n"},
          {"sys/fs/cgroup/cpu/cpu.cfs_quota_us", "lots\n"},
          {"sys/fs/cgroup/cpu/cpu.cfs_period_us", "100000\n"}},
         8},
        {"cgroup list garbage", 4, {{"proc/self/cgroup", "nothing here\n\n:::\n"}}, 4},
        {"cgroup list garbage and no mask", 0, {{"proc/self/cgroup", "\x01\x02"}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        orvtest::ScratchDir root;
        for (const File& f : c.files) {
            root.WriteFile(f.first, f.second);
        }
        EXPECT_EQ(UsableCpusFrom(c.mask, root.path()), c.expected);
    }
}

// This process: at least one, and no more than the processors it may run on.
TEST(UsableCpus, ThisProcessHasAtLeastOne)
{
    const unsigned cpus = UsableCpus();
    EXPECT_GE(cpus, 1u);
    cpu_set_t set;
    CPU_ZERO(&set);
    ASSERT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
    EXPECT_LE(cpus, static_cast<unsigned>(CPU_COUNT(&set)));
}

}  // namespace

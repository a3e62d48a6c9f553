// How many processors the filter's own threads can count on: not the machine's, but those the
// process may run on (its affinity mask, as taskset or a cpuset sets it) held to its processor
// quota (a container's or a service's cgroup limit), so that a job pinned to two cores or given two
// cores' worth of time does not start eight threads that only take turns.
#pragma once

#include <string>

// The processors of the affinity mask (`maskCpus`) held to the quota of the process's own cgroup:
// cgroup v2 `cpu.max` ("<quota> <period>", "max" for none) of the cgroup named on the "0::" line
// of <root>/proc/self/cgroup, under <root>/sys/fs/cgroup; without that file, cgroup v1
// `cpu.cfs_quota_us` / `cpu.cfs_period_us` (-1 for none) of the "cpu" controller's cgroup, under
// <root>/sys/fs/cgroup/<its controllers> or <root>/sys/fs/cgroup/cpu. A quota counts as whole
// processors rounded up (150000 / 100000 is 2). A file missing or not as described sets no limit.
// At least 1, also with a mask count of 0.
unsigned UsableCpusFrom(unsigned maskCpus, const std::string& root);

// UsableCpusFrom for this process: the count of its affinity mask (sched_getaffinity; the
// processors online when the system does not tell), the files under "/". At least 1.
unsigned UsableCpus();

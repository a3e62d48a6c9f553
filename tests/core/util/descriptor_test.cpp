#include "core/util/Descriptor.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

namespace {

TEST(Dup2Retry, PointsTheSecondDescriptorAtTheFirst)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int target = dup(fds[0]);  // a descriptor number that is in use, as standard output would be
    ASSERT_GE(target, 0);
    EXPECT_EQ(Dup2Retry(fds[1], target), target);
    ASSERT_EQ(write(target, "z", 1), 1);
    char c = 0;
    ASSERT_EQ(read(fds[0], &c, 1), 1);
    EXPECT_EQ(c, 'z');
    close(target);
    close(fds[0]);
    close(fds[1]);
}

TEST(Dup2Retry, ABadDescriptorFails)
{
    errno = 0;
    EXPECT_EQ(Dup2Retry(-1, 1000), -1);
    EXPECT_EQ(errno, EBADF);
}

}  // namespace

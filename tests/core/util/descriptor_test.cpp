#include "core/util/Descriptor.h"

#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <thread>

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

// While it lives, SIGALRM arrives every 200 microseconds at the thread that made it, with a handler
// installed without SA_RESTART: a blocked read or write of that thread returns early, with the
// bytes moved so far or with EINTR. Threads started while it lives do not take the signal.
class Interruptions {
public:
    Interruptions() {
        struct sigaction action = {};
        action.sa_handler = [](int) { s_count.fetch_add(1); };
        sigemptyset(&action.sa_mask);
        sigaction(SIGALRM, &action, &m_oldAction);
        s_count = 0;
        struct itimerval timer = {{0, 200}, {0, 200}};
        setitimer(ITIMER_REAL, &timer, &m_oldTimer);
    }
    ~Interruptions() {
        setitimer(ITIMER_REAL, &m_oldTimer, nullptr);
        sigaction(SIGALRM, &m_oldAction, nullptr);
    }
    // A thread that never takes the signal, so that it lands on the thread under test.
    template <typename F>
    static std::thread Quiet(F body) {
        return std::thread([body] {
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, SIGALRM);
            pthread_sigmask(SIG_BLOCK, &set, nullptr);
            body();
        });
    }
    static int Count() { return s_count.load(); }

private:
    static inline std::atomic<int> s_count{0};
    struct sigaction m_oldAction = {};
    struct itimerval m_oldTimer = {};
};

std::string Pattern(size_t n) {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

TEST(WriteAll, EveryByteReachesASlowReaderThroughInterruptedAndShortWrites)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    // Many pipe buffers' worth: the write blocks again and again while the signals come.
    const std::string payload = Pattern(4 << 20);
    std::string received;
    int result = -1;
    {
        Interruptions signals;
        std::thread reader = Interruptions::Quiet([&] {
            char buf[8192];
            ssize_t n;
            while ((n = read(fds[0], buf, sizeof buf)) > 0) {
                received.append(buf, static_cast<size_t>(n));
                usleep(20);
            }
        });
        result = WriteAll(fds[1], payload.data(), payload.size());
        close(fds[1]);
        reader.join();
        EXPECT_GT(Interruptions::Count(), 0) << "the write was interrupted";
    }
    close(fds[0]);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(received.size(), payload.size());
    EXPECT_TRUE(received == payload) << "in order, none lost or repeated";
}

TEST(WriteAll, FailedWriteGivesItsErrno)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    void (*old)(int) = signal(SIGPIPE, SIG_IGN);
    EXPECT_EQ(WriteAll(fds[1], "abc", 3), EPIPE);
    signal(SIGPIPE, old);
    close(fds[1]);
    EXPECT_EQ(WriteAll(-1, "abc", 3), EBADF);
    EXPECT_EQ(WriteAll(-1, "", 0), 0) << "nothing to write is no write";
}

TEST(ReadUpTo, CollectsWhatASlowWriterSendsThroughInterruptedAndShortReads)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const std::string payload = Pattern(1 << 20);
    std::string received(payload.size(), '\0');
    ssize_t got = -1;
    void (*oldPipe)(int) = signal(SIGPIPE, SIG_IGN);
    {
        Interruptions signals;
        // Small pieces with pauses: each read finds a part of what it asks for, or waits.
        std::thread writer = Interruptions::Quiet([&] {
            for (size_t at = 0; at < payload.size(); at += 3000) {
                size_t n = payload.size() - at < 3000 ? payload.size() - at : 3000;
                if (write(fds[1], payload.data() + at, n) != static_cast<ssize_t>(n)) break;
                if (at % 300000 == 0) usleep(2000);
            }
        });
        got = ReadUpTo(fds[0], received.data(), received.size());
        // A read that gave up early must not leave the writer blocked: it fails on the closed pipe.
        close(fds[0]);
        writer.join();
        EXPECT_GT(Interruptions::Count(), 0) << "the read was interrupted";
    }
    close(fds[1]);
    signal(SIGPIPE, oldPipe);
    EXPECT_EQ(got, static_cast<ssize_t>(payload.size()));
    EXPECT_TRUE(received == payload);
}

TEST(ReadUpTo, EndOfFileGivesTheShortCountAndAFailedReadMinusOne)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "0123456789", 10), 10);
    close(fds[1]);
    char buf[64] = {};
    EXPECT_EQ(ReadUpTo(fds[0], buf, sizeof buf), 10);
    EXPECT_EQ(std::string(buf, 10), "0123456789");
    EXPECT_EQ(ReadUpTo(fds[0], buf, sizeof buf), 0) << "at the end nothing more comes";
    close(fds[0]);
    errno = 0;
    EXPECT_EQ(ReadUpTo(-1, buf, sizeof buf), -1);
    EXPECT_EQ(errno, EBADF);
}

}  // namespace

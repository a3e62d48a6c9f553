#include "JobFixture.h"
#include "filter/job/OutputSink.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <thread>

using filtertest::OutputCapture;
using filtertest::TestJob;
using orvtest::StderrCapture;

namespace {

const char kSpoolWriteFailure[] =
    "ERROR: There are not enough space in system drive.Increase the disk space on the system drive (to "
    "remove unnecessary files) and try again.\n";

TEST(OutputSink, WritesTextFormsAndBytesToStandardOutputInOrder)
{
    orvtest::ScratchDir dir;
    TestJob job;
    OutputCapture out(job, dir / "out.bin");
    EXPECT_EQ(OutputPuts(job.get(), "@PJL "), 5);
    EXPECT_EQ(OutputPrintf(job.get(), "SET COPIES=%d\r\n", 12), 15);
    EXPECT_EQ(OutputPutc(job.get(), 0x1B), 1);
    const BYTE abNul[] = {0x00, 0xFF};
    EXPECT_EQ(OutputWrite(job.get(), abNul, 2), 2);
    EXPECT_EQ(out.Bytes(), std::string("@PJL SET COPIES=12\r\n\x1B\x00\xFF", 23));
    EXPECT_EQ(job->iActivity, 1) << "every write marks the output active";
}

TEST(OutputSink, PrintfLongerThanItsFirstBufferIsWrittenWhole)
{
    orvtest::ScratchDir dir;
    TestJob job;
    OutputCapture out(job, dir / "out.bin");
    std::string text(1000, 'x');
    EXPECT_EQ(OutputPrintf(job.get(), "<%s>", text.c_str()), 1002);
    EXPECT_EQ(out.Bytes(), "<" + text + ">");
}

TEST(OutputSink, EveryByteReachesASlowReaderThroughShortWrites)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    // Much more than a pipe holds: the writer must loop on partial writes.
    std::string payload(1 << 20, '\0');
    for (size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<char>(i * 7);
    }
    std::string received;
    std::thread reader([&] {
        char buf[4096];
        ssize_t n;
        while ((n = read(fds[0], buf, sizeof buf)) > 0) {
            received.append(buf, static_cast<size_t>(n));
            usleep(50);
        }
    });
    TestJob job;
    job.hooks().outputFd = fds[1];
    long written = OutputWrite(job.get(), payload.data(), payload.size());
    close(fds[1]);
    reader.join();
    close(fds[0]);
    EXPECT_EQ(written, static_cast<long>(payload.size()));
    EXPECT_TRUE(received == payload);
}

TEST(OutputSink, AClosedReaderIsReportedAsAFailedWrite)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    void (*old)(int) = signal(SIGPIPE, SIG_IGN);
    TestJob job;
    job.hooks().outputFd = fds[1];
    long written = OutputWrite(job.get(), "abc", 3);
    signal(SIGPIPE, old);
    close(fds[1]);
    EXPECT_EQ(written, -1);
}

TEST(OutputSink, AShortSpoolWriteIsReportedOnceAndDropsTheRest)
{
    orvtest::ScratchDir dir;
    TestJob job;
    OutputCapture out(job, dir / "out.bin");
    FILE* full = fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    job->spool = full;
    job->dwSpoolOk = 1;
    StderrCapture err(dir / "err.txt");
    EXPECT_EQ(OutputPuts(job.get(), "first"), 0);
    EXPECT_EQ(OutputPuts(job.get(), "second"), 0);
    std::string log = err.Take();
    fclose(full);
    job->spool = nullptr;
    EXPECT_EQ(job->dwSpoolOk, 0u);
    EXPECT_EQ(log, kSpoolWriteFailure) << "the message goes out once, without a log prefix";
    EXPECT_EQ(out.Bytes(), "") << "spool bytes never fall back to standard output";
}

TEST(OutputSink, ARefusedSpoolDropsEveryByte)
{
    orvtest::ScratchDir dir;
    TestJob job;
    OutputCapture out(job, dir / "out.bin");
    job->spool = SPOOL_REFUSED;
    job->dwSpoolOk = 1;
    StderrCapture err(dir / "err.txt");
    EXPECT_EQ(OutputPuts(job.get(), "dropped"), 0);
    EXPECT_EQ(err.Take(), "");
    job->spool = nullptr;
    EXPECT_EQ(out.Bytes(), "");
}

}  // namespace

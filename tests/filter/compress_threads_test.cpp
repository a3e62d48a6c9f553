// Which threads call the compression library: the package's own says it may be called from
// several at once, so a page's planes are compressed in parallel through it; a library that says
// nothing of the kind (a maker's, named by the queue's PPD) is called from one thread only.
#include "FilterInstall.h"

#include "core/InstallPaths.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

using filtertest::FilterInstall;
using filtertest::FilterRun;
using filtertest::RunFilterProgram;

namespace {

TEST(CompressThreads, LibraryThatPromisesNothingIsCalledFromOneThread)
{
    FilterInstall install;
    const std::string lib = orv::InstalledPath(orv::kCompressLibDir);
    std::filesystem::create_symlink(ORV_THREAD_LOGGING_COMPRESS, lib + "libmakerjbig.so.1");
    std::map<std::string, std::string> env =
        install.QueueEnv(install.PpdVariant("GC7350", nullptr, "\"liborvjbig\"", "\"libmakerjbig\""));
    const std::string threadLog = install.root() / "compress-threads.txt";
    env["ORV_TEST_COMPRESS_THREADS"] = threadLog;

    // Two colour pages: four planes of many bands each, enough work for any helper thread.
    const std::string document = std::string(ORV_FILTER_SAMPLE_DIR) + "two-pages-letter.ps";
    FilterRun run = RunFilterProgram({"gdi-filter", "42", "alice", "sample", "1", "PageSize=Letter", document}, env);
    ASSERT_EQ(run.iStatus, 0) << run.stderrText;
    orvdecode::DecodedStream printed =
        orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(run.stdoutBytes.data()), run.stdoutBytes.size());
    ASSERT_TRUE(printed.ok()) << printed.error->message;
    EXPECT_EQ(printed.pages.size(), 2u);

    std::ifstream in(threadLog);
    std::set<long> threads;
    size_t calls = 0;
    for (long id = 0; in >> id; ++calls) {
        threads.insert(id);
    }
    EXPECT_GT(calls, 8u) << "the library was called for every band and plane";
    EXPECT_EQ(threads.size(), 1u) << calls << " calls";
}

}  // namespace

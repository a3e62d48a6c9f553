// The job's workers from the stream to the printer: pages compressed on any number of workers print
// the same stream as on the job's thread alone, upright and turned, monochrome and colour; and a job
// whose page breaks off in the middle, with the page being compressed, ends with its workers
// joined.
#include "PipelineFixture.h"

#include "filter/render/workers/WorkerPool.h"

#include <gtest/gtest.h>

#include "support/ProcessThreads.h"

#include <dlfcn.h>

#include <regex>
#include <string>

using filtertest::PpmPage;
using filtertest::RenderJob;
using filtertest::StreamFile;
using orvtest::StderrCapture;

namespace {

using orvtest::ProcessThreads;

// A page of many bands with ink of every kind: colour gradients, gray, black strokes, white.
std::string BusyPage(int width, int height)
{
    std::string page = PpmPage(width, height, {{20, 30, width - 20, 34}, {40, 200, 44, height - 10}});
    const size_t raster = page.size() - static_cast<size_t>(width) * height * 3;
    for (int y = 60; y < height - 60; y += 3) {
        for (int x = 60; x < width - 60; ++x) {
            const size_t at = raster + (static_cast<size_t>(y) * width + x) * 3;
            page[at] = static_cast<char>(x * 255 / width);
            page[at + 1] = static_cast<char>(y * 255 / height);
            page[at + 2] = static_cast<char>((x + y) % 5 == 0 ? 0 : 128);
        }
    }
    return page;
}

// A job on the model with the given number of workers and a compression library: by default the
// package's, which may be called from several threads.
class WorkerJob {
public:
    WorkerJob(const char* pszModel, unsigned uWorkers, const char* pszLibrary = ORV_COMPRESS_LIB_PATH)
        : m_job(pszModel)
    {
        m_job.hooks().workerThreads = uWorkers;
        m_job->devmode.dm.dmPaperSize = 9;
        m_job->devmode.priv.dmColor = std::string(pszModel) == "GC7350" ? 2 : 1;
        m_library = dlopen(pszLibrary, RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(m_library, nullptr);
        m_job->compress.handle = m_library;
    }
    ~WorkerJob()
    {
        m_job->compress.handle = nullptr;
        if (m_library != nullptr) {
            dlclose(m_library);
        }
    }
    WorkerJob(const WorkerJob&) = delete;
    WorkerJob& operator=(const WorkerJob&) = delete;

    // The whole stream through the job; the job header's wall clock masked in its output.
    int Run(const std::string& bytes)
    {
        StreamFile stream(m_job.dir(), bytes);
        StderrCapture err(m_job.dir() / "err.txt");
        const int iResult = RunBackend(m_job.get(), stream.fd());
        m_log = err.Take();
        return iResult;
    }
    std::string Output() const { return std::regex_replace(m_job.Output(), std::regex("@DATE=[0-9/: ]*"), "@DATE="); }
    RenderJob& job() { return m_job; }
    const std::string& log() const { return m_log; }

private:
    RenderJob m_job;
    void* m_library = nullptr;
    std::string m_log;
};

TEST(JobWorkers, EveryWorkerCountPrintsTheSameStream)
{
    // Upright pages of many bands, and one wider than high, which is turned.
    const std::string stream = BusyPage(700, 1900) + BusyPage(1300, 500) + BusyPage(500, 1100);
    for (const char* pszModel : {"GM4150", "GC7350"}) {
        SCOPED_TRACE(pszModel);
        std::string alone;
        {
            WorkerJob job(pszModel, 0);
            ASSERT_EQ(job.Run(stream), 0) << job.log();
            alone = job.Output();
        }
        orvdecode::DecodedStream decoded =
            orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(alone.data()), alone.size());
        ASSERT_TRUE(decoded.ok()) << decoded.error->message;
        ASSERT_EQ(decoded.pages.size(), 3u);
        for (unsigned uWorkers : {1u, 2u, 3u, 8u}) {
            WorkerJob job(pszModel, uWorkers);
            ASSERT_EQ(job.Run(stream), 0) << job.log();
            EXPECT_TRUE(job.Output() == alone) << uWorkers << " workers";
        }
    }
}

// The workers live from the renderer's start to its end, and only for a library that may be called
// from several threads: one that promises nothing would leave them idle for the whole job.
TEST(JobWorkers, StartedWithTheRendererOnlyForALibraryThatMayBeCalledFromSeveralThreads)
{
    struct Case {
        const char* library;
        unsigned workers;  // started
    } cases[] = {{ORV_COMPRESS_LIB_PATH, 3}, {ORV_THREAD_LOGGING_COMPRESS, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library);
        const size_t before = ProcessThreads();
        WorkerJob job("GC7350", 3, c.library);
        ASSERT_EQ(InitRenderer(job.job().get()), -1);
        WorkerPool* workers = job.job()->pWorkers;
        EXPECT_EQ(workers == nullptr ? 0u : workers->Threads(), c.workers);
        EXPECT_EQ(ProcessThreads(), before + c.workers);
        FreeRenderer(job.job().get());
        EXPECT_EQ(job.job()->pWorkers, nullptr);
        EXPECT_EQ(ProcessThreads(), before);
    }
}

// The second page ends in the middle of its rows: the job fails as a broken stream does, prints the
// first page, and leaves no thread of its own behind.
TEST(JobWorkers, PageBrokenOffMidwayEndsWithTheWorkersJoined)
{
    for (const char* pszModel : {"GM4150", "GC7350"}) {
        SCOPED_TRACE(pszModel);
        const size_t before = ProcessThreads();
        WorkerJob job(pszModel, 4);
        const std::string whole = BusyPage(900, 2400);
        const std::string broken = whole.substr(0, whole.size() - static_cast<size_t>(900) * 3 * 700);
        EXPECT_EQ(job.Run(whole + broken), -1);
        EXPECT_EQ(job.job()->pWorkers, nullptr);
        EXPECT_EQ(job.job()->pPageEncoder, nullptr);
        EXPECT_EQ(ProcessThreads(), before);
        EXPECT_NE(job.log().find("Convert Bitmap Error!"), std::string::npos) << job.log();
        orvdecode::DecodedStream out = job.job().Decode();
        ASSERT_TRUE(out.ok()) << out.error->message;
        EXPECT_EQ(out.pages.size(), 1u);
    }
}

}  // namespace

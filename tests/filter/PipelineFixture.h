// A job set up as the parent process of the filter sets it up before it reads the stream: a sample
// model loaded and filled with its defaults, the model's colour-table file under a scratch install
// root, the package's compression library bound, and the output writer pointed at a scratch file.
// Streams are built by hand into a scratch file and read through its descriptor.
#pragma once

#include "JobFixture.h"
#include "core/model/SpcData.h"
#include "core/model/SpcQuery.h"
#include "core/settings/DevModeService.h"
#include "core/util/Descriptor.h"
#include "filter/frame/JobFraming.h"
#include "filter/frame/RendererSetup.h"
#include "filter/stream/PageBands.h"
#include "filter/stream/PageGeometry.h"
#include "filter/stream/PipeStream.h"
#include "filter/stream/StreamReader.h"
#include "support/ScratchDir.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace filtertest {

inline std::string Le32(uint32_t v)
{
    std::string s;
    for (int i = 0; i < 4; ++i) {
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    return s;
}

// A settings record as it travels on the stream, its header built from the layout: "DM", the
// header size 14 as a little-endian u32, 8 zero bytes, then the record's bytes.
inline std::string SettingsRecordBytes(const DRVDEVMODE& record)
{
    std::string s = "DM" + Le32(14) + std::string(8, '\0');
    s.append(reinterpret_cast<const char*>(&record), sizeof record);
    return s;
}

// A P6 page of width x height, white, with black rectangles [x0, x1) x [y0, y1).
struct BlackRect {
    int x0, y0, x1, y1;
};
inline std::string PpmPage(int width, int height, const std::vector<BlackRect>& rects, const std::string& header = "")
{
    std::string s = header.empty()
                        ? "P6\n# hand-built\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n"
                        : header;
    std::string raster(static_cast<size_t>(width) * height * 3, '\xFF');
    for (const BlackRect& r : rects) {
        for (int y = r.y0; y < r.y1; ++y) {
            for (int x = r.x0; x < r.x1; ++x) {
                for (int c = 0; c < 3; ++c) {
                    raster[(static_cast<size_t>(y) * width + x) * 3 + c] = '\0';
                }
            }
        }
    }
    return s + raster;
}

// A descriptor reading the given bytes from a scratch file.
class StreamFile {
public:
    StreamFile(const orvtest::ScratchDir& dir, const std::string& bytes)
    {
        std::string path = dir.WriteFile("stream-" + std::to_string(++Counter()) + ".bin", bytes);
        m_fd = open(path.c_str(), O_RDONLY);
        EXPECT_GE(m_fd, 0);
    }
    ~StreamFile()
    {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    StreamFile(const StreamFile&) = delete;
    StreamFile& operator=(const StreamFile&) = delete;
    int fd() const { return m_fd; }

private:
    static int& Counter()
    {
        static int n = 0;
        return n;
    }
    int m_fd = -1;
};

// A descriptor reading the given bytes from a pipe, as the parent reads the child's stream: a thread
// writes them in pieces of cbPiece bytes (short reads wherever a piece ends, pieces larger than
// the pipe blocking the writer), then closes its end. A reader that stops early leaves the writer
// failing on the closed pipe, not blocked.
class StreamPipe {
public:
    StreamPipe(std::string bytes, size_t cbPiece) : m_bytes(std::move(bytes))
    {
        int fds[2] = {-1, -1};
        EXPECT_EQ(pipe(fds), 0);
        m_fd = fds[0];
        m_writer = std::thread([this, fdWrite = fds[1], cbPiece] {
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            for (size_t at = 0; at < m_bytes.size(); at += cbPiece) {
                const size_t n = m_bytes.size() - at < cbPiece ? m_bytes.size() - at : cbPiece;
                if (WriteAll(fdWrite, m_bytes.data() + at, n) != 0) {
                    break;
                }
            }
            close(fdWrite);
        });
    }
    ~StreamPipe()
    {
        close(m_fd);
        m_writer.join();
    }
    StreamPipe(const StreamPipe&) = delete;
    StreamPipe& operator=(const StreamPipe&) = delete;
    int fd() const { return m_fd; }

private:
    std::string m_bytes;
    int m_fd = -1;
    std::thread m_writer;
};

// The parent's job over a sample model ("GM4150" monochrome, "GC7350" colour).
class RenderJob {
public:
    explicit RenderJob(const std::string& model) : m_root(m_dir.path() + "/root")
    {
        std::string data = m_dir.path() + "/root/usr/local/share/orvalen/printer/data/";
        std::filesystem::create_directories(data);
        std::filesystem::copy_file(std::string(ORV_COLOR_TABLE_DIR) + "/L_" + model, data + "L_" + model);
        m_job->pSpcData = orvtest::LoadSampleModel(model).release();
        EXPECT_NE(m_job->pSpcData, nullptr) << model;
        m_job->devmode.dm.dmSize = kDevmodePublicSize;
        m_job->devmode.dm.dmDriverExtra = kDevmodePrivateSize;
        EXPECT_EQ(SpcDevmodeService(m_job->pSpcData, nullptr, &m_job->devmode, DEVMODE_SERVICE_DEFAULTS), 0u);
        m_job->iBandHeight = BandHeight();
        m_compress = dlopen(ORV_COMPRESS_LIB_PATH, RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(m_compress, nullptr);
        if (m_compress != nullptr) {
            m_job->compress.COMPRESS = reinterpret_cast<PFNCOMPRESS>(dlsym(m_compress, "COMPRESS"));
        }
        m_output = std::make_unique<OutputCapture>(m_job, m_dir / "out.bin");
    }
    ~RenderJob()
    {
        FreeRenderer(m_job.get());
        m_output.reset();
        if (m_compress != nullptr) {
            dlclose(m_compress);
        }
    }

    tagJOBINFO* get() { return m_job.get(); }
    tagJOBINFO* operator->() { return m_job.get(); }
    FilterHooks& hooks() { return m_job.hooks(); }
    DRVDEVMODE& settings() { return m_job->devmode; }
    const orvtest::ScratchDir& dir() const { return m_dir; }
    std::string Output() const { return m_output->Bytes(); }
    orvdecode::DecodedStream Decode() const
    {
        std::string bytes = Output();
        return orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

private:
    // Capability 77 view 3, signed 16 bits at byte 4, as the job context reads it.
    int BandHeight()
    {
        BYTE record[8] = {};
        DWORD cb = sizeof record;
        if (SpcQuery(m_job->pSpcData, SPCID_RENDERPARAMS, 0, 3, record, &cb, nullptr) != ERROR_SUCCESS) {
            return 512;
        }
        SHORT s;
        std::memcpy(&s, record + 4, sizeof s);
        return s > 0 ? s : 512;
    }

    orvtest::ScratchDir m_dir;
    orvtest::ScopedInstallRoot m_root;
    TestJob m_job;
    void* m_compress = nullptr;
    std::unique_ptr<OutputCapture> m_output;
};

}  // namespace filtertest

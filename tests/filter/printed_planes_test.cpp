// The sample documents printed by the filter program as CUPS runs it, against Ghostscript's own
// rendering of the same document: the gs program renders every page to ppmraw at the job's
// resolution, each page is placed on the printable area of the model's paper (turned for a page
// laid out wide) and screened whole, in one band, by the reference screening over a renderer set
// up here from the job's settings; the filter's decoded planes must equal it bit for bit.
#include "FilterInstall.h"

#include "core/InstallPaths.h"
#include "filter/job/JobContext.h"
#include "filter/stream/PageGeometry.h"
#include "filter/frame/RendererSetup.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/Renderer.h"
#include "filter/render/screen/ScreenReference.h"
#include "filter/render/screen/Screening.h"
#include "support/ScopedEnv.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

using filtertest::FilterInstall;
using filtertest::FilterRun;
using filtertest::RunFilterProgram;

namespace {

const std::string kSamples = ORV_FILTER_SAMPLE_DIR;

struct JobDeleter {
    void operator()(tagJOBINFO* p) const { FreeJobInfo(p); }
};
using JobPtr = std::unique_ptr<tagJOBINFO, JobDeleter>;

// One page of Ghostscript's rendering: RGB, 3 bytes a pixel, rows unpadded.
struct RgbPage {
    long width = 0, height = 0;
    std::string rgb;
};

// Reads the P6 pages Ghostscript wrote one after the other into one file (each header may hold
// comment lines).
std::vector<RgbPage> ReadPpmPages(const std::string& bytes)
{
    std::vector<RgbPage> pages;
    size_t at = 0;
    while (at + 2 < bytes.size() && bytes.compare(at, 2, "P6") == 0) {
        at += 2;
        long fields[3] = {};
        for (long& field : fields) {
            while (at < bytes.size() && (std::isspace(static_cast<unsigned char>(bytes[at])) || bytes[at] == '#')) {
                if (bytes[at] == '#') {
                    at = bytes.find('\n', at);
                }
                if (at != std::string::npos) {
                    ++at;
                }
            }
            while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at]))) {
                field = field * 10 + (bytes[at++] - '0');
            }
        }
        ++at;  // the one separator after the maximum value
        RgbPage page{fields[0], fields[1], {}};
        const size_t size = static_cast<size_t>(page.width) * static_cast<size_t>(page.height) * 3;
        if (fields[2] != 255 || page.width <= 0 || page.height <= 0 || at + size > bytes.size()) {
            break;
        }
        page.rgb = bytes.substr(at, size);
        pages.push_back(std::move(page));
        at += size;
    }
    return pages;
}

// A file's bytes in one read: Ghostscript's pages are some 100 MB a document.
std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(in ? static_cast<size_t>(in.tellg()) : 0, '\0');
    in.seekg(0);
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    return in ? bytes : std::string();
}

// Ghostscript run as a program on the document at the resolution the job renders at.
std::vector<RgbPage> RenderWithGhostscript(const orvtest::ScratchDir& dir, const std::string& document, int xDpi,
                                           int yDpi)
{
    const std::string out = dir / "gs-pages.ppm";
    const std::string cmd = std::string(ORV_GS_PROGRAM) + " -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r" +
                            std::to_string(xDpi) + "x" + std::to_string(yDpi) + " -sOutputFile=" + out + " " +
                            document + " > /dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return ReadPpmPages(ReadWholeFile(out));
}

// The page as the printer's page takes it: rows padded to 4 bytes, turned by 90 degrees for a page
// wider than high so that the page's left edge becomes the bottom edge.
std::vector<BYTE> PageBand(const RgbPage& page, bool turn, long* bandWidth, long* bandRows)
{
    *bandWidth = turn ? page.height : page.width;
    *bandRows = turn ? page.width : page.height;
    const size_t stride = (static_cast<size_t>(*bandWidth) * 3 + 3) & ~static_cast<size_t>(3);
    std::vector<BYTE> band(stride * static_cast<size_t>(*bandRows), 0xFF);
    const size_t rowBytes = static_cast<size_t>(page.width) * 3;
    for (long y = 0; y < page.height; ++y) {
        const char* source = &page.rgb[static_cast<size_t>(y) * rowBytes];
        if (!turn) {
            std::memcpy(&band[static_cast<size_t>(y) * stride], source, rowBytes);
            continue;
        }
        // Pixel (x, y) goes to row (width - 1 - x), pixel y.
        for (long x = 0; x < page.width; ++x) {
            std::memcpy(&band[static_cast<size_t>(page.width - 1 - x) * stride + static_cast<size_t>(y) * 3],
                        source + static_cast<size_t>(x) * 3, 3);
        }
    }
    return band;
}

// A renderer of the job's settings and model, set up for one page and screening by the reference.
class ReferenceScreen {
public:
    explicit ReferenceScreen(tagJOBINFO* pJob) : m_settings(pJob->devmode)
    {
        m_options.pModelData = pJob->pSpcData;
        m_dataDir = orv::InstalledPath(orv::kModelDataDir);
        m_options.pszDataDir = m_dataDir.c_str();
        char name[kColorTableRecordSize];
        EXPECT_EQ(GetColorTableName(pJob->pSpcData, name, 200), -1);
        std::snprintf(m_options.szColorTableName, sizeof m_options.szColorTableName, "L_%s", name);
        m_context = RendererCreate(nullptr, &m_settings, &m_options);
        EXPECT_NE(m_context, nullptr);
    }
    ~ReferenceScreen()
    {
        if (m_options.pPageBitmap != nullptr) {
            FreePageBitmap(m_options.pPageBitmap);
        }
        RendererFree(m_context);
    }
    ReferenceScreen(const ReferenceScreen&) = delete;
    ReferenceScreen& operator=(const ReferenceScreen&) = delete;

    // The page's bitmap: tables and matrices of the page, then the whole band placed at (x, y).
    const tagPAGEBITMAP* Screen(long pageWidth, long pageHeight, const std::vector<BYTE>& band, long bandWidth,
                                long bandRows, long x, long y)
    {
        if (m_context == nullptr) {
            return nullptr;
        }
        m_options.dwPageWidth = static_cast<DWORD>(pageWidth);
        m_options.dwPageHeight = static_cast<DWORD>(pageHeight);
        EXPECT_NE(RendererSetupColorTables(&m_settings, m_context, &m_options), 0);
        EXPECT_NE(RendererSetupDitherMatrices(&m_settings, m_context, &m_options), 0);
        EXPECT_NE(AllocPageBitmap(m_options.dwPageWidth, m_options.dwPageHeight, &m_settings, m_context, &m_options),
                  0);
        tagPAGEBITMAP* bitmap = m_options.pPageBitmap;
        if (bitmap == nullptr) {
            return nullptr;
        }
        const auto screen = m_settings.priv.dmColor == 1 ? ScreenBandMonoReference : ScreenBandColorReference;
        DWORD ink = 0;
        EXPECT_NE(screen(PackPair(bandWidth, bandRows), PackPair(pageWidth, pageHeight), PackPair(x, y), band.data(),
                         &m_settings, m_context, &m_options, bitmap, &ink),
                  0);
        return bitmap;
    }

    // The model's band width multiple, as the renderer read it (8 when the model does not say).
    long BandWidthMultiple() const
    {
        return m_context != nullptr && m_context->lBandWidthMultiple > 0 ? m_context->lBandWidthMultiple : 8;
    }

private:
    DRVDEVMODE m_settings;
    tagRENDEROPTIONS m_options{};
    std::string m_dataDir;
    tagRENDERCONTEXT* m_context = nullptr;
};

// How a decoded plane differs from the reference plane: the count of differing bytes and the first.
std::string PlaneDifference(const std::vector<uint8_t>& printed, const BYTE* reference, size_t rowBytes, size_t rows)
{
    size_t count = 0, first = 0;
    for (size_t i = 0; i < rowBytes * rows && i < printed.size(); ++i) {
        if (printed[i] != reference[i] && count++ == 0) {
            first = i;
        }
    }
    if (count == 0 && printed.size() == rowBytes * rows) {
        return "";
    }
    return std::to_string(count) + " of " + std::to_string(rowBytes * rows) + " bytes differ, the first at row " +
           std::to_string(first / rowBytes) + " byte " + std::to_string(first % rowBytes);
}

class PrintedPlanes : public ::testing::Test {
protected:
    static void SetUpTestSuite() { filtertest::PinJobLibraries(); }
    // The job's context as the filter builds it from the same arguments and environment.
    JobPtr Context(const std::vector<std::string>& args, const std::map<std::string, std::string>& env)
    {
        std::list<orvtest::ScopedEnv> set;
        for (const auto& [name, value] : env) {
            set.emplace_back(name.c_str(), value);
        }
        std::vector<std::string> copy = args;
        std::vector<char*> argv;
        for (std::string& a : copy) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        return JobPtr(CreateJobInfo(static_cast<int>(copy.size()), argv.data()));
    }

    FilterInstall m_install;
};

TEST_F(PrintedPlanes, DecodedPlanesEqualGhostscriptsRenderingScreenedByTheReference)
{
    struct Case {
        const char* pszModel;
        const char* pszDocument;
        const char* pszOptions;
        size_t nPages;   // pages of the document
        size_t nSheets;  // pages printed: a two-sided job ends on a whole sheet
        bool bWide;      // laid out wider than high: turned onto the portrait page
    } cases[] = {
        {"GM4150", "one-page-a4.ps", "", 1, 1, false},
        {"GM4150", "two-pages-letter.ps", "PageSize=Letter", 2, 2, false},
        // A one-sided job on these queues goes through the page pass, which keeps every page on the
        // queue's paper; a two-sided one on the monochrome model does not, so its wide page is turned.
        {"GM4150", "landscape-a4.ps", "Duplex=DuplexNoTumble", 1, 2, true},
        {"GC7350", "colour-a4.ps", "", 1, 1, false},
        {"GC7350", "two-pages-letter.ps", "PageSize=Letter", 2, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszModel) + " " + c.pszDocument);
        const std::string document = kSamples + c.pszDocument;
        const std::vector<std::string> args = {"gdi-filter", "42", "alice", "sample", "1", c.pszOptions, document};
        const std::map<std::string, std::string> env = m_install.QueueEnv(FilterInstall::SamplePpd(c.pszModel));
        FilterRun run = RunFilterProgram(args, env);
        ASSERT_EQ(run.iStatus, 0) << run.stderrText;
        orvdecode::DecodedStream printed =
            orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(run.stdoutBytes.data()), run.stdoutBytes.size());
        ASSERT_TRUE(printed.ok()) << printed.error->message;
        ASSERT_EQ(printed.pages.size(), c.nSheets);

        JobPtr job = Context(args, env);
        ASSERT_NE(job, nullptr);
        const DRVDEVMODE& settings = job->devmode;
        std::vector<RgbPage> rendered =
            RenderWithGhostscript(m_install.root(), document, settings.dm.dmPrintQuality, settings.dm.dmYResolution);
        ASSERT_EQ(rendered.size(), c.nPages);

        ReferenceScreen reference(job.get());
        for (size_t n = 0; n < c.nPages; ++n) {
            SCOPED_TRACE("page " + std::to_string(n + 1));
            const RgbPage& page = rendered[n];
            ASSERT_EQ(page.width > page.height, c.bWide);
            tagPAGEGEOMETRY geometry{};
            ASSERT_EQ(GetPageGeometry(job.get(), settings.dm.dmPaperSize, c.bWide ? 2 : 1, &geometry), -1);
            // The printer's page is the printable area, its width down to the model's band multiple.
            const long multiple = reference.BandWidthMultiple();
            const long across = c.bWide ? geometry.lPrintableHeight : geometry.lPrintableWidth;
            const long pageWidth = across / multiple * multiple;
            const long pageHeight = c.bWide ? geometry.lPrintableWidth : geometry.lPrintableHeight;
            long bandWidth = 0, bandRows = 0;
            std::vector<BYTE> band = PageBand(page, c.bWide, &bandWidth, &bandRows);
            // PostScript draws up from the sheet's bottom edge: a page rendered a row taller than the
            // sheet (the page height rounded to whole rows) has the extra row at its top, so the page
            // stands on the sheet's bottom edge. A turned page has its first row at the top margin.
            long top = -geometry.lTopOffset;
            if (!c.bWide && page.height > geometry.lPaperHeight) {
                top += geometry.lPaperHeight - page.height;
            }
            const tagPAGEBITMAP* expected =
                reference.Screen(pageWidth, pageHeight, band, bandWidth, bandRows, -geometry.lLeftOffset, top);
            ASSERT_NE(expected, nullptr);

            const orvdecode::DecodedPage& got = printed.pages[n];
            ASSERT_EQ(got.width, expected->dwWidth);
            ASSERT_EQ(got.height, expected->dwHeight);
            ASSERT_EQ(got.IsColour(), expected->dwPlanes == 4);
            // Bitmap planes are cyan, magenta, yellow, black; decoded planes black, cyan, magenta, yellow.
            for (DWORD p = 0; p < expected->dwPlanes; ++p) {
                const int decodedPlane = expected->dwPlanes == 1 ? 0 : static_cast<int>((p + 1) % 4);
                ASSERT_TRUE(got.planes[decodedPlane].has_value());
                EXPECT_EQ(PlaneDifference(*got.planes[decodedPlane], expected->pBits + p * PagePlaneBytes(expected),
                                          expected->cbRowBytes, expected->dwHeight),
                          "")
                    << "plane " << orvdecode::PlaneName(static_cast<uint16_t>(decodedPlane));
            }
        }
        for (size_t n = c.nPages; n < c.nSheets; ++n) {
            for (const auto& plane : printed.pages[n].planes) {
                if (!plane) {
                    continue;
                }
                EXPECT_EQ(std::count(plane->begin(), plane->end(), 0), static_cast<long>(plane->size()))
                    << "the back of the last sheet is blank";
            }
        }
    }
}

}  // namespace

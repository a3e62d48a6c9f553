// A page-pass run for tests: a job context over the real libcups with a sample queue PPD and the
// sample model, a PostScript document written to a scratch file, the pass's PostScript captured,
// the settings records it sends read back from their own file, and Ghostscript's bounding-box
// device run on the result to see how many pages come out and where their ink lies.
#pragma once

#include "core/binding/CupsLibrary.h"
#include "core/model/SpcData.h"
#include "filter/pagepass/PageLayoutBooklet.h"
#include "filter/pagepass/PageLayoutPoster.h"
#include "filter/pagepass/PageLayoutTransform.h"
#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassIo.h"
#include "filter/pagepass/PagePassRun.h"
#include "filter/pagepass/PagePassSections.h"
#include "filter/pagepass/PagePassSetup.h"
#include "filter/pagepass/PagePassStore.h"
#include "support/ModelFiles.h"
#include "support/RealCups.h"
#include "support/ScratchDir.h"
#include "support/StderrCapture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace pagepasstest {

using orvtest::RealCups;

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline int CaptureFeed(void* context, const char* text, size_t length)
{
    static_cast<std::string*>(context)->append(text, length);
    return -1;
}

// One marked page's ink in points, as Ghostscript's bounding-box device reports it.
struct InkBox {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Blank() const { return x1 <= x0 || y1 <= y0; }
};

// One settings record as the parent's reader sees it on the pipe, read from the bytes by the
// header's layout (not through the writer's own types).
struct PipeRecord {
    bool headerOk = false;
    DRVDEVMODE devmode{};
};

inline std::vector<PipeRecord> ParsePipe(const std::string& bytes, size_t* trailing)
{
    std::vector<PipeRecord> records;
    size_t at = 0;
    while (bytes.size() - at >= 14 + 1232) {
        PipeRecord r;
        const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        r.headerOk = b[0] == 'D' && b[1] == 'M' && b[2] == 14 && b[3] == 0 && b[4] == 0 && b[5] == 0;
        for (int i = 6; i < 14; ++i) {
            r.headerOk = r.headerOk && b[i] == 0;
        }
        std::memcpy(&r.devmode, b + 14, 1232);
        records.push_back(r);
        at += 14 + 1232;
    }
    *trailing = bytes.size() - at;
    return records;
}

// A raw PNM image as Ghostscript writes it (P5 or P6, comment lines allowed, maxval 255).
struct Pnm {
    int width = 0, height = 0, channels = 0;
    std::string pixels;
};

inline Pnm ReadPnm(const std::string& path)
{
    Pnm image;
    const std::string bytes = ReadAll(path);
    if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '5' && bytes[1] != '6')) {
        return image;
    }
    const int channels = bytes[1] == '6' ? 3 : 1;
    size_t at = 2;
    long fields[3] = {};
    for (long& field : fields) {
        while (at < bytes.size() && (std::isspace(static_cast<unsigned char>(bytes[at])) || bytes[at] == '#')) {
            if (bytes[at] == '#') {
                while (at < bytes.size() && bytes[at] != '\n') {
                    ++at;
                }
            } else {
                ++at;
            }
        }
        while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at]))) {
            field = field * 10 + (bytes[at++] - '0');
        }
    }
    ++at;  // the one separator before the raster
    const size_t size = static_cast<size_t>(fields[0]) * static_cast<size_t>(fields[1]) * channels;
    if (fields[2] != 255 || at + size > bytes.size()) {
        return image;
    }
    image.width = static_cast<int>(fields[0]);
    image.height = static_cast<int>(fields[1]);
    image.channels = channels;
    image.pixels = bytes.substr(at, size);
    return image;
}

// Ink of a gray page rendered at 72 dpi (one pixel per point) inside a region given in PostScript
// points (origin bottom left); the box is in the same points.
inline InkBox InkIn(const Pnm& page, double x0 = 0, double y0 = 0, double x1 = 1e9, double y1 = 1e9)
{
    InkBox box;
    bool any = false;
    for (int row = 0; row < page.height; ++row) {
        const double y = page.height - row - 0.5;
        if (y < y0 || y > y1) {
            continue;
        }
        for (int col = 0; col < page.width; ++col) {
            const double x = col + 0.5;
            if (x < x0 || x > x1) {
                continue;
            }
            if (static_cast<unsigned char>(page.pixels[static_cast<size_t>(row) * page.width + col]) > 127) {
                continue;
            }
            if (!any) {
                box = InkBox{static_cast<double>(col), static_cast<double>(page.height - row - 1),
                             static_cast<double>(col + 1), static_cast<double>(page.height - row)};
                any = true;
            }
            box.x0 = std::min(box.x0, static_cast<double>(col));
            box.x1 = std::max(box.x1, static_cast<double>(col + 1));
            box.y0 = std::min(box.y0, static_cast<double>(page.height - row - 1));
            box.y1 = std::max(box.y1, static_cast<double>(page.height - row));
        }
    }
    return box;
}

class PagePassRun {
public:
    // ppdName: a sample queue PPD ("GM4150.ppd"); model: a sample model ("GM4150").
    explicit PagePassRun(const std::string& ppdName = "GM4150.ppd", const std::string& model = "GM4150")
    {
        m_job = static_cast<tagJOBINFO*>(std::calloc(1, sizeof(tagJOBINFO)));
        m_job->cups = RealCups();
        EXPECT_NE(m_job->cups.handle, nullptr);
        m_job->ppd = m_job->cups.ppdOpenFile((std::string(ORV_SAMPLE_PPD_DIR) + "/" + ppdName).c_str());
        EXPECT_NE(m_job->ppd, nullptr) << ppdName;
        if (m_job->ppd != nullptr) {
            m_job->cups.ppdMarkDefaults(m_job->ppd);
        }
        m_job->pSpcData = orvtest::LoadSampleModel(model).release();
        EXPECT_NE(m_job->pSpcData, nullptr) << model;
        DRVDEVMODE& d = m_job->devmode;
        d.dm.dmSize = kDevmodePublicSize;
        d.dm.dmDriverExtra = kDevmodePrivateSize;
        d.priv.dwPrivDATA = kDevmodeSignature;
        d.dm.dmCopies = 1;
        d.dm.dmDuplex = 1;
        d.dm.dmCollate = 0;
        d.priv.dmUnitOfLayout = 72;
    }
    ~PagePassRun()
    {
        if (m_job->ppd != nullptr) {
            m_job->cups.ppdClose(m_job->ppd);
        }
        if (m_job->pOptions != nullptr) {
            m_job->cups.cupsFreeOptions(m_job->iOptionCount, m_job->pOptions);
        }
        std::free(m_job->pSpcData);
        std::free(m_job);
    }
    PagePassRun(const PagePassRun&) = delete;
    PagePassRun& operator=(const PagePassRun&) = delete;

    tagJOBINFO* job() { return m_job; }
    DEVMODE& dm() { return m_job->devmode.dm; }
    PRIVDM& priv() { return m_job->devmode.priv; }
    const orvtest::ScratchDir& dir() const { return m_dir; }

    void MarkOption(const char* name, const char* value) { m_job->cups.ppdMarkOption(m_job->ppd, name, value); }
    void AddJobOption(const char* name, const char* value)
    {
        m_job->iOptionCount = m_job->cups.cupsAddOption(name, value, m_job->iOptionCount, &m_job->pOptions);
    }

    // Runs the pass over the document; returns its result. Output in ps(), records in records(),
    // the log in log().
    int Run(const std::string& document)
    {
        const std::string path = m_dir.WriteFile("in.ps", document);
        cups_file_t* in = m_job->cups.cupsFileOpen(path.c_str(), "r");
        EXPECT_NE(in, nullptr);
        m_job->input = in;
        char line[kDocLineSize];
        const int length = static_cast<int>(m_job->cups.cupsFileGetLine(in, line, sizeof line));

        const std::string pipePath = m_dir / "pipe.bin";
        const int fd = open(pipePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        EXPECT_GE(fd, 0);
        m_ps.clear();
        tagPAGEPASSIO io{in, CaptureFeed, &m_ps, fd};

        orvtest::StderrCapture log(m_dir / "log.txt");
        const int result = RunPagePass(m_job, &io, line, length, sizeof line);
        m_log = log.Take();

        close(fd);
        m_job->cups.cupsFileClose(in);
        m_job->input = nullptr;
        size_t trailing = 0;
        m_records = ParsePipe(ReadAll(pipePath), &trailing);
        EXPECT_EQ(trailing, 0u) << "the pipe holds only whole settings records";
        return result;
    }

    const std::string& ps() const { return m_ps; }
    const std::string& log() const { return m_log; }
    const std::vector<PipeRecord>& records() const { return m_records; }

    // Runs Ghostscript's bounding-box device over the rewritten PostScript on a fixed page of the
    // given size: one box per page shown.
    std::vector<InkBox> Render(int pageWidth = 595, int pageHeight = 842) const
    {
        return RenderText(m_ps, pageWidth, pageHeight);
    }

    std::vector<InkBox> RenderText(const std::string& text, int pageWidth = 595, int pageHeight = 842) const
    {
        const std::string path = m_dir.WriteFile("render.ps", text);
        std::ostringstream cmd;
        cmd << "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox -dFIXEDMEDIA -dDEVICEWIDTHPOINTS=" << pageWidth
            << " -dDEVICEHEIGHTPOINTS=" << pageHeight << " " << path << " 2>&1";
        std::vector<InkBox> boxes;
        FILE* p = popen(cmd.str().c_str(), "r");
        if (p == nullptr) {
            return boxes;
        }
        char buffer[512];
        while (fgets(buffer, sizeof buffer, p) != nullptr) {
            InkBox box;
            if (std::sscanf(buffer, "%%%%HiResBoundingBox: %lf %lf %lf %lf", &box.x0, &box.y0, &box.x1, &box.y1) == 4) {
                boxes.push_back(box);
            }
        }
        m_gsStatus = pclose(p);
        return boxes;
    }
    int GsStatus() const { return m_gsStatus; }

    // The rewritten PostScript rendered to gray pages at 72 dpi on a fixed page of the given size.
    std::vector<Pnm> RenderGray(int pageWidth = 595, int pageHeight = 842) const
    {
        const std::string path = m_dir.WriteFile("gray.ps", m_ps);
        const std::string pattern = m_dir / "gray-%03d.pgm";
        std::ostringstream cmd;
        cmd << "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r72 -dFIXEDMEDIA -dDEVICEWIDTHPOINTS=" << pageWidth
            << " -dDEVICEHEIGHTPOINTS=" << pageHeight << " -sOutputFile=" << pattern << " " << path
            << " >/dev/null 2>&1";
        std::vector<Pnm> pages;
        if (std::system(cmd.str().c_str()) != 0) {
            return pages;
        }
        for (int i = 1;; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "gray-%03d.pgm", i);
            const std::string file = m_dir / name;
            if (access(file.c_str(), R_OK) != 0) {
                break;
            }
            pages.push_back(ReadPnm(file));
            unlink(file.c_str());
        }
        return pages;
    }

private:
    orvtest::ScratchDir m_dir;
    tagJOBINFO* m_job = nullptr;
    std::string m_ps;
    std::string m_log;
    std::vector<PipeRecord> m_records;
    mutable int m_gsStatus = 0;
};

// Counts the occurrences of a text.
inline int CountOf(const std::string& haystack, const std::string& needle)
{
    int count = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

// A DSC document of n pages; page k (from 1) fills a 40-point wide box whose height is 20 * k
// points with its lower left corner at (100, 100), so that the ink tells which page landed where.
inline std::string MarkedDocument(int pages, const std::string& extraComments = "", const std::string& setup = "")
{
    std::ostringstream ps;
    ps << "%!PS-Adobe-3.0\n%%Creator: page pass test\n%%Pages: " << pages << "\n"
       << extraComments
       << "%%EndComments\n%%BeginProlog\n/box { newpath 100 100 moveto 40 0 rlineto 0 exch rlineto -40 0 rlineto "
          "closepath fill } bind def\n%%EndProlog\n%%BeginSetup\n"
       << setup << "%%EndSetup\n";
    for (int k = 1; k <= pages; ++k) {
        ps << "%%Page: " << k << " " << k << "\n%%PageBoundingBox: 100 100 140 " << 100 + 20 * k << "\nsave\n"
           << 20 * k << " box\nrestore\nshowpage\n";
    }
    ps << "%%Trailer\n%%Pages: " << pages << "\n%%EOF\n";
    return ps.str();
}

// The page number k of MarkedDocument from a box height (scaled back by the given factor).
inline int PageOfBox(const InkBox& box, double scale = 1.0)
{
    const double height = (box.y1 - box.y0) / scale;
    return static_cast<int>(height / 20.0 + 0.5);
}

}  // namespace pagepasstest

// Screens full A4 pages, monochrome and colour, at 600 and 1200 dpi, with three kinds of content
// (running text, a smooth colour image, a noisy colour image), through the reference and the fast
// screening, and prints the megapixels per second of both side by side. In the same run it
// compresses the fast path's planes with JBIG-KIT (jbg_enc_*, in bands of 512 rows as the page
// encoding cuts them) and prints that time beside the screening time.
//
// The pages are rendered by Ghostscript ("ppmraw") from PostScript that this program writes; the
// screening tables are a sample model's colour-table file, compiled at build time.
//
//   orv-screen-benchmark [--dpi 600,1200] [--content text,smooth,noisy] [--mode mono,colour]
//                        [--repeat N] [--gs PATH] [--tables FILE]
#include "core/settings/DevMode.h"
#include "filter/render/color/ColorTableFile.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"
#include "filter/render/screen/ScreenFast.h"
#include "filter/render/screen/ScreenReference.h"
#include "filter/render/screen/Screening.h"

#include "benchmarks/ModelBands.h"
#include "platform/compress/CompressParams.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kTextSpeedup = 10.0;   // fast path / reference on text, at least
constexpr double kImageSpeedup = 3.0;   // on images
constexpr double kScreenToCompress = 1.0;  // screening / compression of the planes, below

// ----- Pages ------------------------------------------------------------------------------------

// An A4 page of running text: a heading in colour and 11-point lines, as an office letter prints.
std::string TextPage()
{
    static const char* const kWords[] = {
        "printer", "driver",  "page",   "band",    "plane",   "raster", "compression", "the",   "of",
        "and",     "quality", "toner",  "duplex",  "paper",   "tray",   "settings",    "a",     "to",
        "is",      "colour",  "screen", "dither",  "job",     "queue",  "document",    "with",  "for",
        "report",  "figure",  "table",  "summary", "in",      "on",     "results",     "which", "meeting"};
    std::ostringstream ps;
    ps << "%!PS\n/Helvetica-Bold findfont 20 scalefont setfont 0.1 0.2 0.6 setrgbcolor\n"
          "56 780 moveto (Quarterly report: printing costs) show\n"
          "/Times-Roman findfont 11 scalefont setfont 0 setgray\n";
    unsigned seed = 12345;
    for (int y = 750; y > 60; y -= 14) {
        ps << "56 " << y << " moveto (";
        int length = 0;
        while (length < 90) {
            seed = seed * 1103515245u + 12345u;
            const char* w = kWords[(seed >> 16) % (sizeof(kWords) / sizeof(kWords[0]))];
            ps << w << ' ';
            length += static_cast<int>(std::strlen(w)) + 1;
        }
        ps << ") show\n";
    }
    ps << "showpage\n";
    return ps.str();
}

// A smooth colour image over the printable area: 128 x 180 samples of slow colour waves, drawn
// with interpolation, as a scaled photograph prints.
std::string SmoothPage()
{
    return "%!PS\n"
           "/W 128 def /H 180 def /data W H mul 3 mul string def\n"
           "0 1 H 1 sub { /y exch def 0 1 W 1 sub { /x exch def /i y W mul x add 3 mul def\n"
           "  data i x W div 255 mul cvi put\n"
           "  data i 1 add y H div 255 mul cvi put\n"
           "  data i 2 add x y add 4 mul sin 1 add 127 mul cvi put } for } for\n"
           "gsave 36 36 translate 523 770 scale /DeviceRGB setcolorspace\n"
           "<< /ImageType 1 /Width W /Height H /BitsPerComponent 8 /Decode [0 1 0 1 0 1]\n"
           "   /ImageMatrix [W 0 0 H neg 0 H] /DataSource data /Interpolate true >> image\n"
           "grestore showpage\n";
}

// A noisy colour image over the printable area: independent random samples at 300 per inch, as a
// grainy scan prints. Rows are slices of one random table at ever other offsets.
std::string NoisyPage()
{
    return "%!PS\n"
           "/W 2179 def /H 3208 def /N 32768 def\n"
           "/T 3 W mul N add string def /seed 4711 def\n"
           "0 1 T length 1 sub { T exch /seed seed 75 mul 74 add 65537 mod def seed 255 and put } for\n"
           "/off 0 def\n"
           "gsave 36 36 translate 523 770 scale\n"
           "W H 8 [W 0 0 H neg 0 H] { T off 3 W mul getinterval /off off 23757 add N mod def }\n"
           "false 3 colorimage grestore showpage\n";
}

struct Page {
    int width = 0, height = 0;
    size_t stride = 0;  // rows padded to 4 bytes, as the filter passes them
    std::vector<BYTE> rgb;
};

bool ReadNumber(FILE* in, int* value)
{
    int c = std::fgetc(in);
    while (c == '#' || c == ' ' || c == '\n' || c == '\r' || c == '\t') {
        if (c == '#') {
            while (c != '\n' && c != EOF) {
                c = std::fgetc(in);
            }
        }
        c = std::fgetc(in);
    }
    long v = 0;
    bool any = false;
    while (c >= '0' && c <= '9') {
        v = v * 10 + (c - '0');
        any = true;
        if (v > 1000000) {
            return false;
        }
        c = std::fgetc(in);
    }
    *value = static_cast<int>(v);
    return any;  // the separator after the number is consumed
}

bool Render(const std::string& gs, const std::string& postscript, int dpi, Page* page)
{
    char path[] = "/tmp/orv-screen-benchmark-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        return false;
    }
    const bool written = write(fd, postscript.data(), postscript.size()) == static_cast<ssize_t>(postscript.size());
    close(fd);
    bool ok = false;
    if (written) {
        const std::string command = gs + " -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -sPAPERSIZE=a4 -dFIXEDMEDIA -r" +
                                    std::to_string(dpi) + " -sOutputFile=- " + path;
        FILE* in = popen(command.c_str(), "r");
        if (in != nullptr) {
            int maxval = 0;
            if (std::fgetc(in) == 'P' && std::fgetc(in) == '6' && ReadNumber(in, &page->width) &&
                ReadNumber(in, &page->height) && ReadNumber(in, &maxval) && maxval == 255) {
                page->stride = (3 * static_cast<size_t>(page->width) + 3) & ~static_cast<size_t>(3);
                page->rgb.assign(page->stride * page->height, 255);
                ok = true;
                for (int y = 0; y < page->height && ok; ++y) {
                    ok = std::fread(&page->rgb[y * page->stride], 3, page->width, in) ==
                         static_cast<size_t>(page->width);
                }
            }
            ok = pclose(in) == 0 && ok;
        }
    }
    unlink(path);
    return ok;
}

// ----- Tables -----------------------------------------------------------------------------------

class ScreenSetup {
public:
    // The page's tables come from a sample model's colour-table file, looked up as the filter does
    // for the default colour mode, plain paper and the default quality.
    ScreenSetup(bool mono, const Page& page, int dpi, const std::string& tableFile)
    {
        m_settings.dm.dmSize = kDevmodePublicSize;
        m_settings.dm.dmDriverExtra = kDevmodePrivateSize;
        m_settings.dm.dmPrintQuality = static_cast<SHORT>(dpi);
        m_settings.priv.dmColor = mono ? 1 : 2;
        m_settings.priv.dmQuality = 2;
        m_context = static_cast<tagRENDERCONTEXT*>(std::calloc(1, sizeof(tagRENDERCONTEXT)));
        m_context->lResMultiplierX = m_context->lResMultiplierY = 1;
        m_context->pColorCache =
            static_cast<tagCOLORCACHEENTRY*>(std::calloc(COLOR_CACHE_ENTRIES, sizeof(tagCOLORCACHEENTRY)));
        const size_t slash = tableFile.rfind('/');
        const std::string dir = slash == std::string::npos ? "" : tableFile.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? tableFile : tableFile.substr(slash + 1);
        m_context->pColorTable = ReadColorTableFile(dir.c_str(), name.c_str());
        m_options.dwLangType = LANGTYPE_GDI;
        m_options.dwPageWidth = static_cast<DWORD>(page.width);
        m_options.dwPageHeight = static_cast<DWORD>(page.height);
        m_ok = m_context->pColorTable != nullptr &&
               RendererSetupColorTables(&m_settings, m_context, &m_options) == 1 &&
               RendererSetupDitherMatrices(&m_settings, m_context, &m_options) == FLAG_TRUE &&
               AllocPageBitmap(m_options.dwPageWidth, m_options.dwPageHeight, &m_settings, m_context, &m_options) ==
                   FLAG_TRUE;
    }
    ~ScreenSetup()
    {
        FreePageBitmap(m_options.pPageBitmap);
        RendererFree(m_context);
    }
    ScreenSetup(const ScreenSetup&) = delete;
    ScreenSetup& operator=(const ScreenSetup&) = delete;

    bool ok() const { return m_ok; }
    tagPAGEBITMAP* bitmap() { return m_options.pPageBitmap; }
    size_t bitmapBytes() { return PagePlaneBytes(bitmap()) * bitmap()->dwPlanes; }

    // One page as the filter screens it: the page's colour set-up clears the bitmap and the cache,
    // then every band of the model's height. The filter reads each band from Ghostscript's pipe
    // into its band buffer and screens it at once, so each band is copied into one band buffer
    // first; only the screening is timed. `bandSeconds`, when given, gets each band's time.
    double ScreenPage(const Page& page, bool reference, int bandRows, std::vector<double>* bandSeconds = nullptr)
    {
        if (bandSeconds != nullptr) {
            bandSeconds->clear();
        }
        std::memset(bitmap()->pBits, 0, bitmapBytes());
        std::memset(m_context->pColorCache, 0, COLOR_CACHE_ENTRIES * sizeof(tagCOLORCACHEENTRY));
        m_context->pColorCache[0].bRed = m_context->pColorCache[0].bGreen = m_context->pColorCache[0].bBlue = 255;
        m_band.resize(page.stride * bandRows);
        const bool mono = m_settings.priv.dmColor == 1;
        std::chrono::steady_clock::duration screening{};
        for (int y = 0; y < page.height; y += bandRows) {
            const int rows = std::min(bandRows, page.height - y);
            std::memcpy(m_band.data(), &page.rgb[y * page.stride], page.stride * rows);
            const uint64_t band = PackPair(page.width, rows);
            const uint64_t size = PackPair(page.width, page.height);
            const uint64_t at = PackPair(0, y);
            DWORD ink = 0;
            const auto start = std::chrono::steady_clock::now();
            if (mono) {
                (reference ? ScreenBandMonoReference : ScreenBandMono)(band, size, at, m_band.data(), &m_settings,
                                                                       m_context, &m_options, bitmap(), &ink);
            } else {
                (reference ? ScreenBandColorReference : ScreenBandColor)(band, size, at, m_band.data(), &m_settings,
                                                                         m_context, &m_options, bitmap(), &ink);
            }
            const auto spent = std::chrono::steady_clock::now() - start;
            screening += spent;
            if (bandSeconds != nullptr) {
                bandSeconds->push_back(std::chrono::duration<double>(spent).count());
            }
        }
        return std::chrono::duration<double>(screening).count();
    }

private:
    DRVDEVMODE m_settings{};
    tagRENDERCONTEXT* m_context = nullptr;
    tagRENDEROPTIONS m_options{};
    bool m_ok = false;
    std::vector<BYTE> m_band;  // the filter's band buffer
};

// ----- Compression ------------------------------------------------------------------------------

// Every plane through the package's compression library in the model's bands and stripes, as the
// filter encodes a page; the time and the bytes.
double CompressPlanes(PFNCOMPRESS compress, const benchgeometry::ModelGeometry& model, tagPAGEBITMAP* bitmap,
                      size_t* bytes)
{
    *bytes = 0;
    std::vector<BYTE> output, workRows;
    const auto start = std::chrono::steady_clock::now();
    for (DWORD plane = 0; plane < bitmap->dwPlanes; ++plane) {
        const BYTE* bits = bitmap->pBits + plane * PagePlaneBytes(bitmap);
        for (size_t band : benchgeometry::CompressPage(compress, bits, bitmap->dwWidth, bitmap->dwHeight, model,
                                                        output, workRows)) {
            *bytes += band;
        }
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ----- Driver -----------------------------------------------------------------------------------

std::vector<std::string> Split(const std::string& list)
{
    std::vector<std::string> items;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ',');) {
        items.push_back(item);
    }
    return items;
}

struct Options {
    std::vector<int> dpis = {600, 1200};
    std::vector<std::string> contents = {"text", "smooth", "noisy"};
    std::vector<std::string> modes = {"mono", "colour"};
    int repeat = 3;
    std::string gs = "gs";
    std::string tables = ORV_SAMPLE_COLOR_TABLE;
};

bool ParseArguments(int argc, char** argv, Options* o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--dpi" && hasValue) {
            o->dpis.clear();
            for (const std::string& d : Split(argv[++i])) {
                o->dpis.push_back(std::atoi(d.c_str()));
            }
        } else if (arg == "--content" && hasValue) {
            o->contents = Split(argv[++i]);
        } else if (arg == "--mode" && hasValue) {
            o->modes = Split(argv[++i]);
        } else if (arg == "--repeat" && hasValue) {
            o->repeat = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--gs" && hasValue) {
            o->gs = argv[++i];
        } else if (arg == "--tables" && hasValue) {
            o->tables = argv[++i];
        } else {
            std::fprintf(stderr,
                         "usage: %s [--dpi 600,1200] [--content text,smooth,noisy] [--mode mono,colour] "
                         "[--repeat N] [--gs PATH] [--tables FILE]\n",
                         argv[0]);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseArguments(argc, argv, &o)) {
        return 2;
    }
    benchgeometry::ModelGeometry model;
    if (!benchgeometry::ReadModelGeometry(ORV_SOURCE_DIR, "GC7350", &model)) {
        return 1;
    }
    void* library = dlopen(ORV_COMPRESS_LIB_PATH, RTLD_NOW | RTLD_LOCAL);
    auto compress = library != nullptr ? reinterpret_cast<PFNCOMPRESS>(dlsym(library, "COMPRESS")) : nullptr;
    if (compress == nullptr) {
        std::fprintf(stderr, "cannot bind COMPRESS from %s: %s\n", ORV_COMPRESS_LIB_PATH, dlerror());
        return 1;
    }
    std::printf("Screening of A4 pages in GC7350's bands of %u rows; best of %d runs each.\n"
                "MP/s: megapixels of the page per second. compress: the package's compression library on the\n"
                "fast path's planes in the same bands, in stripes of %u rows, option byte %u.\n"
                "Targets: fast / reference >= %.0f on text and >= %.0f on images, bitmaps identical;\n"
                "screening / compression < %.0f.\n\n",
                model.bandRows, o.repeat, model.stripeRows != 0 ? model.stripeRows : model.bandRows, model.option,
                kTextSpeedup, kImageSpeedup, kScreenToCompress);
    std::printf("%5s %-7s %-6s %7s %10s %10s %9s %9s %9s | %-22s %-16s %s\n", "dpi", "content", "mode", "Mpixel",
                "ref MP/s", "fast MP/s", "fast ms", "comp ms", "comp KB", "speedup (target)", "scr/comp (< 1)",
                "planes");
    bool allMet = true;
    for (int dpi : o.dpis) {
        for (const std::string& content : o.contents) {
            const std::string ps = content == "text" ? TextPage() : content == "smooth" ? SmoothPage() : NoisyPage();
            Page page;
            if (!Render(o.gs, ps, dpi, &page)) {
                std::fprintf(stderr, "cannot render the %s page at %d dpi with '%s'\n", content.c_str(), dpi,
                             o.gs.c_str());
                return 1;
            }
            for (const std::string& mode : o.modes) {
                ScreenSetup setup(mode == "mono", page, dpi, o.tables);
                if (!setup.ok()) {
                    std::fprintf(stderr, "cannot set up the page's tables from '%s'\n", o.tables.c_str());
                    return 1;
                }
                // The two take turns, so that both see the machine's load alike; each keeps its best run.
                const int bandRows = static_cast<int>(model.bandRows);
                double reference = 1e30, fast = 1e30;
                std::vector<BYTE> expected;
                std::vector<double> bands, fastestBands;
                bool same = true;
                for (int r = 0; r < o.repeat; ++r) {
                    reference = std::min(reference, setup.ScreenPage(page, true, bandRows));
                    expected.assign(setup.bitmap()->pBits, setup.bitmap()->pBits + setup.bitmapBytes());
                    const double run = setup.ScreenPage(page, false, bandRows, &bands);
                    if (run < fast) {
                        fast = run;
                        fastestBands = bands;
                    }
                    same = same && std::memcmp(expected.data(), setup.bitmap()->pBits, expected.size()) == 0;
                }
                size_t compressedBytes = 0;
                double compressed = 1e30;
                for (int r = 0; r < o.repeat; ++r) {
                    compressed = std::min(compressed, CompressPlanes(compress, model, setup.bitmap(), &compressedBytes));
                }

                const double mpixels = static_cast<double>(page.width) * page.height / 1e6;
                const double speedup = reference / fast;
                const double speedupTarget = content == "text" ? kTextSpeedup : kImageSpeedup;
                const double toCompress = fast / compressed;
                const bool fastEnough = same && speedup >= speedupTarget;
                const bool cheaper = toCompress < kScreenToCompress;
                allMet = allMet && fastEnough && cheaper;
                char speed[40], share[40];
                std::snprintf(speed, sizeof speed, "%.1fx >= %.0f %s", speedup, speedupTarget,
                              fastEnough ? "met" : "MISSED");
                std::snprintf(share, sizeof share, "%.2f %s", toCompress, cheaper ? "met" : "MISSED");
                std::printf("%5d %-7s %-6s %7.1f %10.1f %10.1f %9.1f %9.1f %9.0f | %-22s %-16s %s\n", dpi,
                            content.c_str(), mode.c_str(), mpixels, mpixels / reference, mpixels / fast, fast * 1e3,
                            compressed * 1e3, compressedBytes / 1024.0, speed, share, same ? "identical" : "DIFFER");
                if (!fastEnough || !cheaper) {
                    // Where the fast path's time went: its slowest bands and their share of the page.
                    std::vector<size_t> order(fastestBands.size());
                    for (size_t i = 0; i < order.size(); ++i) {
                        order[i] = i;
                    }
                    std::sort(order.begin(), order.end(),
                              [&](size_t a, size_t b) { return fastestBands[a] > fastestBands[b]; });
                    std::printf("      slowest bands (rows from, ms, share of the page):");
                    for (size_t k = 0; k < std::min<size_t>(5, order.size()); ++k) {
                        std::printf(" %zu %.2f %.0f%%;", order[k] * model.bandRows, fastestBands[order[k]] * 1e3,
                                    100.0 * fastestBands[order[k]] / fast);
                    }
                    std::printf("\n");
                }
                std::fflush(stdout);
            }
        }
    }
    std::printf("\nTargets: %s\n", allMet ? "met" : "MISSED (see the rows above)");
    dlclose(library);
    return allMet ? 0 : 1;
}

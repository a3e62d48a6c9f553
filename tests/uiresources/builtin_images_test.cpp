// The built-in pictures: every id decodes to its size and colour type, the cache, the colour
// preview's test card, damaged streams, and a contact sheet of all pictures for a human to look at.
#include "gui/widgets/BuiltinTableTypes.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/PreviewPictureLayout.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct Expected {
    unsigned short id;
    int width, height;
    bool alpha;
};

// The picture ids by range, with their sizes and colour types.
std::vector<Expected> AllExpected()
{
    std::vector<Expected> all = {{100, 128, 128, true}, {101, 289, 254, false}, {102, 224, 198, false}};
    const std::pair<int, int> small[] = {{2100, 2105}, {2110, 2119}, {2130, 2131}, {2150, 2155},
                                         {2160, 2162}, {2170, 2172}, {2180, 2180}, {2190, 2191}};
    for (auto [a, b] : small) {
        for (int id = a; id <= b; ++id) all.push_back({static_cast<unsigned short>(id), 32, 32, true});
    }
    for (int id = 2200; id <= 2205; ++id) all.push_back({static_cast<unsigned short>(id), 48, 48, true});
    const std::pair<int, int> more[] = {{2210, 2218}, {2230, 2231}, {2240, 2248}, {2250, 2251}, {2261, 2265},
                                        {2273, 2296}, {2300, 2307}, {2320, 2329}, {2340, 2345}};
    for (auto [a, b] : more) {
        for (int id = a; id <= b; ++id) all.push_back({static_cast<unsigned short>(id), 32, 32, true});
    }
    return all;
}

uint32_t BigEndian(const unsigned char* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void PutBigEndian(std::vector<unsigned char>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

TEST(BuiltinImages, EveryIdDecodesToItsSizeAndColourType)
{
    const std::vector<Expected> all = AllExpected();
    ASSERT_EQ(all.size(), 117u);
    ASSERT_EQ(g_nBuiltinImages, 117);
    for (const Expected& e : all) {
        SCOPED_TRACE(e.id);
        GdkPixbuf* pixbuf = GetBuiltinImage(e.id);
        ASSERT_NE(pixbuf, nullptr);
        EXPECT_EQ(gdk_pixbuf_get_width(pixbuf), e.width);
        EXPECT_EQ(gdk_pixbuf_get_height(pixbuf), e.height);
        EXPECT_EQ(gdk_pixbuf_get_has_alpha(pixbuf), e.alpha ? TRUE : FALSE);
        EXPECT_EQ(gdk_pixbuf_get_n_channels(pixbuf), e.alpha ? 4 : 3);
        EXPECT_EQ(gdk_pixbuf_get_bits_per_sample(pixbuf), 8);
        EXPECT_EQ(gdk_pixbuf_get_colorspace(pixbuf), GDK_COLORSPACE_RGB);
        // Decoded once: the same object every time.
        EXPECT_EQ(GetBuiltinImage(e.id), pixbuf);
    }
}

TEST(BuiltinImages, IdsOutsideTheTableHaveNoPicture)
{
    const unsigned short ids[] = {0, 1, 99, 103, 2099, 2106, 2120, 2132, 2199, 2206, 2219, 2272, 2297, 2308, 2346, 65535};
    for (unsigned short id : ids) {
        EXPECT_EQ(GetBuiltinImage(id), nullptr) << id;
    }
}

// The serialized streams as the table holds them, read by hand from the header layout.
TEST(BuiltinImages, StreamsAreRawBigEndianPixdata)
{
    int rgb = 0;
    for (int i = 0; i < g_nBuiltinImages; ++i) {
        const tagBUILTINIMAGE& image = g_BuiltinImages[i];
        SCOPED_TRACE(image.wID);
        if (i > 0) {
            EXPECT_LT(g_BuiltinImages[i - 1].wID, image.wID);
        }
        ASSERT_GE(image.nLength, 24u);
        const unsigned char* p = image.pData;
        EXPECT_EQ(std::memcmp(p, "GdkP", 4), 0);
        EXPECT_EQ(BigEndian(p + 4), image.nLength);
        const uint32_t type = BigEndian(p + 8);
        ASSERT_TRUE(type == 0x01010001u || type == 0x01010002u) << std::hex << type;
        const uint32_t channels = type == 0x01010001u ? 3 : 4;
        rgb += channels == 3;
        EXPECT_EQ(BigEndian(p + 12), BigEndian(p + 16) * channels);
        EXPECT_EQ(image.nLength, 24 + BigEndian(p + 12) * BigEndian(p + 20));
    }
    EXPECT_EQ(rgb, 2);
}

// Pictures are drawings, not empty squares: an icon has transparent background and several colours.
TEST(BuiltinImages, IconsAreDrawnOnTransparentBackground)
{
    for (const Expected& e : AllExpected()) {
        if (!e.alpha) continue;
        GdkPixbuf* pixbuf = GetBuiltinImage(e.id);
        ASSERT_NE(pixbuf, nullptr);
        const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
        const int stride = gdk_pixbuf_get_rowstride(pixbuf);
        int transparent = 0, opaque = 0;
        std::set<uint32_t> colours;
        for (int y = 0; y < e.height; ++y) {
            for (int x = 0; x < e.width; ++x) {
                const guchar* px = pixels + y * stride + x * 4;
                transparent += px[3] == 0;
                if (px[3] == 255) {
                    ++opaque;
                    colours.insert((uint32_t(px[0]) << 16) | (px[1] << 8) | px[2]);
                }
            }
        }
        EXPECT_GT(transparent, 0) << e.id;
        EXPECT_GT(opaque, e.width * e.height / 10) << e.id;
        EXPECT_GE(colours.size(), 2u) << e.id;
    }
}

TEST(BuiltinImages, PreviewPhotographHasItsTestCard)
{
    using namespace orv::preview;
    GdkPixbuf* pixbuf = GetBuiltinImage(102);
    ASSERT_NE(pixbuf, nullptr);
    const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    auto at = [&](int x, int y) { return pixels + y * stride + x * 3; };
    // The ramp: black at the left, white at the right, grey and rising in between.
    struct RampCase { int x; int value; };
    const RampCase ramp[] = {{0, 0}, {1, 1}, {111, 127}, {112, 128}, {222, 254}, {223, 255}};
    for (const RampCase& c : ramp) {
        for (int y : {kRampTop, (kRampTop + kRampBottom) / 2, kRampBottom - 1}) {
            const guchar* px = at(c.x, y);
            EXPECT_EQ(px[0], c.value) << c.x;
            EXPECT_EQ(px[1], c.value);
            EXPECT_EQ(px[2], c.value);
        }
    }
    for (int x = 1; x < kWidth; ++x) {
        EXPECT_GE(at(x, 0)[0], at(x - 1, 0)[0]);
    }
    // The patches, checked at their centres and corners.
    struct PatchCase { int index; int r, g, b; };
    const PatchCase patches[] = {{0, 255, 0, 0}, {1, 0, 255, 0}, {2, 0, 0, 255}, {3, 0, 255, 255},
                                 {4, 255, 0, 255}, {5, 255, 255, 0}, {6, 255, 255, 255}, {7, 0, 0, 0}};
    for (const PatchCase& c : patches) {
        const int x0 = c.index * kPatchWidth;
        for (auto [x, y] : {std::pair{x0, kPatchTop}, std::pair{x0 + 13, 67}, std::pair{x0 + 27, kPatchBottom - 1}}) {
            const guchar* px = at(x, y);
            EXPECT_EQ(px[0], c.r) << "patch " << c.index;
            EXPECT_EQ(px[1], c.g);
            EXPECT_EQ(px[2], c.b);
        }
    }
    for (int y : {40, 43, 92, 95}) {
        EXPECT_EQ(at(50, y)[0], kSeparatorGrey);
    }
    // The landscape below is in colour (sky blue at the top).
    const guchar* sky = at(10, kSceneTop + 2);
    EXPECT_GT(sky[2], sky[0]);
}

// A 2 x 3 RGBA stream built by hand from the header layout (gdk-pixbuf refuses pictures of fewer
// than three rows of this width): a red and a half-transparent blue pixel, then grey rows.
std::vector<unsigned char> HandBuiltStream()
{
    std::vector<unsigned char> s;
    s.insert(s.end(), {'G', 'd', 'k', 'P'});
    PutBigEndian(s, 24 + 8 * 3);
    PutBigEndian(s, 0x01010002);
    PutBigEndian(s, 8);
    PutBigEndian(s, 2);
    PutBigEndian(s, 3);
    s.insert(s.end(), {255, 0, 0, 255, 0, 0, 255, 128});
    s.insert(s.end(), 16, 100);
    return s;
}

TEST(BuiltinImages, HandBuiltStreamDecodes)
{
    const std::vector<unsigned char> stream = HandBuiltStream();
    GdkPixbuf* pixbuf = DecodeBuiltinImage(stream.data(), stream.size());
    ASSERT_NE(pixbuf, nullptr);
    EXPECT_EQ(gdk_pixbuf_get_width(pixbuf), 2);
    EXPECT_EQ(gdk_pixbuf_get_height(pixbuf), 3);
    const guchar* px = gdk_pixbuf_get_pixels(pixbuf);
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[6], 255);
    EXPECT_EQ(px[7], 128);
    g_object_unref(pixbuf);
}

TEST(BuiltinImages, DamagedStreamsGiveNoPicture)
{
    struct Case {
        const char* what;
        void (*damage)(std::vector<unsigned char>&);
    };
    const Case cases[] = {
        {"empty", [](std::vector<unsigned char>& s) { s.clear(); }},
        {"header cut", [](std::vector<unsigned char>& s) { s.resize(20); }},
        {"pixels cut", [](std::vector<unsigned char>& s) { s.resize(40); }},
        {"wrong magic", [](std::vector<unsigned char>& s) { s[0] = 'X'; }},
        {"length too large", [](std::vector<unsigned char>& s) { s[7] = 200; }},
        {"length too small", [](std::vector<unsigned char>& s) { s[7] = 10; }},
        {"run-length encoded", [](std::vector<unsigned char>& s) { s[9] = 2; }},
        {"16 bits per sample", [](std::vector<unsigned char>& s) { s[10] = 2; }},
        {"unknown colour type", [](std::vector<unsigned char>& s) { s[11] = 7; }},
        {"zero width", [](std::vector<unsigned char>& s) { s[19] = 0; }},
        {"huge width", [](std::vector<unsigned char>& s) { s[16] = 0x7F; }},
        {"huge height", [](std::vector<unsigned char>& s) { s[20] = 0xFF; }},
        {"rowstride below width", [](std::vector<unsigned char>& s) { s[15] = 4; }},
        {"rows beyond the pixels", [](std::vector<unsigned char>& s) { s[23] = 4; }},
        {"rowstride beyond the pixels", [](std::vector<unsigned char>& s) { s[15] = 200; }},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> stream = HandBuiltStream();
        c.damage(stream);
        EXPECT_EQ(DecodeBuiltinImage(stream.empty() ? nullptr : stream.data(), stream.size()), nullptr) << c.what;
    }
    EXPECT_EQ(DecodeBuiltinImage(nullptr, 100), nullptr);
}

// A table entry that cannot be decoded answers NULL, and is tried again at the next lookup.
TEST(BuiltinImages, UndecodableEntryIsRetried)
{
    tagBUILTINIMAGE& entry = g_BuiltinImages[g_nBuiltinImages - 1];
    const tagBUILTINIMAGE saved = entry;
    std::vector<unsigned char> broken(entry.pData, entry.pData + entry.nLength);
    broken[0] = 'X';
    entry.pData = broken.data();
    entry.pCache = nullptr;
    EXPECT_EQ(GetBuiltinImage(entry.wID), nullptr);
    EXPECT_EQ(entry.pCache, nullptr);
    entry.pData = saved.pData;
    GdkPixbuf* pixbuf = GetBuiltinImage(entry.wID);
    EXPECT_NE(pixbuf, nullptr);
    if (saved.pCache != nullptr) {
        g_object_unref(saved.pCache);
    }
}

// Draws a number with a 3 x 5 dot font (no font library: the sheet is the same on every machine).
void DrawNumber(cairo_t* cr, double x, double y, double dot, unsigned number)
{
    static const char* const kDigits[10] = {"111101101101111", "010110010010111", "111001111100111",
                                            "111001111001111", "101101111001001", "111100111001111",
                                            "111100111101111", "111001001001001", "111101111101111",
                                            "111101111001111"};
    const std::string text = std::to_string(number);
    for (size_t i = 0; i < text.size(); ++i) {
        const char* glyph = kDigits[text[i] - '0'];
        for (int k = 0; k < 15; ++k) {
            if (glyph[k] == '1') {
                cairo_rectangle(cr, x + (i * 4 + k % 3) * dot, y + (k / 3) * dot, dot, dot);
            }
        }
    }
    cairo_fill(cr);
}

// Every picture on one sheet, labelled with its id, written into the build tree for a person to
// check that each shows what its id means.
TEST(BuiltinImages, ContactSheet)
{
    const std::vector<Expected> all = AllExpected();
    const int cell = 140, cols = 12;
    const int rows = (static_cast<int>(all.size()) + cols - 1) / cols;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cols * cell, rows * cell);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    cairo_paint(cr);
    for (size_t i = 0; i < all.size(); ++i) {
        GdkPixbuf* pixbuf = GetBuiltinImage(all[i].id);
        ASSERT_NE(pixbuf, nullptr);
        const int w = gdk_pixbuf_get_width(pixbuf), h = gdk_pixbuf_get_height(pixbuf);
        const int n = gdk_pixbuf_get_n_channels(pixbuf), stride = gdk_pixbuf_get_rowstride(pixbuf);
        const guchar* px = gdk_pixbuf_get_pixels(pixbuf);
        // Small icons at three times their size so that their details show.
        const double scale = std::min(3.0, (cell - 24.0) / std::max(w, h));
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        unsigned char* dst = cairo_image_surface_get_data(image);
        const int dstStride = cairo_image_surface_get_stride(image);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const guchar* s = px + y * stride + x * n;
                const unsigned a = n == 4 ? s[3] : 255;
                const uint32_t v = (a << 24) | ((s[0] * a / 255) << 16) | ((s[1] * a / 255) << 8) | (s[2] * a / 255);
                std::memcpy(dst + y * dstStride + x * 4, &v, 4);
            }
        }
        cairo_surface_mark_dirty(image);
        const double x0 = (i % cols) * cell, y0 = (i / cols) * cell;
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_rectangle(cr, x0 + 4, y0 + 4, cell - 8, cell - 8);
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, x0 + (cell - w * scale) / 2, y0 + 6);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(image);
        cairo_set_source_rgb(cr, 0, 0, 0);
        DrawNumber(cr, x0 + 8, y0 + cell - 18, 2, all[i].id);
    }
    cairo_destroy(cr);
    EXPECT_EQ(cairo_surface_write_to_png(surface, ORV_CONTACT_SHEET_PATH), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(surface);
}

}  // namespace

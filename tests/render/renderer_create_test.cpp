#include "FakeModelData.h"
#include "HandBuiltColorTable.h"
#include "RenderTestSupport.h"

#include "filter/render/language/LanguageType.h"
#include "filter/render/Renderer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using orvtest::StderrCapture;
using rendertest::FakeModelData;
using rendertest::MakeSettings;
using rendertest::SettingsFields;
using rendertest::Words16;
using rendertest::Words32;

int FakeCompress(tagCOMPRESSPARAMS*)
{
    return 192;
}

// A model, a data directory with its colour-table file and an option block pointing at both.
class CreateFixture {
public:
    CreateFixture()
    {
        rendertest::HandEntry weights;
        weights.key = rendertest::MakeKey({5});
        weights.payload = {1, 0, 2, 0, 3, 0};
        const std::vector<uint8_t> bytes = rendertest::BuildColorTable({weights});
        m_dir.WriteFile("data/L_SAMPLE", std::string(bytes.begin(), bytes.end()));
        m_dataDir = m_dir / "data/";
        model.Attach(&options);
        options.pszDataDir = m_dataDir.c_str();
        std::strcpy(options.szColorTableName, "L_SAMPLE");
        options.pfnCompress = &FakeCompress;
    }

    // Capability 19 view 3 with the GDI bit set or clear.
    void Language(bool gdi) { model.Answer(19, 0, 3, Words32({0, 0, gdi ? 1u : 0u, 0})); }
    void TonerSaveFlags(uint32_t flags) { model.Answer(46, 0, 3, Words32({0, flags, 0, 0})); }

    FakeModelData model;
    tagRENDEROPTIONS options{};

private:
    orvtest::ScratchDir m_dir;
    std::string m_dataDir;
};

struct ContextDeleter {
    void operator()(tagRENDERCONTEXT* c) const { RendererFree(c); }
};
using ContextPtr = std::unique_ptr<tagRENDERCONTEXT, ContextDeleter>;

TEST(QueryLanguageType, TypeAndMaskFromTheModelAndTheSettings)
{
    struct Case {
        WORD languageMode;
        int gdi;         // -1 capability 19 absent, 0 bit clear, 1 bit set
        int tonerFlags;  // -1 capability 46 absent
        DWORD type, mask, flags;
    };
    const Case cases[] = {
        {0, -1, -1, 1, 1, 0},
        {0, 0, 1, 1, 3, TONERSAVE_SUPPORTED},
        {1, -1, 1, 0, 0, TONERSAVE_SUPPORTED},
        {1, 1, -1, 2, 12, 0},
        {0, 1, 1, 2, 14, TONERSAVE_SUPPORTED},
        {0, 1, 3, 2, 14, TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE},
        {0, 1, 2, 2, 12, 0},  // "made by the tables" means nothing without support
    };
    for (const Case& tc : cases) {
        CreateFixture f;
        if (tc.gdi >= 0) {
            f.Language(tc.gdi == 1);
        }
        if (tc.tonerFlags >= 0) {
            f.TonerSaveFlags(static_cast<uint32_t>(tc.tonerFlags));
        }
        SettingsFields s;
        s.languageMode = tc.languageMode;
        const DRVDEVMODE dm = MakeSettings(s);
        tagRENDERCONTEXT context{};
        EXPECT_EQ(QueryLanguageType(&dm, &context, &f.options), tc.type) << tc.languageMode << tc.gdi << tc.tonerFlags;
        EXPECT_EQ(f.options.dwLangType, tc.type);
        EXPECT_EQ(f.options.dwCapabilityMask, tc.mask) << tc.languageMode << tc.gdi << tc.tonerFlags;
        EXPECT_EQ(context.dwLangFlags, tc.flags);
    }
}

TEST(RendererCreate, ResolutionMultipliersFollowTheQualityMode)
{
    struct Case {
        bool gdi;
        SHORT quality;
        SHORT dpi;
        LONG x, y;
    };
    const Case cases[] = {
        {true, 3, 600, 2, 1}, {true, 4, 600, 2, 2}, {true, 4, 300, 2, 2},  {true, 4, 1200, 1, 1},
        {true, 2, 600, 1, 1}, {true, 1, 600, 1, 1}, {false, 3, 600, 1, 1},  // PCL-style output never doubles dots
    };
    for (const Case& tc : cases) {
        CreateFixture f;
        f.Language(tc.gdi);
        SettingsFields s;
        s.quality = tc.quality;
        s.printQuality = tc.dpi;
        const DRVDEVMODE dm = MakeSettings(s);
        ContextPtr context(RendererCreate(nullptr, &dm, &f.options));
        ASSERT_TRUE(context);
        EXPECT_EQ(context->lResMultiplierX, tc.x) << tc.quality << "@" << tc.dpi;
        EXPECT_EQ(context->lResMultiplierY, tc.y) << tc.quality << "@" << tc.dpi;
        EXPECT_NE(context->pColorCache, nullptr);
        ASSERT_NE(context->pColorTable, nullptr);
    }
}

TEST(RendererCreate, CompressionSettingsOfTheGdiLanguage)
{
    const DRVDEVMODE dm = MakeSettings({});
    {
        CreateFixture f;
        f.Language(true);
        ContextPtr context(RendererCreate(nullptr, &dm, &f.options));
        ASSERT_TRUE(context);
        EXPECT_EQ(context->dwCompressOption, 2u);
        EXPECT_EQ(context->dwStripeRows, 0u);
        EXPECT_EQ(context->pfnCompress, f.options.pfnCompress);
    }
    {
        CreateFixture f;
        f.Language(true);
        f.model.Answer(19, 0, 4, Words32({0, 0, 0, 0x00050003, 0x00010080}));
        ContextPtr context(RendererCreate(nullptr, &dm, &f.options));
        ASSERT_TRUE(context);
        EXPECT_EQ(context->dwCompressOption, 3u) << "low 16 bits";
        EXPECT_EQ(context->dwStripeRows, 0x80u) << "low 16 bits";
    }
    {
        CreateFixture f;
        f.model.Answer(19, 0, 4, Words32({0, 0, 0, 3, 128}));
        ContextPtr context(RendererCreate(nullptr, &dm, &f.options));
        ASSERT_TRUE(context);
        EXPECT_EQ(context->pfnCompress, nullptr) << "PCL-style output compresses nothing";
        EXPECT_EQ(context->dwCompressOption, 0u);
    }
    {
        CreateFixture f;
        f.Language(true);
        f.model.Answer(19, 0, 4, Words32({0, 0, 0, 3}));  // too short to hold the stripe rows
        ContextPtr context(RendererCreate(nullptr, &dm, &f.options));
        ASSERT_TRUE(context);
        EXPECT_EQ(context->dwCompressOption, 2u);
    }
}

TEST(RendererCreate, BandWidthMultipleFromCapability77)
{
    const DRVDEVMODE dm = MakeSettings({});
    struct Case {
        bool present;
        uint16_t word;
        LONG expected;
    };
    const Case cases[] = {{false, 0, 0}, {true, 32, 32}, {true, 0xFFF8, -8}};
    for (const Case& tc : cases) {
        CreateFixture f;
        if (tc.present) {
            f.model.Answer(77, 0, 3, Words16({0, 0, 512, tc.word}));
        }
        ContextPtr context(RendererCreate(nullptr, &dm, &f.options));
        ASSERT_TRUE(context);
        EXPECT_EQ(context->lBandWidthMultiple, tc.expected);
    }
}

TEST(RendererCreate, MissingColorTableFileIsLoggedAndFails)
{
    const DRVDEVMODE dm = MakeSettings({});
    CreateFixture f;
    f.Language(true);
    std::strcpy(f.options.szColorTableName, "L_NOSUCHMODEL");
    StderrCapture err;
    EXPECT_EQ(RendererCreate(nullptr, &dm, &f.options), nullptr);
    const std::string log = err.Take();
    EXPECT_NE(log.find("ERROR: "), std::string::npos) << log;
    EXPECT_NE(log.find("Cannot load ColorTable File 'L_NOSUCHMODEL'"), std::string::npos) << log;
}

TEST(RendererCreate, DamagedColorTableFileFailsLikeAMissingOne)
{
    const DRVDEVMODE dm = MakeSettings({});
    CreateFixture f;
    orvtest::ScratchDir dir;
    std::vector<uint8_t> bytes(12, 0);
    bytes[8] = 0xF0;  // directory far past the end
    dir.WriteFile("L_BAD", std::string(bytes.begin(), bytes.end()));
    const std::string directory = dir / "";
    f.options.pszDataDir = directory.c_str();
    std::strcpy(f.options.szColorTableName, "L_BAD");
    StderrCapture err;
    EXPECT_EQ(RendererCreate(nullptr, &dm, &f.options), nullptr);
    EXPECT_NE(err.Take().find("Cannot load ColorTable File 'L_BAD'"), std::string::npos);
}

TEST(RendererCreate, LanguageTypeZeroGetsAContextWithoutTables)
{
    SettingsFields s;
    s.languageMode = 1;
    const DRVDEVMODE dm = MakeSettings(s);
    CreateFixture f;
    std::strcpy(f.options.szColorTableName, "L_NOSUCHMODEL");  // never looked for
    ContextPtr context(RendererCreate(nullptr, &dm, &f.options));
    ASSERT_TRUE(context);
    EXPECT_EQ(f.options.dwLangType, 0u);
    EXPECT_EQ(context->pColorTable, nullptr);
    EXPECT_EQ(context->pColorCache, nullptr);
}

TEST(RendererCreate, NeedsSettingsAndOptions)
{
    const DRVDEVMODE dm = MakeSettings({});
    CreateFixture f;
    EXPECT_EQ(RendererCreate(nullptr, nullptr, &f.options), nullptr);
    EXPECT_EQ(RendererCreate(nullptr, &dm, nullptr), nullptr);
}

TEST(RendererCreate, ReinitialisingKeepsOneTableImage)
{
    const DRVDEVMODE dm = MakeSettings({});
    CreateFixture f;
    f.Language(true);
    tagRENDERCONTEXT* context = RendererCreate(nullptr, &dm, &f.options);
    ASSERT_NE(context, nullptr);
    tagCOLORCACHEENTRY* cache = context->pColorCache;
    EXPECT_EQ(RendererCreate(context, &dm, &f.options), context);
    EXPECT_EQ(context->pColorCache, cache);
    ASSERT_NE(context->pColorTable, nullptr);
    RendererFree(context);  // the sanitizer build reports the first image if it leaked
}

TEST(QueryTonerSaveLevel, LevelItemsByColourModeAndQuality)
{
    struct Case {
        SHORT color;
        SHORT quality;
        std::vector<int> items;  // capability 46 view 4 items the model has
        bool defaultRecord;      // capability 46 item 0 view 2
        SHORT expected;
    };
    // Every item answers with level 100 + its id, the default record with 77.
    const Case cases[] = {
        {2, 3, {4, 1}, false, 104},  {2, 4, {5, 1}, false, 105},
        {2, 1, {2, 1}, false, 102},  {2, 2, {3, 1}, false, 103},
        {2, 3, {1}, false, 101},     {2, 3, {6, 11}, true, 77},  // only items of other modes: the default record
        {2, 3, {}, false, 30},       {3, 3, {9, 6, 1}, false, 109},
        {3, 4, {6, 1}, false, 106},  {3, 1, {1}, false, 101},
        {3, 2, {8}, false, 108},     {1, 3, {14}, false, 114},
        {1, 4, {11, 1}, false, 111}, {1, 1, {12}, false, 112},
        {1, 7, {13}, false, 113},    {1, 7, {2, 3, 4}, true, 77},
    };
    for (const Case& tc : cases) {
        CreateFixture f;
        f.TonerSaveFlags(1);
        for (int item : tc.items) {
            f.model.Answer(46, item, 4, Words16({0, static_cast<uint16_t>(100 + item)}));
        }
        if (tc.defaultRecord) {
            f.model.Answer(46, 0, 2, Words16({77, 0}));
        }
        const DRVDEVMODE dm = MakeSettings({tc.color, 0, 0, tc.quality, 1});
        tagRENDERCONTEXT context{};
        context.dwLangFlags = TONERSAVE_SUPPORTED;
        EXPECT_EQ(QueryTonerSaveLevel(&dm, &context, &f.options), tc.expected) << tc.color << "/" << tc.quality;
        EXPECT_EQ(context.sTonerSaveLevel, tc.expected);
    }
}

TEST(QueryTonerSaveLevel, ZeroUnlessTonerSaveIsMadeByColourAdjustment)
{
    struct Case {
        SHORT tonerSave;
        DWORD flags;
    };
    const Case cases[] = {
        {0, TONERSAVE_SUPPORTED},
        {1, 0},
        {1, TONERSAVE_SUPPORTED | TONERSAVE_IN_TABLE},
        {2, TONERSAVE_SUPPORTED},
    };
    for (const Case& tc : cases) {
        CreateFixture f;
        f.model.Answer(46, 0, 2, Words16({77, 0}));
        const DRVDEVMODE dm = MakeSettings({2, 0, 0, 2, tc.tonerSave});
        tagRENDERCONTEXT context{};
        context.dwLangFlags = tc.flags;
        context.sTonerSaveLevel = 5;
        EXPECT_EQ(QueryTonerSaveLevel(&dm, &context, &f.options), 0) << tc.tonerSave << "/" << tc.flags;
        EXPECT_EQ(context.sTonerSaveLevel, 0);
    }
}

}  // namespace

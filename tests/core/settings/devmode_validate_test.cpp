// The validation service: records from outside merged into what the model accepts.
#include "core/settings/DevModeService.h"

#include "settings_models.h"
#include "settings_test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

using namespace settings_models;

DRVDEVMODE Defaults(const tagSPCDATA* model)
{
    DRVDEVMODE d;
    std::memset(&d, 0, sizeof d);
    d.dm.dmSize = 96;
    d.dm.dmDriverExtra = 1136;
    EXPECT_EQ(SpcDevmodeService(model, nullptr, &d, 1), ERROR_SUCCESS);
    return d;
}

enum class Model { Rich, Bare, RichWithLists };

struct ValidateCase {
    const char* what;
    Model model;
    std::function<void(DRVDEVMODE&)> edit;         // applied to the input (a copy of the defaults)
    std::function<void(const DRVDEVMODE&)> check;  // on the output (also a copy of the input)
};

// Sets a paper id with explicit width and length (0.1 mm) and the given dmFields paper bits.
void SetPaper(DRVDEVMODE& d, SHORT id, SHORT width, SHORT length, DWORD bits)
{
    d.dm.dmFields &= ~(0x2u | 0x4u | 0x8u | 0x10000u);
    d.dm.dmFields |= bits;
    d.dm.dmPaperSize = id;
    d.dm.dmPaperWidth = width;
    d.dm.dmPaperLength = length;
}

void ExpectPaper(const DRVDEVMODE& d, SHORT id, SHORT width, SHORT length, bool explicitSize)
{
    EXPECT_EQ(d.dm.dmPaperSize, id);
    EXPECT_EQ(d.dm.dmPaperWidth, width);
    EXPECT_EQ(d.dm.dmPaperLength, length);
    EXPECT_EQ(d.dm.dmFields & 0x2u, 0x2u);
    EXPECT_EQ(d.dm.dmFields & 0xCu, explicitSize ? 0xCu : 0u);
    EXPECT_EQ(d.dm.dmFields & 0x10000u, 0u);
}

// Output paper settings of the private part.
void SetOutputPaper(DRVDEVMODE& d, WORD layout, SHORT id, SHORT width, SHORT length)
{
    d.priv.dmLayoutPrint = layout;
    d.priv.dmOutputPaperSize = id;
    d.priv.dmOutputPaperWidth = width;
    d.priv.dmOutputPaperLength = length;
}

void ExpectOutputPaper(const DRVDEVMODE& d, SHORT id, SHORT width, SHORT length, bool ownSize)
{
    EXPECT_EQ(d.priv.dmOutputPaperSize, id);
    EXPECT_EQ(d.priv.dmOutputPaperWidth, width);
    EXPECT_EQ(d.priv.dmOutputPaperLength, length);
    EXPECT_EQ(d.priv.dmFieldsExtra1 & 0x40u, ownSize ? 0x40u : 0u);
}

// The rich model (metric): A4 default, custom widths 254..2970 and lengths 1478..4318 with 0.3 mm
// tolerance, long paper up to 12000, copies up to 999, 600 dpi, zoom 20..300, density 1..5
// (default 3), contrast -10..10 (default 4),
// sources 7 and 8 plus 20 in a source group, media 3 and 4.
const ValidateCase kCases[] = {
    // Paper.
    {"custom size flagged by the paper bit only takes its stored size", Model::Rich,
     [](DRVDEVMODE& d) { SetPaper(d, 500, 2000, 3000, 0x2); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, 500, 2000, 3000, true); }},
    {"custom width 251 is inside the 254 minimum's tolerance", Model::Rich,
     [](DRVDEVMODE& d) { SetPaper(d, 500, 251, 2000, 0xE); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, 500, 251, 2000, true); }},
    {"custom width 250 is outside: default paper with the model's size", Model::Rich,
     [](DRVDEVMODE& d) { SetPaper(d, 500, 250, 2000, 0xE); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, kA4, 2100, 2970, false); }},
    {"custom width 2973 is inside the maximum's tolerance, 2974 is not", Model::Rich,
     [](DRVDEVMODE& d) { SetPaper(d, 500, 2973, 2000, 0xE); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, 500, 2973, 2000, true); }},
    {"custom width 2974", Model::Rich, [](DRVDEVMODE& d) { SetPaper(d, 500, 2974, 2000, 0xE); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, kA4, 2100, 2970, false); }},
    {"custom length 1475 is inside the 1478 minimum (inch limit) tolerance", Model::Rich,
     [](DRVDEVMODE& d) { SetPaper(d, 500, 2000, 1475, 0xE); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, 500, 2000, 1475, true); }},
    {"too long for custom sizes but a long paper", Model::Rich,
     [](DRVDEVMODE& d) { SetPaper(d, 500, 2120, 9000, 0xE); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, 500, 2120, 9000, true); }},
    {"id 256 with a size is a custom size", Model::Rich, [](DRVDEVMODE& d) { SetPaper(d, 256, 2000, 2500, 0xE); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, 256, 2000, 2500, true); }},
    {"standard paper gets the model's size and loses the size bits", Model::Rich,
     [](DRVDEVMODE& d) { SetPaper(d, kLegal, 1, 1, 0x2 | 0x10000); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, kLegal, 2159, 3556, false); }},
    {"paper unknown to the model", Model::Rich, [](DRVDEVMODE& d) { SetPaper(d, 77, 0, 0, 0x2); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, kA4, 2100, 2970, false); }},
    {"form-name bit alone gives the default paper", Model::Rich,
     [](DRVDEVMODE& d) { SetPaper(d, kLegal, 0, 0, 0x10000); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, kA4, 2100, 2970, false); }},
    {"paper id 0", Model::Rich, [](DRVDEVMODE& d) { SetPaper(d, 0, 2000, 2000, 0xE); },
     [](const DRVDEVMODE& d) { ExpectPaper(d, kA4, 2100, 2970, false); }},

    // Copies.
    {"copies 0 gives the default", Model::Rich, [](DRVDEVMODE& d) { d.dm.dmCopies = 0; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmCopies, 1); }},
    {"copies at the model's maximum", Model::Rich, [](DRVDEVMODE& d) { d.dm.dmCopies = 999; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmCopies, 999); }},
    {"copies above the model's maximum", Model::Rich, [](DRVDEVMODE& d) { d.dm.dmCopies = 1000; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmCopies, 1); }},
    {"without a copies limit there is one copy", Model::Bare, [](DRVDEVMODE& d) { d.dm.dmCopies = 5; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmCopies, 1); }},

    // Resolution by quality mode.
    {"quality 7: resolution, vertical resolution and quality from the defaults", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmQuality = 7;
         d.dm.dmPrintQuality = 300;
         d.dm.dmYResolution = 300;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.dm.dmPrintQuality, 600);
         EXPECT_EQ(d.dm.dmYResolution, 600);
         EXPECT_EQ(d.priv.dmQuality, 2);
     }},
    {"quality 1 on a model without resolution modes: the defaults", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmQuality = 1;
         d.dm.dmPrintQuality = 300;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.dm.dmPrintQuality, 600);
         EXPECT_EQ(d.priv.dmQuality, 2);
     }},

    {"quality 1: the model's mode-1 resolution", Model::RichWithLists,
     [](DRVDEVMODE& d) {
         d.priv.dmQuality = 1;
         d.dm.dmFields |= 0x20000;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.dm.dmPrintQuality, 300);
         EXPECT_EQ(d.dm.dmYResolution, 300);
         EXPECT_EQ(d.priv.dmQuality, 1);
         EXPECT_EQ(d.dm.dmLogPixels, 300);
         EXPECT_EQ(d.dm.dmFields & 0x2400u, 0x2400u);
     }},
    {"quality 2 is no mode of the model: the defaults", Model::RichWithLists,
     [](DRVDEVMODE& d) {
         d.priv.dmQuality = 2;
         d.dm.dmPrintQuality = 300;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.dm.dmPrintQuality, 1200);
         EXPECT_EQ(d.dm.dmYResolution, 1200);
         EXPECT_EQ(d.priv.dmQuality, 3);
     }},
    {"print style 4 falls back to the model's style 1", Model::RichWithLists,
     [](DRVDEVMODE& d) { d.priv.dmPrintStyle = 4; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmPrintStyle, 1); }},

    // Other public fields.
    {"orientation, duplex, collate and scale out of range", Model::Rich,
     [](DRVDEVMODE& d) {
         d.dm.dmFields |= 0x10;
         d.dm.dmOrientation = 3;
         d.dm.dmDuplex = 4;
         d.dm.dmCollate = 2;
         d.dm.dmScale = 1001;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.dm.dmOrientation, 1);
         EXPECT_EQ(d.dm.dmDuplex, 2);
         EXPECT_EQ(d.dm.dmCollate, 1);
         EXPECT_EQ(d.dm.dmScale, 100);
     }},
    {"colour 3 on a colour model", Model::Rich, [](DRVDEVMODE& d) { d.dm.dmColor = 3; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmColor, 3); }},
    {"colour on a monochrome model", Model::Bare, [](DRVDEVMODE& d) { d.dm.dmColor = 2; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmColor, 1); }},
    {"source of a source group", Model::Rich, [](DRVDEVMODE& d) { d.dm.dmDefaultSource = 20; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmDefaultSource, 20); }},
    {"source unknown to the model", Model::Rich, [](DRVDEVMODE& d) { d.dm.dmDefaultSource = 99; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmDefaultSource, 7); }},
    {"media of the model", Model::Rich,
     [](DRVDEVMODE& d) {
         d.dm.dmFields |= 0x2000000;
         d.dm.dmMediaType = 4;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmMediaType, 4u); }},
    {"media id whose low 16 bits are the model's", Model::Rich,
     [](DRVDEVMODE& d) {
         d.dm.dmFields |= 0x2000000;
         d.dm.dmMediaType = 0x10004;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmMediaType, 0u); }},
    {"dither type 300 stays", Model::Rich,
     [](DRVDEVMODE& d) {
         d.dm.dmFields |= 0x4000000;
         d.dm.dmDitherType = 300;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmDitherType, 300u); }},
    {"dither type 6 is replaced", Model::Rich,
     [](DRVDEVMODE& d) {
         d.dm.dmFields |= 0x4000000;
         d.dm.dmDitherType = 6;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.dm.dmDitherType, 0u);
         EXPECT_EQ(d.dm.dmFields & 0x4000000u, 0x4000000u);
     }},
    {"dither type 10 stays", Model::Rich,
     [](DRVDEVMODE& d) {
         d.dm.dmFields |= 0x4000000;
         d.dm.dmDitherType = 10;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.dm.dmDitherType, 10u); }},

    // Fixed sets of the private part, gated by the input's capability words.
    {"finisher 259 is replaced when the input offers finishers", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmFieldsExtra1 |= 0x20000;
         d.priv.dmFinisher = 259;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmFinisher, 0); }},
    {"finisher 259 is kept when the input does not", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmFieldsExtra1 &= ~0x20000u;
         d.priv.dmFinisher = 259;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.priv.dmFinisher, 259);
         // The capability words are the model's whatever the input said.
         EXPECT_EQ(d.priv.dmFieldsExtra1 & 0x20000u, 0u);
     }},
    {"finisher 771 is in the set", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmFieldsExtra1 |= 0x20000;
         d.priv.dmFinisher = 771;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmFinisher, 771); }},
    {"layout 3 is no layout", Model::Rich, [](DRVDEVMODE& d) { d.priv.dmLayoutPrint = 3; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmLayoutPrint, 0); }},
    {"layout 16 (zoom) stays", Model::Rich, [](DRVDEVMODE& d) { d.priv.dmLayoutPrint = 16; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmLayoutPrint, 16); }},
    {"staple 7, punch 4, sort 6 and mirror 3 are replaced", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmFieldsExtra1 |= 0x10000 | 0x40000 | 0x100000 | 0x1;
         d.priv.dmStaple = 7;
         d.priv.dmPunch = 4;
         d.priv.dmSort = 6;
         d.priv.dmMirror = 3;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.priv.dmStaple, 0);
         EXPECT_EQ(d.priv.dmPunch, 0);
         EXPECT_EQ(d.priv.dmSort, 3);
         EXPECT_EQ(d.priv.dmMirror, 0);
     }},
    {"n-up order 4 and border 3 are replaced", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmNupOrder = 4;
         d.priv.dmNupBorder = 3;
         d.priv.dmBookletBinding = -1;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.priv.dmNupOrder, 0);
         EXPECT_EQ(d.priv.dmNupBorder, 2);
         EXPECT_EQ(d.priv.dmBookletBinding, 1);
     }},

    // Zoom, density, contrast and the option words.
    {"zoom 500 on a model without zoom limits", Model::Bare,
     [](DRVDEVMODE& d) {
         d.priv.dmFieldsExtra2 |= 0x2;
         d.priv.dmScaleTo = 500;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmScaleTo, 100); }},
    {"zoom 400 on a model without zoom limits stays", Model::Bare,
     [](DRVDEVMODE& d) {
         d.priv.dmFieldsExtra2 |= 0x2;
         d.priv.dmScaleTo = 400;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmScaleTo, 400); }},
    {"zoom 301 above the model's 300, alignment 9", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmScaleTo = 301;
         d.priv.dmAlign = 0x39;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.priv.dmScaleTo, 100);
         EXPECT_EQ(d.priv.dmAlign, 6);
     }},
    {"zoom 20 and alignment 0x18 (low bits 8) stay", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmScaleTo = 20;
         d.priv.dmAlign = 0x18;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.priv.dmScaleTo, 20);
         EXPECT_EQ(d.priv.dmAlign, 0x18);
     }},
    {"density 6 above the model's 5", Model::Rich, [](DRVDEVMODE& d) { d.priv.dmDensity = 6; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmDensity, 3); }},
    {"contrast 11 above the model's 10", Model::Rich, [](DRVDEVMODE& d) { d.priv.dmContrast = 11; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmContrast, 4); }},
    {"contrast -10 stays", Model::Rich, [](DRVDEVMODE& d) { d.priv.dmContrast = -10; },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmContrast, -10); }},
    {"option 1006 of 0 is replaced when offered", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmFieldsExtra3 |= 0x4;
         d.priv.dmOption1006 = 0;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmOption1006, 1); }},
    {"option 346 without its bit takes the default", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmFieldsExtra2 &= ~0x20000000u;
         d.priv.dmOption346 = 1;
     },
     [](const DRVDEVMODE& d) { EXPECT_EQ(d.priv.dmOption346, 0); }},
    {"print style 4 and a colour-matching method", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmFieldsExtra2 |= 0x80;
         d.priv.dmPrintStyle = 4;
         d.dm.dmFields |= 0x800000;
         d.dm.dmICMMethod = 2;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.priv.dmPrintStyle, 0);
         EXPECT_EQ(d.dm.dmICMMethod, 1u);
     }},
    {"base resolution and layout unit 0 follow the resolution", Model::Rich,
     [](DRVDEVMODE& d) {
         d.priv.dmBaseResolution = 0;
         d.priv.dmUnitOfLayout = 0;
         d.priv.dmMetric = 0;
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(d.priv.dmBaseResolution, 600);
         EXPECT_EQ(d.priv.dmUnitOfLayout, 600);
         EXPECT_EQ(d.priv.dmMetric, 3);  // the locale's choice, always
     }},

    // Output paper.
    {"no output paper clears its size", Model::Rich,
     [](DRVDEVMODE& d) {
         SetOutputPaper(d, 8, 0, 2000, 3000);
         d.priv.dmFieldsExtra1 |= 0x40;
     },
     [](const DRVDEVMODE& d) { ExpectOutputPaper(d, 0, 0, 0, false); }},
    {"without a layout the output paper follows a standard paper", Model::Rich,
     [](DRVDEVMODE& d) { SetOutputPaper(d, 0, kLegal, 2000, 3000); },
     [](const DRVDEVMODE& d) { ExpectOutputPaper(d, kA4, 0, 0, false); }},
    {"without a layout the output paper follows a custom paper with its size", Model::Rich,
     [](DRVDEVMODE& d) {
         SetPaper(d, 500, 2000, 3000, 0xE);
         SetOutputPaper(d, 0, kLegal, 0, 0);
     },
     [](const DRVDEVMODE& d) { ExpectOutputPaper(d, 500, 2000, 3000, true); }},
    {"fit to a standard output paper", Model::Rich,
     [](DRVDEVMODE& d) { SetOutputPaper(d, 8, kLegal, 2000, 3000); },
     [](const DRVDEVMODE& d) { ExpectOutputPaper(d, kLegal, 0, 0, false); }},
    {"fit to a custom output paper keeps its size", Model::Rich,
     [](DRVDEVMODE& d) { SetOutputPaper(d, 8, 600, 2000, 3000); },
     [](const DRVDEVMODE& d) { ExpectOutputPaper(d, 600, 2000, 3000, true); }},
    {"fit to an output paper the model does not know", Model::Rich,
     [](DRVDEVMODE& d) { SetOutputPaper(d, 8, 77, 2000, 3000); },
     [](const DRVDEVMODE& d) { ExpectOutputPaper(d, 0, 0, 0, false); }},

    // Texts from outside end with a terminator.
    {"unterminated texts are cut at their last byte", Model::Rich,
     [](DRVDEVMODE& d) {
         std::memset(d.dm.dmFormName, 'f', sizeof d.dm.dmFormName);
         std::memset(d.priv.dmJobName, 'j', sizeof d.priv.dmJobName);
         std::memset(d.priv.dmPassword, 'p', sizeof d.priv.dmPassword);
         std::memset(d.priv.dmWMInfo.String, 'w', sizeof d.priv.dmWMInfo.String);
         std::memset(d.priv.dmText588, 't', sizeof d.priv.dmText588);
     },
     [](const DRVDEVMODE& d) {
         EXPECT_EQ(std::strlen(d.dm.dmFormName), 31u);
         EXPECT_EQ(std::strlen(d.priv.dmJobName), 83u);
         EXPECT_EQ(std::strlen(d.priv.dmPassword), 31u);
         EXPECT_EQ(std::strlen(d.priv.dmWMInfo.String), 195u);
         EXPECT_EQ(std::strlen(d.priv.dmText588), 31u);
     }},
};

TEST(DevmodeValidate, EdgeCases)
{
    ScopedMeasurementLocale locale(true);
    ModelData rich = LoadModel(Rich());
    ModelData bare = LoadModel(Bare());
    ModelData richWithLists = LoadModel(RichWithListCapabilities());
    ASSERT_TRUE(rich && bare && richWithLists);
    for (const ValidateCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const tagSPCDATA* model = c.model == Model::Rich   ? rich.get()
                                  : c.model == Model::Bare ? bare.get()
                                                           : richWithLists.get();
        DRVDEVMODE in = Defaults(model);
        c.edit(in);
        DRVDEVMODE out = in;
        ASSERT_EQ(SpcDevmodeService(model, &in, &out, 2), ERROR_SUCCESS);
        c.check(out);
    }
}

TEST(DevmodeValidate, InputWithoutSignatureChangesOnlyFlaggedPublicFields)
{
    ScopedMeasurementLocale locale(true);
    ModelData model = LoadModel(Rich());
    DRVDEVMODE out = Defaults(model.get());
    std::strcpy(out.priv.dmJobName, "kept");
    out.priv.dmNup = 9;
    const DRVDEVMODE before = out;

    DRVDEVMODE in;
    std::memset(&in, 0x7F, sizeof in);
    in.dm.dmSize = 96;
    in.dm.dmDriverExtra = 1136;
    in.dm.dmFields = 0x1 | 0x100;
    in.dm.dmOrientation = 2;
    in.dm.dmCopies = 3;

    ASSERT_EQ(SpcDevmodeService(model.get(), &in, &out, 2), ERROR_SUCCESS);
    EXPECT_EQ(out.dm.dmOrientation, 2);
    EXPECT_EQ(out.dm.dmCopies, 3);
    EXPECT_EQ(out.dm.dmPaperSize, before.dm.dmPaperSize);
    EXPECT_EQ(out.dm.dmScale, before.dm.dmScale);
    EXPECT_EQ(std::memcmp(&out.priv, &before.priv, sizeof out.priv), 0);
}

TEST(DevmodeValidate, SameRecordIsGatedByTheModelsCapabilityWords)
{
    // The input claims a finisher, but the model has none: once the record's capability words
    // are the model's, the finisher check does not run and 259 stays.
    ScopedMeasurementLocale locale(true);
    ModelData model = LoadModel(Rich());
    DRVDEVMODE d = Defaults(model.get());
    d.priv.dmFieldsExtra1 |= 0x20000;
    d.priv.dmFinisher = 259;
    d.priv.dmStaple = 9;
    ASSERT_EQ(SpcDevmodeService(model.get(), &d, &d, 2), ERROR_SUCCESS);
    EXPECT_EQ(d.priv.dmFinisher, 259);
    EXPECT_EQ(d.priv.dmStaple, 9);
    EXPECT_EQ(d.priv.dmFieldsExtra1 & 0x20000u, 0u);

    // A check the model does gate still runs on the same record.
    d.priv.dmDensity = 9;
    ASSERT_EQ(SpcDevmodeService(model.get(), &d, &d, 2), ERROR_SUCCESS);
    EXPECT_EQ(d.priv.dmDensity, 3);
}

TEST(DevmodeValidate, RefusalsLeaveTheOutputUntouched)
{
    ScopedMeasurementLocale locale(true);
    ModelData model = LoadModel(Rich());
    const DRVDEVMODE good = Defaults(model.get());
    struct Case {
        const char* what;
        bool withModel;
        std::function<void(DRVDEVMODE& in, DRVDEVMODE& out)> edit;
        DWORD code;
    } const cases[] = {
        {"input private size 1135", true, [](DRVDEVMODE& in, DRVDEVMODE&) { in.dm.dmDriverExtra = 1135; },
         ERROR_INVALID_PARAMETER},
        {"output private size 0", true, [](DRVDEVMODE&, DRVDEVMODE& out) { out.dm.dmDriverExtra = 0; },
         ERROR_INVALID_PARAMETER},
        {"input public size 64", true, [](DRVDEVMODE& in, DRVDEVMODE&) { in.dm.dmSize = 64; },
         ERROR_INVALID_PARAMETER},
        {"output public size 200", true, [](DRVDEVMODE&, DRVDEVMODE& out) { out.dm.dmSize = 200; },
         ERROR_INVALID_PARAMETER},
        {"no model data", false, [](DRVDEVMODE&, DRVDEVMODE&) {}, ERROR_INVALID_DATA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DRVDEVMODE in = good;
        in.dm.dmCopies = 0;
        DRVDEVMODE out = good;
        out.dm.dmCopies = 77;
        c.edit(in, out);
        const DRVDEVMODE before = out;
        EXPECT_EQ(SpcDevmodeService(c.withModel ? model.get() : nullptr, &in, &out, 2), c.code);
        EXPECT_EQ(std::memcmp(&out, &before, sizeof out), 0);
    }
    DRVDEVMODE out = good;
    EXPECT_EQ(SpcDevmodeService(model.get(), nullptr, &out, 2), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SpcDevmodeService(model.get(), &good, nullptr, 2), ERROR_INVALID_PARAMETER);
}

TEST(CheckPaperSize, StandardCustomAndLongPapers)
{
    ModelData model = LoadModel(Rich());
    ModelData bare = LoadModel(Bare());
    struct Case {
        bool rich;
        SHORT id;
        SHORT width;
        SHORT length;
        int result;
    } const cases[] = {
        {true, kA4, 0, 0, 1},
        {true, kA4, 5, 5, 1},            // a standard id ignores the size
        {true, 77, 2000, 2000, 0},
        {true, 0, 2000, 2000, 0},
        {true, 256, 0, 0, 0},            // 256 without a size is looked up as a standard paper
        {true, 256, 2000, 2000, 2},
        {true, 456, 2000, 2000, 2},
        {true, 456, 0, 0, 0},
        {true, 456, 251, 1475, 2},       // both minimums less the tolerance
        {true, 456, 251, 1474, 0},
        {true, 456, 2159, 12003, 2},     // long paper's maximum length plus the tolerance
        {true, 456, 2159, 12004, 0},
        {true, 456, 2163, 9000, 0},      // too wide for long paper, too long for custom
        {false, 456, 2000, 2000, 0},     // no custom limits at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.width << "x" << c.length);
        EXPECT_EQ(CheckPaperSize(c.rich ? model.get() : bare.get(), nullptr, c.id, c.width, c.length), c.result);
    }
}

TEST(SourceAndMedia, ListedIdsOnly)
{
    ModelData model = LoadModel(Rich());
    ModelData bare = LoadModel(Bare());
    EXPECT_EQ(IsSourceSupported(model.get(), nullptr, 7), FLAG_TRUE);
    EXPECT_EQ(IsSourceSupported(model.get(), nullptr, 20), FLAG_TRUE);
    EXPECT_EQ(IsSourceSupported(model.get(), nullptr, 21), FLAG_FALSE);
    EXPECT_EQ(IsSourceSupported(model.get(), nullptr, 0), FLAG_FALSE);
    EXPECT_EQ(IsSourceSupported(bare.get(), nullptr, 20), FLAG_FALSE);  // no source groups
    EXPECT_EQ(IsMediaSupported(model.get(), nullptr, 3), FLAG_TRUE);
    EXPECT_EQ(IsMediaSupported(model.get(), nullptr, 5), FLAG_FALSE);
    EXPECT_EQ(IsMediaSupported(model.get(), nullptr, 0), FLAG_FALSE);
    EXPECT_EQ(IsMediaSupported(bare.get(), nullptr, 3), FLAG_FALSE);    // no media list
}

}  // namespace

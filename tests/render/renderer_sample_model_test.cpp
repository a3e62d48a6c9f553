// The renderer created for the sample colour model as the filter creates it: the model data file
// and the colour-table file both compiled at build time from their readable sources.
#include "RenderTestSupport.h"

#include "core/model/SpcData.h"
#include "core/model/SpcQuery.h"
#include "core/util/FileUtil.h"
#include "filter/render/Renderer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using rendertest::MakeSettings;
using rendertest::SettingsFields;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

TEST(RendererSampleModel, ColourModelGetsTheGdiLanguageAndItsTables)
{
    size_t size = 0;
    std::unique_ptr<void, FreeDeleter> bytes(ReadWholeFileSized(ORV_SAMPLE_MODEL_DIR, "GC7350.pcsp", &size));
    ASSERT_TRUE(bytes);
    std::unique_ptr<tagSPCDATA, FreeDeleter> model(SpcLoadImage(bytes.get(), size));
    ASSERT_TRUE(model);

    // The colour-table name as the filter takes it: capability 7, item 200, text from byte 8.
    char record[40] = {};
    DWORD recordSize = sizeof(record);
    ASSERT_EQ(SpcQuery(model.get(), SPCID_COLORTABLE, 200, 1, record, &recordSize, nullptr), ERROR_SUCCESS);
    tagRENDEROPTIONS options{};
    options.pModelData = model.get();
    const std::string dataDir = std::string(ORV_COLOR_TABLE_DIR) + "/";
    options.pszDataDir = dataDir.c_str();
    std::snprintf(options.szColorTableName, sizeof(options.szColorTableName), "%s%s", "L_", record + 8);
    ASSERT_STREQ(options.szColorTableName, "L_GC7350");

    SettingsFields s;
    s.tonerSave = 1;
    const DRVDEVMODE dm = MakeSettings(s);
    tagRENDERCONTEXT* context = RendererCreate(nullptr, &dm, &options);
    ASSERT_NE(context, nullptr);
    // Capability 19 selects the GDI language, with compression option 2 and stripes of 64 rows;
    // capability 46 offers toner save made by colour adjustment; capability 77 asks for band
    // widths in multiples of 64.
    EXPECT_EQ(options.dwLangType, LANGTYPE_GDI);
    EXPECT_EQ(options.dwCapabilityMask, 14u);
    EXPECT_EQ(context->dwLangFlags, TONERSAVE_SUPPORTED);
    EXPECT_EQ(context->dwCompressOption, 2u);
    EXPECT_EQ(context->dwStripeRows, 64u);
    EXPECT_EQ(context->lBandWidthMultiple, 64);
    // Colour, quality 2: level item 3 of capability 46, whose level is 33.
    EXPECT_EQ(context->sTonerSaveLevel, 33);

    options.dwPageWidth = 4960;
    options.dwPageHeight = 7016;
    EXPECT_EQ(RendererSetupColorTables(&dm, context, &options), 1);
    EXPECT_EQ(RendererSetupDitherMatrices(&dm, context, &options), 0xFFFF);
    EXPECT_EQ(context->pColorBlock->dwMatrixRowBytes, 4960u);
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        EXPECT_NE(context->pColorBlock->apMatrix[slot], nullptr);
        EXPECT_NE(context->pColorBlock->apToneCurve[slot], nullptr);
    }
    RendererFree(context);
}

}  // namespace

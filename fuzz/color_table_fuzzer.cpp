// The colour-table file: any bytes as the model's colour table, loaded as the renderer loads it
// and looked up for every page setting the colour sample model can ask for (colour modes,
// resolutions, toner save), with the threshold matrices tiled to a page.
#include "FuzzSupport.h"

#include "core/settings/DevModeService.h"
#include "filter/render/color/ColorTableFile.h"
#include "filter/render/RenderOptions.h"
#include "filter/render/Renderer.h"

#include <cstring>

namespace {

const char kName[] = "L_FUZZ";

struct PageSetting {
    WORD wColor;    // 1 monochrome, 2 and 3 colour
    WORD wQuality;  // resolution code
    WORD wTonerSave;
};
constexpr PageSetting kSettings[] = {
    {1, 2, 0}, {2, 2, 0}, {3, 1, 0}, {2, 3, 1}, {1, 4, 1},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The image on its own, asked for every type with every key byte free.
    tagCOLORTABLEIMAGE* image = LoadColorTableImage(data, size);
    if (image != nullptr) {
        BYTE key[CT_KEY_BYTES] = {};
        BYTE mask[CT_KEY_BYTES] = {};
        mask[CT_KEY_TYPE] = 0xFF;
        for (int type = 0; type <= CT_SECTION_TYPES + 1; ++type) {
            key[CT_KEY_TYPE] = static_cast<BYTE>(type);
            tagCOLORTABLEENTRY entry{};
            FindColorTableEntry(key, mask, image, &entry);
        }
        FreeColorTableImage(image);
    }

    // The file as the renderer reads it for a job of the colour model.
    const std::string dataDir = orvfuzz::DataDir();
    orvfuzz::WriteScratchFile("usr/local/share/orvalen/printer/data/L_FUZZ", data, size);
    const tagSPCDATA* model = orvfuzz::SampleModel("GC7350");
    if (model == nullptr)
        return 0;
    DRVDEVMODE settings{};
    settings.dm.dmSize = kDevmodePublicSize;
    settings.dm.dmDriverExtra = kDevmodePrivateSize;
    SpcDevmodeService(model, nullptr, &settings, DEVMODE_SERVICE_DEFAULTS);
    tagRENDEROPTIONS options{};
    options.pModelData = const_cast<tagSPCDATA*>(model);
    options.pszDataDir = dataDir.c_str();
    std::memcpy(options.szColorTableName, kName, sizeof kName);
    tagRENDERCONTEXT* context = RendererCreate(nullptr, &settings, &options);
    if (context == nullptr)
        return 0;
    options.dwPageWidth = 97;
    options.dwPageHeight = 64;
    for (const PageSetting& page : kSettings) {
        settings.priv.dmColor = page.wColor;
        settings.priv.dmQuality = page.wQuality;
        settings.priv.dmTonerSave = page.wTonerSave;
        RendererSetupColorTables(&settings, context, &options);
        RendererSetupDitherMatrices(&settings, context, &options);
    }
    RendererFree(context);
    return 0;
}

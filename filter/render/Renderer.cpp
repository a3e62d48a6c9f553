#include "filter/render/Renderer.h"
#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"

#include "filter/render/color/ColorTableFile.h"
#include "filter/render/color/ColorTableLoad.h"
#include "filter/render/encode/PageBitmap.h"
#include "filter/render/language/LanguageType.h"
#include "filter/render/screen/ScreenScratch.h"
#include "filter/log/FilterLog.h"
#include "core/settings/DevMode.h"

#include <cstdlib>
#include <cstring>

namespace {

// Views of the model data that creation reads.
constexpr LONG kViewCompression = 4;  // tagLANGUAGEOPTIONS
constexpr LONG kViewRenderBands = 3;  // tagRENDERBANDS

constexpr DWORD kDefaultCompressOption = 2;

bool IsRasterLanguage(DWORD type)
{
    return type == LANGTYPE_PCL || type == LANGTYPE_GDI;
}

void FreeColorBlock(tagCOLORBLOCK* block)
{
    if (block == nullptr) {
        return;
    }
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        std::free(block->apMatrix[slot]);
        std::free(block->apToneCurve[slot]);
    }
    std::free(block);
}

void SetCompression(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    context->pfnCompress = options->pfnCompress;
    context->dwCompressOption = kDefaultCompressOption;
    context->dwStripeRows = 0;  // all remaining rows
    const ModelAnswer answer(RenderModelData(options), SPCID_LANGUAGE, 0, kViewCompression, RenderModelQuery(options));
    if (answer.Found() && answer.Count() != 0 && answer.Holds(&tagLANGUAGEOPTIONS::dwCompressOption) &&
        answer.Holds(&tagLANGUAGEOPTIONS::dwStripeRows)) {
        const tagLANGUAGEOPTIONS language = answer.Record<tagLANGUAGEOPTIONS>();
        context->dwCompressOption = language.dwCompressOption & 0xFFFF;
        context->dwStripeRows = language.dwStripeRows & 0xFFFF;
    }
}

// Only the GDI language draws the page at a multiple of its rendered resolution.
void SetResolutionMultipliers(tagRENDERCONTEXT* context, const DRVDEVMODE* settings)
{
    switch (settings->priv.dmQuality) {
    case 3:
        context->lResMultiplierX = 2;  // twice the dots across, rows as rendered
        break;
    case 4:
        // Quality 4 is drawn at twice the resolution both ways only when the page was rendered at
        // 600 dpi or less; a page rendered at 1200 dpi already has its dots.
        if (settings->dm.dmPrintQuality <= 600) {
            context->lResMultiplierX = 2;
            context->lResMultiplierY = 2;
        }
        break;
    default:
        break;
    }
}

}  // namespace

LONG ModelBandWidthMultiple(const tagRENDEROPTIONS* options)
{
    const ModelAnswer answer(RenderModelData(options), SPCID_RENDERPARAMS, 0, kViewRenderBands,
                             RenderModelQuery(options));
    SHORT multiple = 0;
    if (!answer.Found() || answer.Count() == 0 || !answer.ReadField(&tagRENDERBANDS::sBandWidthMultiple, &multiple)) {
        return 0;
    }
    return multiple;
}

tagRENDERCONTEXT* RendererCreate(tagRENDERCONTEXT* existing, const DRVDEVMODE* settings, tagRENDEROPTIONS* options)
{
    if (settings == nullptr || options == nullptr) {
        return nullptr;
    }
    tagRENDERCONTEXT* context = existing;
    if (context == nullptr) {
        context = static_cast<tagRENDERCONTEXT*>(std::calloc(1, sizeof(tagRENDERCONTEXT)));
        if (context == nullptr) {
            return nullptr;
        }
    }
    context->lBandWidthMultiple = ModelBandWidthMultiple(options);

    context->dwLangFlags = 0;
    const DWORD type = QueryLanguageType(settings, context, options);
    QueryTonerSaveLevel(settings, context, options);
    if (!IsRasterLanguage(type)) {
        return context;  // a context whose job and page operations write nothing
    }

    if (context->pColorCache == nullptr) {
        context->pColorCache =
            static_cast<tagCOLORCACHEENTRY*>(std::calloc(COLOR_CACHE_ENTRIES, sizeof(tagCOLORCACHEENTRY)));
        if (context->pColorCache == nullptr) {
            RendererFree(context);
            return nullptr;
        }
    }
    FreeColorTableImage(context->pColorTable);
    context->pColorTable = ReadColorTableFile(options->pszDataDir, options->szColorTableName);
    if (context->pColorTable == nullptr) {
        RendererFree(context);
        LogMessage(LOG_ERROR, "Cannot load ColorTable File '%s'\n", options->szColorTableName);
        return nullptr;
    }

    context->lResMultiplierX = 1;
    context->lResMultiplierY = 1;
    if (type == LANGTYPE_GDI) {
        SetCompression(context, options);
        SetResolutionMultipliers(context, settings);
    }
    return context;
}

void RendererFree(tagRENDERCONTEXT* context)
{
    if (context == nullptr) {
        return;
    }
    OutputBufferFree(context->pOutput);
    std::free(context->pColorCache);
    FreeColorTableImage(context->pColorTable);
    FreeColorBlock(context->pColorBlock);
    FreeScreenScratch(context->pScreenScratch);
    FreeSparePageBits(context);
    std::free(context);
}

WORD RendererSetupColorTables(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (settings == nullptr || context == nullptr || options == nullptr) {
        return 0;
    }
    if (!IsRasterLanguage(options->dwLangType)) {
        return 1;
    }
    if (context->pColorBlock == nullptr) {
        context->pColorBlock = static_cast<tagCOLORBLOCK*>(std::calloc(1, sizeof(tagCOLORBLOCK)));
        if (context->pColorBlock == nullptr) {
            return 0;
        }
    }
    if (context->pColorCache != nullptr) {
        // Entry 0 is reached only by black (0, 0, 0); white there matches nothing.
        std::memset(context->pColorCache, 0, COLOR_CACHE_ENTRIES * sizeof(tagCOLORCACHEENTRY));
        context->pColorCache[0].bRed = context->pColorCache[0].bGreen = context->pColorCache[0].bBlue = 255;
    }
    LoadGrayWeights(settings, context, options);
    const bool lut = LoadColorLut(settings, context, options) != FLAG_FALSE;
    const bool curves = lut && LoadToneCurves(settings, context, options) != FLAG_FALSE;
    return curves ? 1 : 0;
}

WORD RendererSetupDitherMatrices(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (settings == nullptr || context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    context->wBandFlags = BAND_FIRST;
    if (!IsRasterLanguage(options->dwLangType)) {
        return FLAG_TRUE;
    }
    if (context->pColorBlock == nullptr) {
        context->pColorBlock = static_cast<tagCOLORBLOCK*>(std::calloc(1, sizeof(tagCOLORBLOCK)));
        if (context->pColorBlock == nullptr) {
            return FLAG_FALSE;
        }
    }
    return LoadDitherMatrices(settings, context, options);
}

const BYTE* RendererTakeOutputChunk(tagRENDERCONTEXT* context, DWORD* length)
{
    if (context == nullptr || context->pOutput == nullptr || length == nullptr) {
        return nullptr;
    }
    tagOUTPUTBUFFER* buffer = context->pOutput;
    while (buffer->pRead != nullptr) {
        tagOUTPUTBLOCK* block = buffer->pRead;
        buffer->pRead = block->pNext;
        if (block->dwUsed > 0) {
            *length = block->dwUsed;
            return block->pData;
        }
    }
    return nullptr;
}

void RendererClearOutput(tagRENDERCONTEXT* context)
{
    if (context != nullptr) {
        OutputBufferReset(context->pOutput);
    }
}

tagOUTPUTBUFFER* RendererStartOutput(tagRENDERCONTEXT* context)
{
    if (context == nullptr) {
        return nullptr;
    }
    if (context->pOutput == nullptr) {
        context->pOutput = OutputBufferCreate();
    } else {
        OutputBufferReset(context->pOutput);
    }
    return context->pOutput;
}

tagOUTPUTBUFFER* StartCommandOutput(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    return options != nullptr ? RendererStartOutput(context) : nullptr;
}

tagOUTPUTBUFFER* StartCommandOutput(tagRENDERCONTEXT* context, const DRVDEVMODE* settings,
                                    const tagRENDEROPTIONS* options)
{
    return settings != nullptr ? StartCommandOutput(context, options) : nullptr;
}

void ForgetPageHeaderValues(tagRENDERCONTEXT* context)
{
    context->sQuality = context->sPaperSize = context->sPaperWidth = context->sPaperLength = context->sMediaType =
        context->sPaperSource = static_cast<SHORT>(0xFFFF);
}

WORD WriteCommandText(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options, const char* text)
{
    tagOUTPUTBUFFER* out = StartCommandOutput(context, options);
    if (out == nullptr) {
        return FLAG_FALSE;
    }
    OutputBufferAppendString(out, text);
    return FLAG_TRUE;
}

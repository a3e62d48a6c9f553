// Small helpers of the renderer tests: settings records and a renderer context over a
// colour-table image.
#pragma once

#include "core/settings/DevMode.h"
#include "filter/render/color/ColorTableFile.h"
#include "filter/render/RenderContext.h"
#include "filter/render/Renderer.h"
#include "support/StderrCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace rendertest {

struct SettingsFields {
    SHORT color = 2;  // PRIVDM.dmColor
    WORD grayRepro = 0;
    WORD profile = 0;
    SHORT quality = 2;
    SHORT tonerSave = 0;
    DWORD media = 0;
    SHORT printQuality = 600;
    WORD languageMode = 0;
};

inline DRVDEVMODE MakeSettings(const SettingsFields& f)
{
    DRVDEVMODE dm{};
    dm.dm.dmSize = kDevmodePublicSize;
    dm.dm.dmDriverExtra = kDevmodePrivateSize;
    dm.dm.dmPrintQuality = f.printQuality;
    dm.dm.dmMediaType = f.media;
    dm.priv.dmColor = f.color;
    dm.priv.dmClrCtrl.wGrayRepro = f.grayRepro;
    dm.priv.dmClrCtrl.wProfile = f.profile;
    dm.priv.dmQuality = f.quality;
    dm.priv.dmTonerSave = f.tonerSave;
    dm.priv.dmLanguageMode = f.languageMode;
    return dm;
}

// A renderer context holding a colour-table image and an empty colour block, as the per-page
// loaders find it after creation and the first colour set-up.
class TableContext {
public:
    explicit TableContext(const std::vector<uint8_t>& file, DWORD langFlags = 0)
    {
        m_context = static_cast<tagRENDERCONTEXT*>(std::calloc(1, sizeof(tagRENDERCONTEXT)));
        m_context->dwLangFlags = langFlags;
        m_context->lResMultiplierX = 1;
        m_context->lResMultiplierY = 1;
        m_context->pColorTable = LoadColorTableImage(file.data(), file.size());
        EXPECT_NE(m_context->pColorTable, nullptr) << "the test's colour table should be sound";
        m_context->pColorBlock = static_cast<tagCOLORBLOCK*>(std::calloc(1, sizeof(tagCOLORBLOCK)));
        m_options.dwLangType = LANGTYPE_GDI;
        m_options.dwPageWidth = 16;
        m_options.dwPageHeight = 16;
    }
    ~TableContext() { RendererFree(m_context); }
    TableContext(const TableContext&) = delete;
    TableContext& operator=(const TableContext&) = delete;

    tagRENDERCONTEXT* context() { return m_context; }
    tagCOLORBLOCK* block() { return m_context->pColorBlock; }
    tagRENDEROPTIONS* options() { return &m_options; }

private:
    tagRENDERCONTEXT* m_context = nullptr;
    tagRENDEROPTIONS m_options{};
};

}  // namespace rendertest

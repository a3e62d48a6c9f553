// The two model-data lookups made when the renderer is created: the printer-language type with
// the toner-save flags, and the toner-save level.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"

struct DRVDEVMODE;

// Called once from RendererCreate before the colour-table file is read. The language type
// (0, LANGTYPE_PCL or LANGTYPE_GDI) from dmLanguageMode and the model; sets the toner-save flags
// of the context and, for a non-zero type, the option block's type and capability mask.
DWORD QueryLanguageType(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, tagRENDEROPTIONS* options);

// The toner-save level of the context: non-zero only when toner save is on and the model makes it
// by adjusting the colours rather than by screens of its own.
SHORT QueryTonerSaveLevel(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

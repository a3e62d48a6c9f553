// The renderer's job and page commands, written by the option block's language type through its
// writers (PclCommands.h, GdiCommands.h) into the context's output buffer, which the front end
// drains after each call. Results 0xFFFF success, 0 failure unless said otherwise.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"

struct DRVDEVMODE;

// Job and page commands by the option block's language type (type 1 PCL-style, type 2 GDI; any
// other type writes nothing and gives 0).
WORD RendererBeginJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
// Page in copy set := 0 and copy number := 1, then the job setup.
WORD RendererSetupJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
// Page in copy set + 1, then blank sheets due and the page header.
WORD RendererBeginPage(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
// The page trailer, then the page's ink mask is cleared.
WORD RendererEndPage(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
// End of a copy set: the trailing blank sheets (type 2 only; other types write nothing and give 0).
WORD RendererFlushPendingPages(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
WORD RendererEndJob(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// The renderer's job and page commands, written by the option block's language type through its
// writers (PclCommands.h, GdiCommands.h) into the context's output buffer, which the front end
// drains after each call. Results 0xFFFF success, 0 failure unless said otherwise.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"

struct DRVDEVMODE;

// The two shapes of a job or page command, here and in each language's writers: with the settings
// record, or with the context alone.
using JobCommandWriter = WORD(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
using ContextCommandWriter = WORD(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// Job and page commands by the option block's language type (type 1 PCL-style, type 2 GDI; any
// other type writes nothing and gives 0).
JobCommandWriter RendererBeginJob;
// Page in copy set := 0 and copy number := 1, then the job setup.
JobCommandWriter RendererSetupJob;
// Page in copy set + 1, then blank sheets due and the page header.
JobCommandWriter RendererBeginPage;
// The page trailer, then the page's ink mask is cleared.
ContextCommandWriter RendererEndPage;
// End of a copy set: the trailing blank sheets (type 2 only; other types write nothing and give 0).
JobCommandWriter RendererFlushPendingPages;
ContextCommandWriter RendererEndJob;

// The renderer's entry points that the filter's front end calls, apart from the job and page
// commands (RendererJob.h): the context, its tables and its output buffer (results 0xFFFF success,
// 0 failure unless said otherwise). Every operation leaves its printer bytes in the context's
// output buffer; the front end drains it after each call.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/RenderContext.h"
#include "filter/render/RenderOptions.h"

struct DRVDEVMODE;

// Creates the context (or re-initialises `existing`): language type, toner-save level, and for
// language types 1 and 2 the colour cache and the colour-table file. nullptr without settings or
// options, when memory runs out, or when the colour-table file cannot be read ("Cannot load
// ColorTable File '%s'" is logged and the context, `existing` included, is freed).
tagRENDERCONTEXT* RendererCreate(tagRENDERCONTEXT* existing, const DRVDEVMODE* settings, tagRENDEROPTIONS* options);

// Frees the context and everything it owns; nullptr is harmless.
void RendererFree(tagRENDERCONTEXT* context);

// The band width multiple the option block's model gives (capability 77 view 3), as it gives it: 0 when the model
// has none, and a 0 or a negative value passed on unchanged. The renderer keeps it as it is (0:
// no rounding of the binding shift); the page reader needs a positive one and puts its own
// default in place of anything else.
LONG ModelBandWidthMultiple(const tagRENDEROPTIONS* options);

// Per page: gray weights, colour LUT and tone curves. 1 when the LUT and the curves were found,
// else 0; language types other than 1 and 2 load nothing and give 1.
WORD RendererSetupColorTables(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// Per page: marks the next band the first of the page and loads the threshold matrices.
WORD RendererSetupDitherMatrices(const DRVDEVMODE* settings, tagRENDERCONTEXT* context,
                                 const tagRENDEROPTIONS* options);

// The next filled output block's bytes and their count, or nullptr when drained.
const BYTE* RendererTakeOutputChunk(tagRENDERCONTEXT* context, DWORD* length);

// Resets the output buffer after a drain.
void RendererClearOutput(tagRENDERCONTEXT* context);

// What every writer does first: the context's output buffer emptied, created when there is none;
// nullptr (the writer then writes nothing and fails) when it cannot be created.
tagOUTPUTBUFFER* RendererStartOutput(tagRENDERCONTEXT* context);

// The start of a job or page command writer: RendererStartOutput once the writer has what it reads
// (its options, and its settings in the second form); nullptr, with the buffer left as it was, when
// one of them is missing or the buffer cannot be made. The writer then writes nothing and fails.
tagOUTPUTBUFFER* StartCommandOutput(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
tagOUTPUTBUFFER* StartCommandOutput(tagRENDERCONTEXT* context, const DRVDEVMODE* settings,
                                    const tagRENDEROPTIONS* options);

// At the job's setup: no page header has been sent, so every page-header value of the context
// (quality, paper size, width and length, media, source) differs from what the first page brings.
void ForgetPageHeaderValues(tagRENDERCONTEXT* context);

// A writer whose whole output is one fixed text: StartCommandOutput(context, options), then the
// text. 0xFFFF, or 0 (nothing written) when the buffer cannot be had or the options are missing.
WORD WriteCommandText(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options, const char* text);

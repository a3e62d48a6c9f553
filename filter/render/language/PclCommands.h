// Job and page headers of the PCL-style language (language type 1). No raster data goes out for
// this language: every page is a header and a form feed. Paper, media and source commands appear
// only when they change between pages of a job. Writers take (settings record, renderer context,
// option block), empty the context's output buffer first and return 0xFFFF, or 0 when the buffer
// cannot be had or an argument is missing.
#pragma once

#include "core/WinTypes.h"
#include "filter/render/OutputBuffer.h"

struct DRVDEVMODE;
struct tagRENDERCONTEXT;
struct tagRENDEROPTIONS;

WORD PclBeginJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
WORD PclSetupJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
WORD PclBeginPage(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
WORD PclEndPage(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);
WORD PclEndJob(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options);

// Appends the duplex binding-margin command (first page of a copy set only). 0 when an argument
// is missing, else 0xFFFF whether or not a command was due.
WORD PclBindingShift(tagOUTPUTBUFFER* out, const DRVDEVMODE* settings, tagRENDERCONTEXT* context,
                     const tagRENDEROPTIONS* options);

// The renderer's job and page entry points: counters of the copy set, then the writer of the
// option block's printer language.
#include "filter/render/Renderer.h"

#include "filter/render/language/GdiCommands.h"
#include "filter/render/language/PclCommands.h"

WORD RendererBeginJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    switch (options->dwLangType) {
    case LANGTYPE_PCL:
        return PclBeginJob(settings, context, options);
    case LANGTYPE_GDI:
        return GdiBeginJob(settings, context, options);
    default:
        return FLAG_FALSE;
    }
}

WORD RendererSetupJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr) {
        return FLAG_FALSE;
    }
    context->lPageInSet = 0;
    context->lCopyNumber = 1;
    if (options == nullptr) {
        return FLAG_FALSE;
    }
    switch (options->dwLangType) {
    case LANGTYPE_PCL:
        return PclSetupJob(settings, context, options);
    case LANGTYPE_GDI:
        return GdiSetupJob(settings, context, options);
    default:
        return FLAG_FALSE;
    }
}

WORD RendererBeginPage(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr) {
        return FLAG_FALSE;
    }
    ++context->lPageInSet;
    if (options == nullptr) {
        return FLAG_FALSE;
    }
    switch (options->dwLangType) {
    case LANGTYPE_PCL:
        return PclBeginPage(settings, context, options);
    case LANGTYPE_GDI:
        return GdiBeginPage(settings, context, options);
    default:
        return FLAG_FALSE;
    }
}

WORD RendererEndPage(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    WORD result = FLAG_FALSE;
    switch (options->dwLangType) {
    case LANGTYPE_PCL:
        result = PclEndPage(context, options);
        break;
    case LANGTYPE_GDI:
        result = GdiEndPage(context, options);
        break;
    default:
        break;
    }
    context->dwInkMask = 0;
    return result;
}

WORD RendererFlushPendingPages(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr || options == nullptr || options->dwLangType != LANGTYPE_GDI) {
        return FLAG_FALSE;
    }
    return GdiFlushPendingPages(settings, context, options);
}

WORD RendererEndJob(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    switch (options->dwLangType) {
    case LANGTYPE_PCL:
        return PclEndJob(context, options);
    case LANGTYPE_GDI:
        return GdiEndJob(context, options);
    default:
        return FLAG_FALSE;
    }
}

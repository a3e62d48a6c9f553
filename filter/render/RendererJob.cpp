// The renderer's job and page entry points: counters of the copy set, then the writer of the
// option block's printer language, looked up in one table.
#include "filter/render/RendererJob.h"

#include "filter/render/language/GdiCommands.h"
#include "filter/render/language/PclCommands.h"

namespace {

// The job and page command writers of one printer language. Only the GDI language has trailing
// blank sheets to flush; for the other the flush writes nothing and fails.
struct tagLANGUAGEWRITERS {
    DWORD dwLangType;
    JobCommandWriter* pfnBeginJob;
    JobCommandWriter* pfnSetupJob;
    JobCommandWriter* pfnBeginPage;
    ContextCommandWriter* pfnEndPage;
    JobCommandWriter* pfnFlushPendingPages;  // trailing blank sheets of a copy set
    ContextCommandWriter* pfnEndJob;
};

constexpr tagLANGUAGEWRITERS kLanguageWriters[] = {
    {LANGTYPE_PCL, PclBeginJob, PclSetupJob, PclBeginPage, PclEndPage, nullptr, PclEndJob},
    {LANGTYPE_GDI, GdiBeginJob, GdiSetupJob, GdiBeginPage, GdiEndPage, GdiFlushPendingPages, GdiEndJob},
};

// The writers of the option block's language, or nullptr for any other type.
const tagLANGUAGEWRITERS* WritersOf(const tagRENDEROPTIONS* options)
{
    for (const tagLANGUAGEWRITERS& writers : kLanguageWriters) {
        if (writers.dwLangType == options->dwLangType) {
            return &writers;
        }
    }
    return nullptr;
}

}  // namespace

WORD RendererBeginJob(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    const tagLANGUAGEWRITERS* writers = WritersOf(options);
    return writers != nullptr ? writers->pfnBeginJob(settings, context, options) : FLAG_FALSE;
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
    const tagLANGUAGEWRITERS* writers = WritersOf(options);
    return writers != nullptr ? writers->pfnSetupJob(settings, context, options) : FLAG_FALSE;
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
    const tagLANGUAGEWRITERS* writers = WritersOf(options);
    return writers != nullptr ? writers->pfnBeginPage(settings, context, options) : FLAG_FALSE;
}

WORD RendererEndPage(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    const tagLANGUAGEWRITERS* writers = WritersOf(options);
    const WORD result = writers != nullptr ? writers->pfnEndPage(context, options) : FLAG_FALSE;
    context->dwInkMask = 0;
    return result;
}

WORD RendererFlushPendingPages(const DRVDEVMODE* settings, tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    const tagLANGUAGEWRITERS* writers = WritersOf(options);
    if (writers == nullptr || writers->pfnFlushPendingPages == nullptr) {
        return FLAG_FALSE;
    }
    return writers->pfnFlushPendingPages(settings, context, options);
}

WORD RendererEndJob(tagRENDERCONTEXT* context, const tagRENDEROPTIONS* options)
{
    if (context == nullptr || options == nullptr) {
        return FLAG_FALSE;
    }
    const tagLANGUAGEWRITERS* writers = WritersOf(options);
    return writers != nullptr ? writers->pfnEndJob(context, options) : FLAG_FALSE;
}

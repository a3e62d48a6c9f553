// How the filter reads libgs results: PostScript errors (-1 to -99) and the two fatal codes stop the
// job; the interpreter's own signals below -99 (quit, need more input, ...) let it go on.
#include "filter/child/GsErrors.h"

#include "filter/log/FilterLog.h"

#include <iterator>

namespace {

constexpr int kFatalError = -100;
constexpr int kStackOverflow = -104;

// PostScript error names by -code.
const char* const kErrorNames[] = {
    nullptr,
    "unknownerror",
    "dictfull",
    "dictstackoverflow",
    "dictstackunderflow",
    "execstackoverflow",
    "interrupt",
    "invalidaccess",
    "invalidexit",
    "invalidfileaccess",
    "invalidfont",
    "invalidrestore",
    "ioerror",
    "limitcheck",
    "nocurrentpoint",
    "rangecheck",
    "stackoverflow",
    "stackunderflow",
    "syntaxerror",
    "timeout",
    "typecheck",
    "undefined",
    "undefinedfilename",
    "undefinedresult",
    "unmatchedmark",
    "VMerror",
    "configurationerror",
    "invalidcontext",
    "undefinedresource",
    "unregistered",
    "invalidid",
};
static_assert(std::size(kErrorNames) == 31, "error names 1 to 30");

}  // namespace

const char* GsErrorName(int iCode)
{
    if (iCode >= 0 || iCode <= -static_cast<int>(std::size(kErrorNames))) {
        return nullptr;
    }
    return kErrorNames[-iCode];
}

int CheckGsError(int iCode, bool bReport)
{
    if (iCode >= 0) {
        return 1;
    }
    if (iCode == kFatalError) {
        if (bReport) {
            LogMessage(LOG_ERROR, "GSLIB fatal internal error\n");
        }
        return 0;
    }
    if (iCode == kStackOverflow) {
        if (bReport) {
            LogMessage(LOG_ERROR, "GSLIB stack overflow\n");
        }
        return 0;
    }
    if (iCode < kFatalError) {
        return 1;
    }
    if (bReport) {
        // Codes without a PostScript name (-31 to -99) are reported by number.
        const char* pszName = GsErrorName(iCode);
        LogMessage(LOG_ERROR, "GSLIB %d, %s\n\n", iCode, pszName != nullptr ? pszName : "unknown error code");
    }
    return 0;
}

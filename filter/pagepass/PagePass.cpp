// The page pass as the Ghostscript child runs it: input from the job, text to the interpreter,
// the settings record to standard output.
#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassRun.h"

#include "filter/child/GhostscriptChild.h"

#include <unistd.h>

#include <climits>

namespace {

int FeedInterpreter(void* pContext, const char* pText, size_t cbText)
{
    return FeedGhostscript(static_cast<tagJOBINFO*>(pContext), pText, cbText);
}

}  // namespace

int pstops_run(tagJOBINFO* pJob, char* pszFirstLine, size_t cchLine, size_t cbBuffer)
{
    if (pJob == nullptr || pszFirstLine == nullptr || cbBuffer < 2 || cchLine >= cbBuffer) {
        return 1;
    }
    const int size = cbBuffer > INT_MAX ? INT_MAX : static_cast<int>(cbBuffer);
    const tagPAGEPASSIO io{pJob->input, FeedInterpreter, pJob, STDOUT_FILENO};
    return RunPagePass(pJob, &io, pszFirstLine, static_cast<int>(cchLine), size);
}

#include "filter/job/OutputSink.h"

#include "core/util/Descriptor.h"
#include "filter/job/FilterHooks.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

const char kNoSpaceMessage[] =
    "ERROR: There are not enough space in system drive.Increase the disk space on the system drive (to "
    "remove unnecessary files) and try again.\n";
static_assert(sizeof(kNoSpaceMessage) - 1 == 139, "the spool write failure message is 139 bytes");

}  // namespace

void InitJobLocks(tagJOBINFO* pJob)
{
    pthread_mutex_init(&pJob->outputLock, nullptr);
    pthread_mutex_init(&pJob->pageLock, nullptr);
}

void DestroyJobLocks(tagJOBINFO* pJob)
{
    pthread_mutex_destroy(&pJob->pageLock);
    pthread_mutex_destroy(&pJob->outputLock);
}

long OutputWrite(tagJOBINFO* pJob, const void* pvBytes, size_t cb)
{
    if (pJob == nullptr || (pvBytes == nullptr && cb > 0)) {
        return 0;
    }
    const BYTE* pb = static_cast<const BYTE*>(pvBytes);
    long lResult = 0;
    pthread_mutex_lock(&pJob->outputLock);
    pJob->iActivity = 1;
    if (pJob->spool == nullptr) {
        const int fd = JobHooks(pJob).outputFd >= 0 ? JobHooks(pJob).outputFd : STDOUT_FILENO;
        lResult = WriteAll(fd, pb, cb) == 0 ? static_cast<long>(cb) : -1;
    } else if (pJob->dwSpoolOk != 0 && pJob->spool != SPOOL_REFUSED) {
        // Flushed at once, so that a full disk shows here and not only when the file is closed.
        size_t written = cb > 0 ? fwrite(pb, 1, cb, pJob->spool) : 0;
        if (written < cb || fflush(pJob->spool) != 0) {
            pJob->dwSpoolOk = 0;
            WriteAll(STDERR_FILENO, kNoSpaceMessage, sizeof(kNoSpaceMessage) - 1);
        } else {
            lResult = static_cast<long>(cb);
        }
    }
    pthread_mutex_unlock(&pJob->outputLock);
    return lResult;
}

long OutputPrintf(tagJOBINFO* pJob, const char* pszFormat, ...)
{
    if (pszFormat == nullptr) {
        return -1;
    }
    size_t cbBuffer = 128;
    for (;;) {
        char* pszText = static_cast<char*>(std::malloc(cbBuffer));
        if (pszText == nullptr) {
            return -1;
        }
        va_list args;
        va_start(args, pszFormat);
        int n = vsnprintf(pszText, cbBuffer, pszFormat, args);
        va_end(args);
        if (n < 0) {
            std::free(pszText);
            return -1;
        }
        if (static_cast<size_t>(n) < cbBuffer) {
            long lResult = OutputWrite(pJob, pszText, static_cast<size_t>(n));
            std::free(pszText);
            return lResult;
        }
        std::free(pszText);
        cbBuffer = static_cast<size_t>(n) + 1;
    }
}

long OutputPuts(tagJOBINFO* pJob, const char* psz)
{
    if (psz == nullptr) {
        return 0;
    }
    return OutputWrite(pJob, psz, std::strlen(psz));
}

long OutputPutc(tagJOBINFO* pJob, int c)
{
    BYTE b = static_cast<BYTE>(c);
    return OutputWrite(pJob, &b, 1);
}

#include "filter/job/KeepAlive.h"

#include "filter/job/OutputSink.h"
#include "core/model/ModelAnswer.h"
#include "core/model/SpcFixedAnswers.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr LONG kKeepAliveView = 4;  // tagLANGUAGEOPTIONS

}  // namespace

int ReadKeepAliveSeconds(const tagSPCDATA* pSpcData)
{
    const ModelAnswer answer(pSpcData, SPCID_LANGUAGE, 0, kKeepAliveView);
    DWORD dwSeconds = 0;
    if (!answer.Answered() || !answer.ReadField(&tagLANGUAGEOPTIONS::dwKeepAliveSeconds, &dwSeconds)) {
        return 0;
    }
    return dwSeconds > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(dwSeconds);
}

void* KeepAliveThread(void* pvJob)
{
    tagJOBINFO* pJob = static_cast<tagJOBINFO*>(pvJob);
    bool bArmed = false;
    int iIdle = 0;
    int iOldState = 0;
    for (;;) {
        // Cancellation is acted on only here, never while a lock is held.
        pthread_setcancelstate(PTHREAD_CANCEL_ENABLE, &iOldState);
        sleep(1);
        pthread_testcancel();
        pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &iOldState);

        if (bArmed) {
            ++iIdle;
        }
        pthread_mutex_lock(&pJob->outputLock);
        if (pJob->iActivity != 0) {
            pJob->iActivity = 0;
            bArmed = true;
            iIdle = 0;
        }
        pthread_mutex_unlock(&pJob->outputLock);
        if (!bArmed || iIdle < pJob->iKeepAliveSeconds) {
            continue;
        }
        if (pthread_mutex_trylock(&pJob->pageLock) != 0) {
            continue;
        }
        OutputWrite(pJob, kKeepAliveSequence, kKeepAliveSequenceLength);
        iIdle = 0;
        pthread_mutex_unlock(&pJob->pageLock);
    }
    return nullptr;
}

int StartKeepAliveThread(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->iKeepAliveSeconds <= 0) {
        return 0;
    }
    pthread_t thread;
    if (pthread_create(&thread, nullptr, KeepAliveThread, pJob) != 0) {
        return 0;
    }
    pJob->keepAliveThread = thread;
    return -1;
}

void StopKeepAliveThread(tagJOBINFO* pJob)
{
    if (pJob == nullptr || pJob->keepAliveThread == 0) {
        return;
    }
    pthread_cancel(pJob->keepAliveThread);
    pthread_join(pJob->keepAliveThread, nullptr);
    pJob->keepAliveThread = 0;
}

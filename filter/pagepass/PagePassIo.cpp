// The page pass's input and output: lines and raw bytes of the job, with bytes put back when a
// counted binary section turns out not to hold; text for the interpreter and for the page store;
// and the holding of both until the document is known to have pages.
#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassIo.h"

#include "filter/log/FilterLog.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kFormatBufferSize = 1024;

void Feed(tagDOCSTATE* pDoc, const char* pb, size_t cb)
{
    if (cb == 0 || pDoc->bFeedFailed || pDoc->io.pfnFeed == nullptr) {
        return;
    }
    if (pDoc->io.pfnFeed(pDoc->io.pFeedContext, pb, cb) == 0) {
        pDoc->bFeedFailed = true;
    }
}

void CopyFileToFeed(tagDOCSTATE* pDoc, FILE* file)
{
    if (fflush(file) != 0 || fseek(file, 0, SEEK_SET) != 0) {
        return;
    }
    char buffer[kDocLineSize];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) {
        Feed(pDoc, buffer, n);
    }
}

// The held text goes to the interpreter and the unchanged copy is dropped; what follows is fed
// directly.
void FeedHeldDropCopy(tagDOCSTATE* pDoc)
{
    if (pDoc->pHeld != nullptr) {
        FILE* held = pDoc->pHeld;
        pDoc->pHeld = nullptr;
        CopyFileToFeed(pDoc, held);
        fclose(held);
    }
    if (pDoc->pReplay != nullptr) {
        fclose(pDoc->pReplay);
        pDoc->pReplay = nullptr;
    }
}

// Holding stops half-way (a scratch file failed): what is held goes out now, the rest follows
// directly, and the unchanged copy can no longer be used.
void StopHolding(tagDOCSTATE* pDoc)
{
    LogDebug("page pass: holding failed, the document is rewritten as read\n");
    FeedHeldDropCopy(pDoc);
}

void Tee(tagDOCSTATE* pDoc, const char* pb, size_t cb)
{
    if (pDoc->pReplay != nullptr && cb > 0 && fwrite(pb, 1, cb, pDoc->pReplay) != cb) {
        StopHolding(pDoc);
    }
}

// A scratch file that disappears with its last descriptor.
FILE* OpenScratch(tagJOBINFO* pJob)
{
    if (pJob->cups.cupsTempFd == nullptr) {
        return nullptr;
    }
    char name[1024];
    const int fd = pJob->cups.cupsTempFd(name, sizeof name);
    if (fd < 0) {
        return nullptr;
    }
    unlink(name);
    FILE* file = fdopen(fd, "w+b");
    if (file == nullptr) {
        close(fd);
    }
    return file;
}

}  // namespace

int ReadDocLine(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iSize)
{
    if (pLine == nullptr || iSize < 2) {
        return 0;
    }
    pLine[0] = '\0';
    if (pDoc->bFatal || pDoc->bFeedFailed) {
        return 0;
    }

    if (pDoc->pushbackAt < pDoc->pushback.size()) {
        // A line ends after LF, after CR LF, or after a CR alone, as the CUPS line reader has it.
        const size_t max = static_cast<size_t>(iSize) - 1;
        size_t n = 0;
        const std::string& pb = pDoc->pushback;
        size_t at = pDoc->pushbackAt;
        while (at < pb.size() && n < max) {
            const char c = pb[at++];
            pLine[n++] = c;
            if (c == '\n') {
                break;
            }
            if (c == '\r') {
                if (at < pb.size() && pb[at] == '\n' && n < max) {
                    pLine[n++] = pb[at++];
                }
                break;
            }
        }
        pDoc->pushbackAt = at;
        if (at >= pb.size()) {
            pDoc->pushback.clear();
            pDoc->pushbackAt = 0;
        }
        // A line cut by the end of the put-back bytes goes on in the file.
        if (n < max && n > 0 && pLine[n - 1] != '\n' && pLine[n - 1] != '\r' && pDoc->pushback.empty() &&
            pDoc->io.input != nullptr) {
            const ssize_t more = pJob->cups.cupsFileGetLine(pDoc->io.input, pLine + n, max - n + 1);
            if (more > 0) {
                Tee(pDoc, pLine + n, static_cast<size_t>(more));
                n += static_cast<size_t>(more);
            }
        }
        pLine[n] = '\0';
        return static_cast<int>(n);
    }

    if (pDoc->io.input == nullptr || pJob->cups.cupsFileGetLine == nullptr) {
        return 0;
    }
    const ssize_t n = pJob->cups.cupsFileGetLine(pDoc->io.input, pLine, static_cast<size_t>(iSize));
    if (n <= 0) {
        pLine[0] = '\0';
        return 0;
    }
    Tee(pDoc, pLine, static_cast<size_t>(n));
    return static_cast<int>(n);
}

size_t ReadDocBytes(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pb, size_t cb)
{
    size_t done = 0;
    if (pDoc->pushbackAt < pDoc->pushback.size()) {
        done = std::min(cb, pDoc->pushback.size() - pDoc->pushbackAt);
        std::memcpy(pb, pDoc->pushback.data() + pDoc->pushbackAt, done);
        pDoc->pushbackAt += done;
        if (pDoc->pushbackAt >= pDoc->pushback.size()) {
            pDoc->pushback.clear();
            pDoc->pushbackAt = 0;
        }
    }
    if (pDoc->io.input == nullptr || pJob->cups.cupsFileRead == nullptr) {
        return done;
    }
    while (done < cb) {
        const ssize_t n = pJob->cups.cupsFileRead(pDoc->io.input, pb + done, cb - done);
        if (n <= 0) {
            break;
        }
        Tee(pDoc, pb + done, static_cast<size_t>(n));
        done += static_cast<size_t>(n);
    }
    return done;
}

void UnreadDocBytes(tagDOCSTATE* pDoc, const char* pb, size_t cb)
{
    if (cb == 0) {
        return;
    }
    // Where the put-back bytes already read leave room, the bytes go in front of the unread ones
    // in place: a long put-back run read a section at a time is not copied again for each section.
    if (pDoc->pushbackAt >= cb) {
        pDoc->pushbackAt -= cb;
        std::memcpy(&pDoc->pushback[pDoc->pushbackAt], pb, cb);
        return;
    }
    std::string rest = pDoc->pushback.substr(pDoc->pushbackAt);
    pDoc->pushback.assign(pb, cb);
    pDoc->pushback += rest;
    pDoc->pushbackAt = 0;
}

void DocWrite(tagJOBINFO* /*pJob*/, tagDOCSTATE* pDoc, const char* pb, size_t cb)
{
    if (cb == 0) {
        return;
    }
    if (pDoc->pHeld != nullptr) {
        if (fwrite(pb, 1, cb, pDoc->pHeld) == cb) {
            return;
        }
        StopHolding(pDoc);
    }
    Feed(pDoc, pb, cb);
}

void DocPuts(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* psz)
{
    DocWrite(pJob, pDoc, psz, std::strlen(psz));
}

void StoreWrite(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pb, size_t cb)
{
    if (cb == 0) {
        return;
    }
    if (pDoc->pStoreOut == nullptr) {
        DocWrite(pJob, pDoc, pb, cb);
        return;
    }
    if (pJob->cups.cupsFileWrite(pDoc->pStoreOut, pb, cb) < 0) {
        // A page that cannot be stored whole would be printed wrong; the job stops instead.
        LogMessage(LOG_ERROR, "Unable to write page data: %s\n", std::strerror(errno));
        pDoc->bFatal = true;
    }
}

void StorePuts(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* psz)
{
    StoreWrite(pJob, pDoc, psz, std::strlen(psz));
}

void WriteTo(tagJOBINFO* pJob, tagDOCSTATE* pDoc, DocTarget target, const char* pb, size_t cb)
{
    if (target == DocTarget::Store) {
        StoreWrite(pJob, pDoc, pb, cb);
    } else {
        DocWrite(pJob, pDoc, pb, cb);
    }
}

int PrintfTo(tagJOBINFO* pJob, tagDOCSTATE* pDoc, DocTarget target, const char* pszFormat, ...)
{
    char buffer[kFormatBufferSize];
    va_list args;
    va_start(args, pszFormat);
    const int n = vsnprintf(buffer, sizeof buffer, pszFormat, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= sizeof buffer) {
        LogMessage(LOG_ERROR, "doc_printf overflow (%d bytes) detected, aborting!\n", n);
        // A text for the interpreter that does not fit is left out and the pass goes on; a page
        // that cannot be stored whole would be printed wrong, so the pass stops instead.
        if (target == DocTarget::Store) {
            pDoc->bFatal = true;
        }
        return 0;
    }
    WriteTo(pJob, pDoc, target, buffer, static_cast<size_t>(n));
    return -1;
}

bool StartHolding(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pFirstLine, size_t cbFirstLine)
{
    EndHolding(pDoc);
    pDoc->pHeld = OpenScratch(pJob);
    pDoc->pReplay = OpenScratch(pJob);
    if (pDoc->pHeld == nullptr || pDoc->pReplay == nullptr) {
        LogDebug("page pass: no scratch files, the document is rewritten as read\n");
        EndHolding(pDoc);
        return false;
    }
    Tee(pDoc, pFirstLine, cbFirstLine);
    return pDoc->pReplay != nullptr;
}

void ReleaseHeld(tagJOBINFO* /*pJob*/, tagDOCSTATE* pDoc)
{
    FeedHeldDropCopy(pDoc);
}

bool IsHolding(const tagDOCSTATE* pDoc)
{
    return pDoc->pHeld != nullptr && pDoc->pReplay != nullptr;
}

void ReplayUnchanged(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize)
{
    if (pDoc->pHeld == nullptr || pDoc->pReplay == nullptr) {
        return;
    }
    fclose(pDoc->pHeld);
    pDoc->pHeld = nullptr;
    FILE* replay = pDoc->pReplay;
    pDoc->pReplay = nullptr;
    // Everything read so far, the current line and put-back bytes included, is in the copy.
    CopyFileToFeed(pDoc, replay);
    fclose(replay);
    pDoc->pushback.clear();
    pDoc->pushbackAt = 0;
    FeedUnchanged(pJob, pDoc, pLine, 0, iSize);
    (void)iLength;
}

void FeedUnchanged(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize)
{
    if (iLength > 0) {
        Feed(pDoc, pLine, static_cast<size_t>(iLength));
    }
    if (pDoc->io.input == nullptr || pJob->cups.cupsFileRead == nullptr) {
        return;
    }
    ssize_t n;
    while (!pDoc->bFeedFailed && (n = pJob->cups.cupsFileRead(pDoc->io.input, pLine, static_cast<size_t>(iSize))) > 0) {
        Feed(pDoc, pLine, static_cast<size_t>(n));
    }
}

void EndHolding(tagDOCSTATE* pDoc)
{
    if (pDoc->pHeld != nullptr) {
        fclose(pDoc->pHeld);
    }
    if (pDoc->pReplay != nullptr) {
        fclose(pDoc->pReplay);
    }
    pDoc->pHeld = nullptr;
    pDoc->pReplay = nullptr;
}

// The parent's reader of the stream the Ghostscript child writes: record by record, a settings
// record replaces the job's settings, a PNM page goes to the renderer. The stream comes from
// Ghostscript running the job's PostScript, so every header field is bounded before it is used.
#include "filter/stream/PipeStream.h"
#include "filter/stream/StreamReader.h"
#include "filter/stream/PageGeometry.h"
#include "filter/stream/PageBands.h"

#include "core/dialog/ReviseDevmode.h"
#include "core/util/Descriptor.h"
#include "filter/log/FilterLog.h"
#include "filter/frame/RendererSetup.h"
#include "filter/frame/JobFraming.h"
#include "filter/job/StageTimes.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kSkipChunk = 256;

bool IsPnmSeparator(int c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// One byte of the header, or -1 at the end of the stream.
int ReadByte(int fd)
{
    BYTE b = 0;
    return ReadFull(fd, &b, 1) == 1 ? b : -1;
}

// A decimal field starting with *pcFirst and the one separator after it (left in *pcFirst). -1 when
// the field is missing, its value exceeds kMaxPnmDimension or no separator ends it.
long ReadDecimalField(int fd, int* pcFirst)
{
    int c = *pcFirst;
    if (c < '0' || c > '9') {
        return -1;
    }
    long lValue = 0;
    while (c >= '0' && c <= '9') {
        lValue = lValue * 10 + (c - '0');
        if (lValue > kMaxPnmDimension) {
            return -1;
        }
        c = ReadByte(fd);
    }
    if (!IsPnmSeparator(c)) {
        return -1;
    }
    *pcFirst = c;
    return lValue;
}

// The settings record of the stream, revised against the model before it governs the pages after
// it. A record of the wrong sizes is refused whole: the job keeps its settings.
int ReadSettingsRecord(tagJOBINFO* pJob, int fd)
{
    DRVDEVMODE record;
    if (SkipBytes(fd, kStreamHeaderSize - 3) == 0 || ReadFull(fd, &record, sizeof record) == 0 ||
        record.dm.dmSize != kDevmodePublicSize || record.dm.dmDriverExtra != kDevmodePrivateSize) {
        LogMessage(LOG_ERROR, "Invaild Data DEVMODE\n");
        return -1;
    }
    pJob->devmode = record;
    uiReviseDevmodeEx(pJob->pszPrinter, &pJob->cups, pJob->ppd, pJob->pSpcData, &pJob->devmode, &pJob->devmode, 2);
    return 0;
}

// A page is laid out wide when it is physically wider than high: its pixels on each axis divided by
// the resolution it was rendered at on that axis (Ghostscript's, the settings' dpi pair). Raw pixel
// counts would call a portrait page rendered at 1200 x 600 dpi wide. Without a usable resolution
// the pixels are compared as they are.
bool IsWiderThanHigh(const tagPAGEBITMAPINFO& info, const DEVMODE& dm)
{
    const int64_t xDpi = dm.dmPrintQuality;
    const int64_t yDpi = dm.dmYResolution;
    if (xDpi <= 0 || yDpi <= 0) {
        return info.lWidth > info.lHeight;
    }
    return int64_t{info.lWidth} * yDpi > int64_t{info.lHeight} * xDpi;
}

}  // namespace

size_t ReadFull(int fd, void* pv, size_t n)
{
    StageTimer read(STAGE_READ);
    // The end of the stream or a read error before n bytes: the record is incomplete.
    return ReadUpTo(fd, pv, n) == static_cast<ssize_t>(n) ? n : 0;
}

size_t SkipBytes(int fd, size_t n)
{
    BYTE abChunk[kSkipChunk];
    for (size_t left = n; left > 0;) {
        size_t take = left < sizeof abChunk ? left : sizeof abChunk;
        if (ReadFull(fd, abChunk, take) == 0) {
            return 0;
        }
        left -= take;
    }
    return n;
}

int ParsePnmHeader(int fd, tagPAGEBITMAPINFO* pInfo)
{
    if (pInfo == nullptr) {
        return 0;
    }
    int c = ReadByte(fd);
    while (c == '#') {
        while (c != '\n' && c != -1) {
            c = ReadByte(fd);
        }
        if (c == -1) {
            return 0;
        }
        c = ReadByte(fd);
    }
    long lWidth = ReadDecimalField(fd, &c);
    if (lWidth <= 0) {
        return 0;
    }
    c = ReadByte(fd);
    long lHeight = ReadDecimalField(fd, &c);
    if (lHeight <= 0) {
        return 0;
    }
    c = ReadByte(fd);
    long lMaxValue = ReadDecimalField(fd, &c);
    if (lMaxValue != kPnmMaxValue) {
        return 0;
    }
    pInfo->lWidth = static_cast<LONG>(lWidth);
    pInfo->lHeight = static_cast<LONG>(lHeight);
    return 1;
}

int ReadStreamRecord(tagJOBINFO* pJob, int fd)
{
    if (pJob == nullptr) {
        return -1;
    }
    tagPAGEBITMAPINFO info;
    for (;;) {
        BYTE abMagic[3];
        if (ReadFull(fd, abMagic, 1) == 0) {
            return 0;  // the end of the stream between records
        }
        if (ReadFull(fd, abMagic + 1, 2) == 0) {
            LogMessage(LOG_ERROR, "Invaild Data Header\n");
            return -1;
        }
        if (abMagic[0] == kStreamMagic0 && abMagic[1] == kStreamMagic1) {
            if (ReadSettingsRecord(pJob, fd) != 0) {
                return -1;
            }
            continue;
        }
        if (abMagic[0] != 'P' || !IsPnmSeparator(abMagic[2])) {
            continue;  // not a record: skipped
        }
        std::memset(&info, 0, sizeof info);
        info.dwSize = sizeof info;
        info.wPlanes = 1;
        switch (abMagic[1]) {
        case '6':
            info.wBitCount = 24;
            break;
        case '5':
            info.wBitCount = 8;
            break;
        default:
            // A bitmap page ("P4") has no maximum-value field and Ghostscript's colour device never
            // writes one; anything else is no page at all.
            LogMessage(LOG_ERROR, "Invaild Data Header\n");
            return -1;
        }
        if (ParsePnmHeader(fd, &info) == 0) {
            LogMessage(LOG_ERROR, "Invaild PNM Data Header\n");
            return -1;
        }
        break;
    }

    DEVMODE& dm = pJob->devmode.dm;
    const PRIVDM& priv = pJob->devmode.priv;
    SHORT sPaperId = dm.dmPaperSize;
    dm.dmOrientation = IsWiderThanHigh(info, dm) ? 2 : 1;
    if (priv.dmOutputPaperSize != 0 && priv.dmOutputPaperSize != sPaperId) {
        sPaperId = priv.dmOutputPaperSize;
        dm.dmPaperWidth = priv.dmOutputPaperWidth;
        dm.dmPaperLength = priv.dmOutputPaperLength;
    }
    tagPAGEGEOMETRY geometry;
    if (GetPageGeometry(pJob, sPaperId, dm.dmOrientation, &geometry) == 0) {
        return -1;
    }
    dm.dmPaperSize = static_cast<SHORT>(geometry.wPaperId);
    dm.dmOrientation = static_cast<SHORT>(geometry.wOrientation);
    if (ReadPageBands(pJob, fd, &info, &geometry, -1) == 0) {
        LogMessage(LOG_ERROR, "Convert Bitmap Error!\n");
        return -1;
    }
    return 1;
}

int RunBackend(tagJOBINFO* pJob, int fd)
{
    if (pJob == nullptr) {
        return -1;
    }
    if (InitRenderer(pJob) == 0) {
        FreeRenderer(pJob);
        return -1;
    }
    int iResult = 0;
    for (;;) {
        iResult = ReadStreamRecord(pJob, fd);
        if (iResult == 1) {
            SendPage(pJob);
            continue;
        }
        if (iResult == 0) {
            SendJobEnd(pJob);
        } else {
            AbortJob(pJob);
        }
        break;
    }
    FreeRenderer(pJob);
    return iResult;
}

#include "filter/pagepass/SettingsRecord.h"

#include "core/util/Descriptor.h"
#include "filter/stream/PipeStream.h"

#include <cstdio>
#include <cstring>

int WriteSettingsRecord(tagJOBINFO* pJob, int fd)
{
    static_assert(sizeof(DRVDEVMODE) == kDevmodeSize, "the record travels as its 1232-byte image");
    if (pJob == nullptr) {
        return 0;
    }

    // One buffer, one write where the pipe allows it: the parent reads header and record as one.
    BYTE record[sizeof(tagSTREAMHEADER) + kDevmodeSize] = {};
    tagSTREAMHEADER header{};
    header.abMagic[0] = kStreamMagic0;
    header.abMagic[1] = kStreamMagic1;
    for (int i = 0; i < 4; ++i) {
        header.abHeaderSize[i] = static_cast<BYTE>(kStreamHeaderSize >> (8 * i));
    }
    std::memcpy(record, &header, sizeof header);
    std::memcpy(record + sizeof header, &pJob->devmode, kDevmodeSize);

    if (fd == STDOUT_FILENO) {
        fflush(stdout);
    }
    return WriteAll(fd, record, sizeof record) == 0 ? -1 : 0;
}

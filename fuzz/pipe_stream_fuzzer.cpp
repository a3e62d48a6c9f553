// The stream between the filter's two processes: any bytes as what the Ghostscript child wrote,
// read by the parent record by record (settings records, PNM pages) and printed through the
// renderer, as for a job of the monochrome or the colour sample model.
#include "FuzzSupport.h"

#include "filter/stream/StreamReader.h"

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The length's lowest bit picks the model, so that both are reached without spending a byte.
    orvfuzz::ParentJob job((size & 1) != 0 ? "GC7350" : "GM4150");
    if (job->pSpcData == nullptr)
        return 0;
    static char title[] = "fuzz";
    static char user[] = "fuzz";
    job->pszTitle = title;
    job->pszUser = user;
    const int fd = orvfuzz::BytesFd(data, size);
    if (fd < 0)
        return 0;
    RunBackend(job.get(), fd);
    close(fd);
    return 0;
}

// The PostScript page pass: any text as the job's PostScript, read as a DSC document and written
// again for one of the layouts the pass makes (copies, pages per sheet, booklet, poster, fit),
// over the monochrome sample model and its queue PPD. The rewritten PostScript is dropped; the
// settings record goes to /dev/null.
#include "FuzzSupport.h"

#include "core/settings/DevModeService.h"
#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassRun.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int DropFeed(void*, const char*, size_t) { return -1; }

// The layouts, picked by the input's length so that every one is reached without spending a byte.
void ApplyLayout(size_t variant, DRVDEVMODE* pdm)
{
    PRIVDM& p = pdm->priv;
    switch (variant % 5) {
    case 0: pdm->dm.dmCopies = 2; pdm->dm.dmCollate = 1; break;
    case 1: p.dmLayoutPrint = 1; p.dmNup = 4; break;
    case 2: p.dmLayoutPrint = 2; p.dmBookletBinding = 1; break;
    case 3: p.dmLayoutPrint = 4; p.dmPosterX = 2; p.dmPosterY = 2; break;
    default: p.dmLayoutPrint = 8; break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tagCUPSFUNC& cups = orvfuzz::Cups();
    ppd_file_t* ppd = orvfuzz::SamplePpd("GM4150");
    if (cups.cupsFileOpen == nullptr || ppd == nullptr)
        return 0;
    const std::string path = orvfuzz::WriteScratchFile("job.ps", data, size);

    tagJOBINFO* job = static_cast<tagJOBINFO*>(std::calloc(1, sizeof(tagJOBINFO)));
    job->cups = cups;
    job->ppd = ppd;
    job->pSpcData = orvfuzz::CopyOfSampleModel("GM4150");
    DRVDEVMODE& d = job->devmode;
    d.dm.dmSize = kDevmodePublicSize;
    d.dm.dmDriverExtra = kDevmodePrivateSize;
    if (job->pSpcData != nullptr)
        SpcDevmodeService(job->pSpcData, nullptr, &d, DEVMODE_SERVICE_DEFAULTS);
    d.dm.dmCopies = 1;
    d.priv.dmUnitOfLayout = 72;
    d.priv.dmFieldsExtra2 |= DMX2_BOOKLET | DMX2_POSTER | DMX2_NUP | DMX2_FIT;
    ApplyLayout(size, &d);

    cups_file_t* in = cups.cupsFileOpen(path.c_str(), "r");
    if (in != nullptr) {
        job->input = in;
        char line[kDocLineSize];
        const int length = static_cast<int>(cups.cupsFileGetLine(in, line, sizeof line));
        tagPAGEPASSIO io{in, DropFeed, nullptr, orvfuzz::NullFd()};
        RunPagePass(job, &io, line, length, sizeof line);
        cups.cupsFileClose(in);
    }
    std::free(job->pSpcData);
    std::free(job);
    return 0;
}

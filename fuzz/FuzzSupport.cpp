#include "FuzzSupport.h"

#include "core/InstallPaths.h"
#include "core/model/SpcQuery.h"
#include "core/settings/DevModeService.h"
#include "core/util/MakeDirs.h"
#include "filter/job/KeepAlive.h"
#include "filter/job/OutputSink.h"
#include "filter/frame/RendererSetup.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>

namespace orvfuzz {

namespace {

struct FreeDeleter {
    void operator()(void* pv) const { std::free(pv); }
};

void CopyFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
}

PFNCOMPRESS CompressEntry()
{
#ifdef ORV_COMPRESS_LIB_PATH
    static void* handle = dlopen(ORV_COMPRESS_LIB_PATH, RTLD_NOW | RTLD_LOCAL);
    static PFNCOMPRESS entry = handle != nullptr ? reinterpret_cast<PFNCOMPRESS>(dlsym(handle, "COMPRESS")) : nullptr;
    return entry;
#else
    return nullptr;
#endif
}

// Capability 77 view 3, signed 16 bits at byte 4, as the job context reads it.
int BandHeight(const tagSPCDATA* pData)
{
    BYTE record[8] = {};
    DWORD cb = sizeof record;
    if (SpcQuery(pData, SPCID_RENDERPARAMS, 0, 3, record, &cb, nullptr) != ERROR_SUCCESS)
        return 512;
    SHORT s;
    std::memcpy(&s, record + 4, sizeof s);
    return s > 0 ? s : 512;
}

}  // namespace

const std::string& ScratchRoot()
{
    static const std::string root = [] {
        char pattern[] = "/tmp/orv-fuzz-XXXXXX";
        std::string dir = mkdtemp(pattern) != nullptr ? pattern : "/tmp";
        setenv("ORVALEN_TEST_ROOT", dir.c_str(), 1);
        std::string data = orv::InstalledPath(orv::kModelDataDir);
        MakeDirs(data.c_str(), 0755);
        for (const char* model : {"GC7350", "GM4150"})
            CopyFile(std::string(ORV_COLOR_TABLE_DIR) + "/L_" + model, data + "L_" + model);
        return dir;
    }();
    return root;
}

std::string DataDir()
{
    ScratchRoot();
    return orv::InstalledPath(orv::kModelDataDir);
}

const tagSPCDATA* SampleModel(const char* pszName)
{
    // Kept for the whole process (never destroyed), so that nothing of it counts as leaked at exit.
    static auto* models = new std::map<std::string, std::unique_ptr<tagSPCDATA, FreeDeleter>>();
    auto& slot = (*models)[pszName];
    if (!slot)
        slot.reset(SpcLoadFile(ORV_SAMPLE_MODEL_DIR, (std::string(pszName) + ".pcsp").c_str()));
    return slot.get();
}

tagSPCDATA* CopyOfSampleModel(const char* pszName)
{
    const tagSPCDATA* model = SampleModel(pszName);
    return model != nullptr ? SpcLoadImage(model->pbImage, model->cbImage) : nullptr;
}

tagCUPSFUNC& Cups()
{
    static tagCUPSFUNC* cups = [] {
        auto* table = new tagCUPSFUNC{};
        LoadCupsLibrary(table);
        return table;
    }();
    return *cups;
}

ppd_file_t* SamplePpd(const char* pszModel)
{
    static auto* ppds = new std::map<std::string, ppd_file_t*>();
    auto found = ppds->find(pszModel);
    if (found != ppds->end())
        return found->second;
    ppd_file_t* ppd = nullptr;
    tagCUPSFUNC& cups = Cups();
    if (cups.ppdOpenFile != nullptr) {
        ppd = cups.ppdOpenFile((std::string(ORV_SAMPLE_PPD_DIR) + "/" + pszModel + ".ppd").c_str());
        if (ppd != nullptr)
            cups.ppdMarkDefaults(ppd);
    }
    (*ppds)[pszModel] = ppd;
    return ppd;
}

int NullFd()
{
    static const int fd = open("/dev/null", O_RDWR | O_CLOEXEC);
    return fd;
}

int BytesFd(const uint8_t* data, size_t size)
{
    int fd = memfd_create("orv-fuzz-input", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) {
            close(fd);
            return -1;
        }
        done += static_cast<size_t>(n);
    }
    lseek(fd, 0, SEEK_SET);
    return fd;
}

std::string WriteScratchFile(const std::string& relative, const uint8_t* data, size_t size)
{
    std::string path = ScratchRoot() + "/" + relative;
    std::string dir = path.substr(0, path.rfind('/'));
    MakeDirs(dir.c_str(), 0755);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

ParentJob::ParentJob(const char* pszModel)
{
    ScratchRoot();
    m_job = static_cast<tagJOBINFO*>(std::calloc(1, sizeof(tagJOBINFO)));
    InitJobLocks(m_job);
    m_hooks.outputFd = NullFd();
    m_job->pHooks = &m_hooks;
    m_job->pSpcData = CopyOfSampleModel(pszModel);
    m_job->devmode.dm.dmSize = kDevmodePublicSize;
    m_job->devmode.dm.dmDriverExtra = kDevmodePrivateSize;
    if (m_job->pSpcData != nullptr) {
        SpcDevmodeService(m_job->pSpcData, nullptr, &m_job->devmode, DEVMODE_SERVICE_DEFAULTS);
        m_job->iBandHeight = BandHeight(m_job->pSpcData);
    }
    m_job->compress.COMPRESS = CompressEntry();
}

ParentJob::~ParentJob()
{
    FreeRenderer(m_job);
    StopKeepAliveThread(m_job);
    DestroyJobLocks(m_job);
    std::free(m_job->pbPlanes);
    std::free(m_job->pSpcData);
    std::free(m_job);
}

}  // namespace orvfuzz

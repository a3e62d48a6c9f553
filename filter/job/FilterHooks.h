// The calls and values a run of the filter is made with where tests put their own: every member
// left unset means the system's own. The run's entry point takes one of these and hands each layer
// what it needs; the job context keeps a pointer to it for the job's lifetime.
#pragma once

#include "core/binding/CupsLibrary.h"
#include "core/binding/GsLibrary.h"
#include "filter/render/ModelDataQuery.h"
#include "filter/render/screen/ScreenSimd.h"

#include <sys/types.h>

#include <cstdint>
#include <optional>

// pipe(2) and fork(2).
typedef int (*PFNMAKEPIPE)(int fds[2]);
typedef pid_t (*PFNFORKPROCESS)();

// The binders of libcups and libgs (LoadCupsLibrary and LoadGhostscriptLibrary).
typedef int (*PFNBINDCUPS)(tagCUPSFUNC* pCups);
typedef int (*PFNBINDGS)(tagGSFUNC* pGs);

// Called with the libcups table right after it is bound, before anything uses it.
typedef void (*PFNCUPSBOUNDHOOK)(tagCUPSFUNC* pCups);

// Free space of the file system holding pszDir, in KB; false when it cannot be measured.
typedef bool (*PFNSPOOLSPACEPROBE)(const char* pszDir, uint64_t* pqwFreeKb);

struct FilterHooks {
    int outputFd = -1;                           // where printer bytes for standard output go; -1: standard output
    PFNMAKEPIPE pfnPipe = nullptr;               // pipe(2)
    PFNFORKPROCESS pfnFork = nullptr;            // fork(2)
    PFNBINDCUPS pfnBindCups = nullptr;           // LoadCupsLibrary
    PFNBINDGS pfnBindGs = nullptr;               // LoadGhostscriptLibrary
    PFNCUPSBOUNDHOOK pfnCupsBound = nullptr;     // none
    PFNSPOOLSPACEPROBE pfnSpoolSpace = nullptr;  // statvfs(2)
    PFNMODELQUERY pfnModelQuery = nullptr;       // the model data reader's SpcQuery, for the renderer
    std::optional<ScreenSimd> screenSimd;        // the best vector level the CPU runs
    std::optional<unsigned> workerThreads;       // the job's workers: JobWorkerCount(UsableCpus())
};

// The hooks of a job context: its own, or the system's when it has none.
struct tagJOBINFO;
const FilterHooks& JobHooks(const tagJOBINFO* pJob);

// The job context of the filter: one zero-filled heap record per run, built at the start of the
// job and freed at its end. Every stage of the filter works on this one record; the child process
// inherits a copy at the fork.
#pragma once

#include "core/WinTypes.h"
#include "core/binding/CompressLibrary.h"
#include "core/binding/CupsLibrary.h"
#include "core/binding/GsLibrary.h"
#include "core/model/SpcData.h"
#include "core/settings/DevMode.h"

#include <pthread.h>

#include <cstdint>
#include <cstdio>

struct tagRENDEROPTIONS;
struct tagRENDERCONTEXT;
struct tagPAGEENCODER;
struct FilterHooks;
class JobBands;
class WorkerPool;

// The spool field's value for a secure-print job refused for lack of disk space: the job is
// still rendered, its bytes are dropped.
#define SPOOL_REFUSED (reinterpret_cast<FILE*>(~static_cast<uintptr_t>(0)))

// Job-state bits.
inline constexpr DWORD JOBSTATE_HEADER_SENT = 0x1;
inline constexpr DWORD JOBSTATE_PAGE_OPEN = 0x2;

struct tagJOBINFO {
    cups_file_t* input;        // the job's PostScript (argv[6] or standard input)
    FILE* spool;               // NULL: standard output; a stream: spool file; SPOOL_REFUSED
    DWORD dwSecurePrint;       // 1 when the settings ask for secure print (dmJobSpool 6)
    DWORD dwSpoolOk;           // 1 while every spool write went through
    int iCopies;               // argv[4]
    int iJobId;                // argv[1]
    char* pszPrinter;          // PRINTER (the queue name)
    char* pszTitle;            // argv[3]
    char* pszUser;             // argv[2]
    char* pszHostName;         // host name, or NULL
    DWORD dwHostAddress;       // IPv4 address in network byte order, 0 if none
    char* pszSystem;           // system name, release and version, or NULL
    tagCUPSFUNC cups;          // bound libcups
    tagGSFUNC gs;              // bound libgs
    tagCOMPRESSFUNC compress;  // bound compression library
    int iOptionCount;          // the job's CUPS options
    cups_option_t* pOptions;
    ppd_file_t* ppd;        // the queue's PPD, opened and marked
    DRVDEVMODE devmode;     // the job's settings record
    tagSPCDATA* pSpcData;   // the model data, loaded whole
    void* pGsInstance;      // the child's running libgs instance
    int iGsCode;            // last result of a gsapi_ call
    const char* pszDevice;  // Ghostscript output device ("ppmraw")
    int iBandHeight;        // rows per band
    DWORD dwDuplexCaps;     // first word of capability 25 view 1
    int iPageWidth;         // pixels of the page being read
    int iPageHeight;        // rows of the page being read
    WORD wPlaneCount;       // 1 monochrome, else 4
    BYTE* pbPlanes;         // the page's bit-planes
    DWORD dwJobState;       // JOBSTATE_*
    DWORD dwPageNumber;     // pages sent so far
    tagRENDEROPTIONS* pRenderOptions;
    tagRENDERCONTEXT* pRenderContext;
    tagPAGEENCODER* pPageEncoder;  // the page being compressed while it is screened, or nullptr
    JobBands* pBands;              // the pages' screening thread and band buffers, or nullptr
    WorkerPool* pWorkers;          // the job's compression threads while the renderer exists, or nullptr
    pthread_t keepAliveThread;     // 0 when no thread was started
    pthread_mutex_t outputLock;    // guards every write of printer bytes and the activity flag
    pthread_mutex_t pageLock;      // held by the main thread from the start to the end of a page
    int iActivity;                 // set by every output write, cleared by the keep-alive thread
    int iKeepAliveSeconds;         // capability 19 view 4 byte 20; 0 = no keep-alive thread
    const FilterHooks* pHooks;     // what the job runs with in place of the system's calls; NULL: none
};

// What the fuzz targets share: the package's sample files that the build made (models, queue PPDs,
// colour tables), a scratch install root for the fixed locations, the real libcups, and a job
// context set up as the filter's parent sets it up.
#pragma once

#include "core/binding/CupsLibrary.h"
#include "core/model/SpcData.h"
#include "filter/job/FilterHooks.h"
#include "filter/job/JobInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvfuzz {

// The scratch root, made once per process: ORVALEN_TEST_ROOT points at it, and its data
// directory holds the sample colour tables.
const std::string& ScratchRoot();

// The installed data directory under the scratch root, ending in '/'.
std::string DataDir();

// A sample model by name ("GC7350"), loaded once and kept; nullptr when it is missing.
const tagSPCDATA* SampleModel(const char* pszName);

// A fresh heap copy of a sample model that the caller frees with free().
tagSPCDATA* CopyOfSampleModel(const char* pszName);

// The real libcups, bound once.
tagCUPSFUNC& Cups();

// A sample queue PPD ("GC7350"), opened once with its defaults marked; nullptr when missing.
ppd_file_t* SamplePpd(const char* pszModel);

// A descriptor of /dev/null, opened once.
int NullFd();

// A descriptor reading exactly the given bytes from the start (an anonymous memory file); the caller
// closes it. -1 when it cannot be made.
int BytesFd(const uint8_t* data, size_t size);

// Writes bytes to a file under the scratch root (relative path, directories made); its path.
std::string WriteScratchFile(const std::string& relative, const uint8_t* data, size_t size);

// A job context as the filter's parent has it before reading the stream: the sample model with
// its defaults, the band height, the locks, the output writer on /dev/null, and the package's
// compression library when the build names one.
class ParentJob {
public:
    explicit ParentJob(const char* pszModel);
    ~ParentJob();
    ParentJob(const ParentJob&) = delete;
    ParentJob& operator=(const ParentJob&) = delete;
    tagJOBINFO* get() { return m_job; }
    tagJOBINFO* operator->() { return m_job; }
    // The hooks the job runs with: its output descriptor is /dev/null.
    FilterHooks& hooks() { return m_hooks; }

private:
    FilterHooks m_hooks;
    tagJOBINFO* m_job;
};

}  // namespace orvfuzz

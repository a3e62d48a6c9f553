// Helpers of the printer-information tests: compiled models (the package's sample models and the
// test fixtures), the real libcups with a test queue PPD, and settings records to start from.
#pragma once

#include "core/binding/CupsLibrary.h"
#include "core/model/ModelHandle.h"
#include "core/model/SpcData.h"
#include "core/settings/DevMode.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pitest {

struct FreeDeleter {
    void operator()(void* pv) const { free(pv); }
};
using SpcDataPtr = std::unique_ptr<tagSPCDATA, FreeDeleter>;

// A compiled sample model ("GC7350") or test fixture ("printerinfo-trays"); empty when missing.
SpcDataPtr LoadSampleModel(const std::string& name);
SpcDataPtr LoadFixtureModel(const std::string& name);

// A model handle over model data alone (no PPD).
tagMODELHANDLE HandleOf(tagSPCDATA* pData);

// The real libcups, bound through the driver's own loader for the whole test program.
tagCUPSFUNC& RealCups();

// A queue: a model and the test PPD opened with the real libcups, with the given choices marked
// on top of the PPD's defaults.
class TestQueue {
public:
    TestQueue(tagSPCDATA* pData, const std::vector<std::pair<std::string, std::string>>& marks);
    ~TestQueue();
    TestQueue(const TestQueue&) = delete;
    TestQueue& operator=(const TestQueue&) = delete;

    bool IsOpen() const { return m_handle.pPpd != nullptr; }
    tagMODELHANDLE* Handle() { return &m_handle; }

private:
    tagMODELHANDLE m_handle {};
};

// A record zero apart from its sizes and signature, portrait.
DRVDEVMODE BlankRecord();

}  // namespace pitest

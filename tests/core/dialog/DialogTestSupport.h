// Helpers of the dialog-info and revise tests: the compiled sample models and test fixtures, and
// a queue made of a model and a sample PPD opened by the real libcups, with installed options
// marked as the queue's PPD would have them.
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

namespace dialogtest {

struct FreeDeleter {
    void operator()(void* pv) const { free(pv); }
};
using SpcDataPtr = std::unique_ptr<tagSPCDATA, FreeDeleter>;

// A compiled sample model ("GC7350") or test fixture ("dialog-margins"); empty when missing.
SpcDataPtr LoadSampleModel(const std::string& name);
SpcDataPtr LoadFixtureModel(const std::string& name);

// The real libcups, bound through the driver's own loader for the whole test program.
tagCUPSFUNC& RealCups();

using Marks = std::vector<std::pair<std::string, std::string>>;

// A queue named after its model: the compiled sample model and data/ppd/<model>.ppd opened with
// the real libcups, the PPD's defaults marked and then the given choices.
class SampleQueue {
public:
    explicit SampleQueue(const std::string& model, const Marks& marks = {});
    ~SampleQueue();
    SampleQueue(const SampleQueue&) = delete;
    SampleQueue& operator=(const SampleQueue&) = delete;

    bool IsOpen() const { return m_data && m_handle.pPpd != nullptr; }
    const char* Name() const { return m_name.c_str(); }
    tagSPCDATA* Data() { return m_data.get(); }
    tagCUPSFUNC* Cups() { return m_handle.pCupsFunc; }
    ppd_file_t* Ppd() { return m_handle.pPpd; }
    tagMODELHANDLE* Handle() { return &m_handle; }

    // Writes the PPD's choices into the record as the settings program does (Options2Devmode over
    // the given model data, the queue's own when NULL), with the queue's marks passed as the
    // options so that they stay marked.
    void WriteChoices(DRVDEVMODE* pdm, tagSPCDATA* pModel = nullptr);

private:
    Marks m_marks;
    std::string m_name;
    SpcDataPtr m_data;
    tagMODELHANDLE m_handle {};
};

// A zero-filled record with only its sizes set, as callers hand one in for the defaults.
DRVDEVMODE SizedRecord();

}  // namespace dialogtest

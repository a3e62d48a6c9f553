// Helpers of the dialog-info and revise tests: the compiled sample models and test fixtures, and
// a queue made of a model and a sample PPD opened by the real libcups, with installed options
// marked as the queue's PPD would have them.
#pragma once

#include "core/model/ModelHandle.h"
#include "core/settings/DevMode.h"
#include "support/MarkedPpd.h"
#include "support/ModelFiles.h"
#include "support/RealCups.h"

#include <string>

namespace dialogtest {

// Compiled sample models ("GC7350") and test fixtures ("dialog-margins"), and the real libcups.
using orvtest::FreeDeleter;
using orvtest::LoadFixtureModel;
using orvtest::LoadSampleModel;
using orvtest::RealCups;
using orvtest::SpcDataPtr;

using Marks = orvtest::PpdMarks;

// A queue named after its model: the compiled sample model and data/ppd/<model>.ppd opened with
// the real libcups, the PPD's defaults marked and then the given choices.
class SampleQueue {
public:
    explicit SampleQueue(const std::string& model, const Marks& marks = {});
    SampleQueue(const SampleQueue&) = delete;
    SampleQueue& operator=(const SampleQueue&) = delete;

    bool IsOpen() const { return m_data && m_ppd.IsOpen(); }
    const char* Name() const { return m_name.c_str(); }
    tagSPCDATA* Data() { return m_data.get(); }
    tagCUPSFUNC* Cups() { return m_ppd.Handle()->pCupsFunc; }
    ppd_file_t* Ppd() { return m_ppd.Handle()->pPpd; }
    tagMODELHANDLE* Handle() { return m_ppd.Handle(); }

    // Writes the PPD's choices into the record as the settings program does (Options2Devmode over
    // the given model data, the queue's own when NULL), with the queue's marks passed as the
    // options so that they stay marked.
    void WriteChoices(DRVDEVMODE* pdm, tagSPCDATA* pModel = nullptr);

private:
    Marks m_marks;
    std::string m_name;
    SpcDataPtr m_data;
    orvtest::MarkedPpd m_ppd;  // after m_data: its handle carries the model data
};

// A zero-filled record with only its sizes set, as callers hand one in for the defaults.
DRVDEVMODE SizedRecord();

// The revise over the queue and the given model data (the queue's own when NULL), with its answer
// (0 on success): ModelDefaults fills a zero-filled record with the model's defaults (mode 1),
// ReviseInPlace revises the record against the queue (mode 2).
DWORD ModelDefaults(SampleQueue& queue, DRVDEVMODE* pdm, tagSPCDATA* pModel = nullptr);
DWORD ReviseInPlace(SampleQueue& queue, DRVDEVMODE* pdm, tagSPCDATA* pModel = nullptr);

}  // namespace dialogtest

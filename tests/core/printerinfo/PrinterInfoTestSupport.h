// Helpers of the printer-information tests: compiled models (the package's sample models and the
// test fixtures), the real libcups with a test queue PPD, and settings records to start from.
#pragma once

#include "core/model/ModelHandle.h"
#include "core/settings/DevMode.h"
#include "support/MarkedPpd.h"
#include "support/ModelFiles.h"
#include "support/RealCups.h"

#include <string>
#include <utility>
#include <vector>

namespace pitest {

// Compiled sample models ("GC7350") and test fixtures ("printerinfo-trays"), and the real libcups.
using orvtest::FreeDeleter;
using orvtest::LoadFixtureModel;
using orvtest::LoadSampleModel;
using orvtest::RealCups;
using orvtest::SpcDataPtr;

// A model handle over model data alone (no PPD).
tagMODELHANDLE HandleOf(tagSPCDATA* pData);

// A queue: a model and the test PPD opened with the real libcups, with the given choices marked
// on top of the PPD's defaults.
class TestQueue : public orvtest::MarkedPpd {
public:
    TestQueue(tagSPCDATA* pData, const std::vector<std::pair<std::string, std::string>>& marks);
};

// A record zero apart from its sizes and signature, portrait.
DRVDEVMODE BlankRecord();

}  // namespace pitest

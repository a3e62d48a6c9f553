// Compiled model data files for tests, loaded whole: the package's sample models and the test
// fixtures, both compiled at build time into the directories the test program is told of
// (ORV_SAMPLE_MODEL_DIR and ORV_MODEL_FIXTURE_DIR, each with a trailing slash).
#pragma once

#include "core/model/SpcData.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace orvtest {

struct FreeDeleter {
    void operator()(void* pv) const { std::free(pv); }
};
using SpcDataPtr = std::unique_ptr<tagSPCDATA, FreeDeleter>;

// The model data file at path; empty when it is missing, empty or refused by the reader.
SpcDataPtr LoadModelFile(const std::string& path);

#ifdef ORV_SAMPLE_MODEL_DIR
// A sample model by name ("GC7350").
inline SpcDataPtr LoadSampleModel(const std::string& name)
{
    return LoadModelFile(std::string(ORV_SAMPLE_MODEL_DIR) + name + ".pcsp");
}
#endif

#ifdef ORV_MODEL_FIXTURE_DIR
// A test fixture by name ("dialog-margins").
inline SpcDataPtr LoadFixtureModel(const std::string& name)
{
    return LoadModelFile(std::string(ORV_MODEL_FIXTURE_DIR) + name + ".pcsp");
}
#endif

}  // namespace orvtest

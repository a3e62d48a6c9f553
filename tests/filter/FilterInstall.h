// An installed driver in a scratch root for the filter's entry tests: the sample models and their
// colour tables in the data directory, the package's compression library where the PPD's LIBJBIG finds it, ORVALEN_TEST_ROOT
// pointed at the root, and the sample queue PPDs (or variants of them) to hand to the filter.
#pragma once

#include "core/settings/DevMode.h"
#include "support/ScratchDir.h"

#include <map>
#include <string>
#include <vector>

namespace filtertest {

class FilterInstall {
public:
    FilterInstall();

    const orvtest::ScratchDir& root() const { return m_root; }

    // The sample queue PPD of a model ("GM4150"), as the package ships it.
    static std::string SamplePpd(const std::string& model);

    // A copy of the sample PPD of a model in the scratch root with every line that contains
    // pszDrop left out and the text pszFrom replaced by pszTo (both may be NULL); its path.
    std::string PpdVariant(const std::string& model, const char* pszDrop, const char* pszFrom = nullptr,
                           const char* pszTo = nullptr) const;

    // The default settings record of an installed model ("GM4150"), as the settings defaults lay it
    // out; false when its compiled model cannot be read.
    bool ModelDefaults(const char* pszModel, DRVDEVMODE* record) const;

    // The saved-settings file of a user's queue, written from its layout: the 16-byte header
    // {16, "DEMK", version, record size} and the record's bytes.
    std::string WriteSavedSettings(const std::string& user, const std::string& queue, const void* pvRecord,
                                   size_t cbRecord, unsigned version = 1) const;

    // The directory a user's spool files for a queue go to.
    std::string SpoolDir(const std::string& user, const std::string& queue) const;

    // The environment the scheduler gives a filter of queue "office" with this PPD, pointed at the
    // scratch root.
    std::map<std::string, std::string> QueueEnv(const std::string& ppd) const;

private:
    orvtest::ScratchDir m_root;
    orvtest::ScopedInstallRoot m_scope{m_root.path()};
};

// The libraries a job context binds and unbinds (libcups, libgs, the package's compression
// library), kept mapped for LeakSanitizer (support/PinnedLibrary.h).
void PinJobLibraries();

// What one run of the filter program left behind.
struct FilterRun {
    int iStatus = -1;  // exit status; -1 when it did not exit normally
    std::string stdoutBytes;
    std::string stderrText;
};

// Runs the filter program with exactly these arguments (argv[0] included) and this environment
// (plus what the sanitizers need), standard input from pszStdin (NULL: /dev/null).
FilterRun RunFilterProgram(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                           const char* pszStdin = nullptr);

// The lines of the log that carry the level prefix, with the prefix and "(PID n) " taken off.
std::vector<std::string> LogLinesAt(const std::string& log, const std::string& prefix);

}  // namespace filtertest

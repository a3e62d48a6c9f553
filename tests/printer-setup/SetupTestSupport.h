// What the settings program's tests share: a fake CUPS system behind a libcups table (the real
// libcups for every PPD call, made-up destinations and PPDs for the CUPS calls), a scratch install
// tree with the sample models, and a companion program that records its command line.
#pragma once

#include "core/binding/CupsLibrary.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

#include <memory>
#include <string>
#include <vector>

namespace setuptest {

// One destination of the fake CUPS system; an empty PPD path means CUPS has no PPD for it.
struct FakeDest {
    std::string name;
    std::string ppdPath;
};

// The fake system in force while the object lives (one at a time). Table() is the real libcups
// table with cupsGetDests, cupsFreeDests and cupsGetPPD answering from the destinations given;
// cupsGetPPD hands out a fresh copy of the PPD, as CUPS does, which the caller removes.
class FakeCups {
public:
    explicit FakeCups(std::vector<FakeDest> dests);
    ~FakeCups();
    FakeCups(const FakeCups&) = delete;
    FakeCups& operator=(const FakeCups&) = delete;

    tagCUPSFUNC* Table() { return &m_table; }
    // How often cupsGetPPD was asked, and how many of its copies are still on disk.
    int PpdRequests() const;
    int PpdCopiesLeft() const;
    // Changes the PPD that a destination answers with from now on.
    void SetPpd(const std::string& name, const std::string& ppdPath);

private:
    tagCUPSFUNC m_table{};
};

// The sample queue PPD data/ppd/<model>.ppd with its utility attribute line replaced by the given
// lines ("" removes it), written under dir; its path.
std::string WriteSamplePpd(const orvtest::ScratchDir& dir, const std::string& model, const std::string& fileName,
                           const std::string& utilityLines);

// A scratch install tree with the compiled sample models in its data directory and a fake
// companion program in its bin directory, and the current user set to "tester" (LOGNAME, USER).
// The companion writes its arguments, one a line, to CompanionLog() and exits with the status
// written to CompanionStatusFile() (0 when the file is missing).
class InstallTree {
public:
    InstallTree();
    const orvtest::ScratchDir& Dir() const { return m_dir; }
    std::string Root() const { return m_dir.path(); }
    std::string DataDir() const;
    std::string ConfDir() const;  // the user's conf directory
    std::string CompanionLog() const { return m_dir / "companion.log"; }
    std::string CompanionStatusFile() const { return m_dir / "companion.status"; }
    std::vector<std::string> CompanionArgs() const;  // empty when it has not run
    void SetCompanionStatus(int status) const;

private:
    orvtest::ScratchDir m_dir;
    orvtest::ScopedInstallRoot m_root;
    orvtest::ScopedEnv m_logname;
    orvtest::ScopedEnv m_user;
};

std::string ReadText(const std::string& path);

}  // namespace setuptest

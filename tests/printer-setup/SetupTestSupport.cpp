#include "printer-setup/SetupTestSupport.h"

#include "core/InstallPaths.h"
#include "support/RealCups.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace setuptest {

namespace {

struct FakeSystem {
    std::vector<FakeDest> dests;
    int ppdRequests = 0;
    std::vector<std::string> copies;
    orvtest::ScratchDir copyDir;
};

FakeSystem* g_system = nullptr;

int FakeGetDests(cups_dest_t** dests)
{
    *dests = nullptr;
    if (g_system == nullptr || g_system->dests.empty()) {
        return 0;
    }
    const size_t n = g_system->dests.size();
    auto* array = static_cast<cups_dest_t*>(calloc(n, sizeof(cups_dest_t)));
    for (size_t i = 0; i < n; ++i) {
        array[i].name = strdup(g_system->dests[i].name.c_str());
    }
    *dests = array;
    return static_cast<int>(n);
}

void FakeFreeDests(int count, cups_dest_t* dests)
{
    for (int i = 0; i < count && dests != nullptr; ++i) {
        free(dests[i].name);
    }
    free(dests);
}

const char* FakeGetPPD(const char* name)
{
    static std::string answer;
    if (g_system == nullptr || name == nullptr) {
        return nullptr;
    }
    ++g_system->ppdRequests;
    for (const FakeDest& dest : g_system->dests) {
        if (dest.name != name || dest.ppdPath.empty()) {
            continue;
        }
        answer = g_system->copyDir / ("copy" + std::to_string(g_system->copies.size()) + ".ppd");
        std::filesystem::copy_file(dest.ppdPath, answer, std::filesystem::copy_options::overwrite_existing);
        g_system->copies.push_back(answer);
        return answer.c_str();
    }
    return nullptr;
}

}  // namespace

FakeCups::FakeCups(std::vector<FakeDest> dests)
{
    if (g_system != nullptr) {
        throw std::logic_error("one fake CUPS system at a time");
    }
    g_system = new FakeSystem();
    g_system->dests = std::move(dests);
    m_table = orvtest::RealCups();
    if (m_table.handle != nullptr) {
        m_table.cupsGetDests = &FakeGetDests;
        m_table.cupsFreeDests = &FakeFreeDests;
        m_table.cupsGetPPD = &FakeGetPPD;
    }
}

FakeCups::~FakeCups()
{
    delete g_system;
    g_system = nullptr;
}

int FakeCups::PpdRequests() const
{
    return g_system->ppdRequests;
}

int FakeCups::PpdCopiesLeft() const
{
    int left = 0;
    for (const std::string& copy : g_system->copies) {
        left += access(copy.c_str(), F_OK) == 0 ? 1 : 0;
    }
    return left;
}

void FakeCups::SetPpd(const std::string& name, const std::string& ppdPath)
{
    for (FakeDest& dest : g_system->dests) {
        if (dest.name == name) {
            dest.ppdPath = ppdPath;
        }
    }
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string WriteSamplePpd(const orvtest::ScratchDir& dir, const std::string& model, const std::string& fileName,
                           const std::string& utilityLines)
{
    const std::string source = ReadText(std::string(ORV_SAMPLE_PPD_DIR) + model + ".ppd");
    const std::string line = "*OrvalenAttr Utility: \"OrvUtility\"\n";
    std::string text = source;
    const size_t at = text.find(line);
    if (at == std::string::npos) {
        throw std::runtime_error("the sample PPD has no utility line");
    }
    text.replace(at, line.size(), utilityLines);
    return dir.WriteFile(fileName, text);
}

InstallTree::InstallTree()
    : m_root(m_dir.path()), m_logname("LOGNAME", "tester"), m_user("USER", "tester")
{
    const std::string data = DataDir();
    std::filesystem::create_directories(data);
    for (const char* model : {"GC7350", "GM4150", "GM1000"}) {
        std::filesystem::copy_file(std::string(ORV_SAMPLE_MODEL_DIR) + model + ".pcsp", data + model + ".pcsp");
    }
    const std::string companion = orv::InstalledPath(orv::kCompanionProgram);
    const std::string script = "#!/bin/sh\n"
                               "for a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done > '" + CompanionLog() + "'\n"
                               "status=0\n"
                               "[ -f '" + CompanionStatusFile() + "' ] && status=$(cat '" + CompanionStatusFile() + "')\n"
                               "exit $status\n";
    const std::string path = m_dir.WriteFile(companion.substr(m_dir.path().size() + 1), script);
    chmod(path.c_str(), 0755);
}

std::string InstallTree::DataDir() const
{
    return orv::InstalledPath(orv::kModelDataDir);
}

std::string InstallTree::ConfDir() const
{
    return orv::InstalledPath(orv::kConfDir) + "tester";
}

std::vector<std::string> InstallTree::CompanionArgs() const
{
    std::vector<std::string> args;
    std::ifstream in(CompanionLog());
    for (std::string line; std::getline(in, line);) {
        args.push_back(line);
    }
    return args;
}

void InstallTree::SetCompanionStatus(int status) const
{
    m_dir.WriteFile("companion.status", std::to_string(status) + "\n");
}

}  // namespace setuptest

#include "FilterInstall.h"

#include "core/InstallPaths.h"
#include "core/model/SpcData.h"
#include "core/settings/DevModeService.h"
#include "support/PinnedLibrary.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <link.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace filtertest {

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutLe32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

#if defined(__SANITIZE_ADDRESS__)
int FindSanitizerRuntime(struct dl_phdr_info* pInfo, size_t, void* pvPath)
{
    if (pInfo->dlpi_name != nullptr && std::strstr(pInfo->dlpi_name, "/libasan.so") != nullptr) {
        *static_cast<std::string*>(pvPath) = pInfo->dlpi_name;
        return 1;
    }
    return 0;
}
#endif

// The filter unbinds libcups at the end of the job, and what libcups allocated for itself then
// looks leaked to LeakSanitizer. Under the sanitizer the program gets libcups preloaded, so it stays
// mapped, behind the sanitizer's runtime, which must come first; libcups's one real leak is named
// in the suppressions.
void AddSanitizerEnvironment(std::vector<std::string>& envText, const std::map<std::string, std::string>& env)
{
#if defined(__SANITIZE_ADDRESS__)
    std::string runtime;
    dl_iterate_phdr(FindSanitizerRuntime, &runtime);
    if (!runtime.empty() && env.count("LD_PRELOAD") == 0)
        envText.push_back("LD_PRELOAD=" + runtime + " libcups.so.2");
    if (env.count("LSAN_OPTIONS") == 0)
        envText.push_back("LSAN_OPTIONS=suppressions=" ORV_FILTER_LSAN_SUPPRESSIONS);
#else
    (void)envText;
    (void)env;
#endif
}

}  // namespace

FilterInstall::FilterInstall()
{
    namespace fs = std::filesystem;
    std::string data = orv::InstalledPath(orv::kModelDataDir);
    fs::create_directories(data);
    for (const char* model : {"GM4150", "GC7350", "GM1000"}) {
        std::string name = std::string(model) + ".pcsp";
        fs::copy_file(std::string(ORV_SAMPLE_MODEL_DIR) + name, data + name, fs::copy_options::overwrite_existing);
    }
    // The colour tables the renderer loads beside the models, compiled at build time.
    for (const char* table : {"L_GM4150", "L_GC7350"}) {
        fs::copy_file(std::string(ORV_COLOR_TABLE_DIR) + "/" + table, data + table,
                      fs::copy_options::overwrite_existing);
    }
    std::string lib = orv::InstalledPath(orv::kCompressLibDir);
    fs::create_directories(lib);
    fs::create_symlink(ORV_COMPRESS_LIB_PATH, lib + "liborvjbig.so.1");
    fs::create_directories(m_root / "var/spool");
}

std::string FilterInstall::SamplePpd(const std::string& model)
{
    return std::string(ORV_SAMPLE_PPD_DIR) + "/" + model + ".ppd";
}

std::string FilterInstall::PpdVariant(const std::string& model, const char* pszDrop, const char* pszFrom,
                                      const char* pszTo) const
{
    std::istringstream in(ReadAll(SamplePpd(model)));
    std::string out;
    std::string line;
    while (std::getline(in, line)) {
        if (pszDrop != nullptr && line.find(pszDrop) != std::string::npos) {
            continue;
        }
        if (pszFrom != nullptr) {
            size_t at = line.find(pszFrom);
            if (at != std::string::npos) {
                line.replace(at, std::strlen(pszFrom), pszTo != nullptr ? pszTo : "");
            }
        }
        out += line + "\n";
    }
    static int s_serial = 0;
    return m_root.WriteFile("ppd/variant" + std::to_string(++s_serial) + ".ppd", out);
}

bool FilterInstall::ModelDefaults(const char* pszModel, DRVDEVMODE* record) const
{
    std::string dir = orv::InstalledPath(orv::kModelDataDir);
    std::unique_ptr<tagSPCDATA, decltype(&std::free)> spc(
        SpcLoadFile(dir.c_str(), (std::string(pszModel) + ".pcsp").c_str()), &std::free);
    if (spc == nullptr) {
        return false;
    }
    std::memset(record, 0, sizeof *record);
    record->dm.dmSize = kDevmodePublicSize;
    record->dm.dmDriverExtra = kDevmodePrivateSize;
    return SpcDevmodeService(spc.get(), nullptr, record, DEVMODE_SERVICE_DEFAULTS) == 0u;
}

std::string FilterInstall::WriteSavedSettings(const std::string& user, const std::string& queue, const void* pvRecord,
                                              size_t cbRecord, unsigned version) const
{
    std::string bytes;
    PutLe32(bytes, 16);
    PutLe32(bytes, 0x4B4D4544);  // "DEMK"
    PutLe32(bytes, version);
    PutLe32(bytes, 1232);
    bytes.append(static_cast<const char*>(pvRecord), cbRecord);
    std::string path = orv::InstalledPath(orv::kConfDir) + user + "/" + queue + ".dm";
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string FilterInstall::SpoolDir(const std::string& user, const std::string& queue) const
{
    return orv::InstalledPath(orv::kSpoolDir) + orv::kSecurePrintSubdir + user + "/" + queue + "/";
}

std::map<std::string, std::string> FilterInstall::QueueEnv(const std::string& ppd) const
{
    return {{"PRINTER", "office"},
            {"PPD", ppd},
            {"CHARSET", "utf-8"},
            {"CONTENT_TYPE", "application/postscript"},
            {"ORVALEN_TEST_ROOT", m_root.path()}};
}

void PinJobLibraries()
{
    orvtest::PinSharedLibrary("libcups.so.2");
    orvtest::PinSharedLibrary("libgs.so.10");
    orvtest::PinSharedLibrary(ORV_COMPRESS_LIB_PATH);
}

FilterRun RunFilterProgram(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                           const char* pszStdin)
{
    orvtest::ScratchDir capture;
    std::string outPath = capture / "stdout";
    std::string errPath = capture / "stderr";
    std::vector<std::string> envText;
    for (const auto& [name, value] : env) {
        envText.push_back(name + "=" + value);
    }
    // The sanitizer build reads its options from here.
    AddSanitizerEnvironment(envText, env);
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "TMPDIR"}) {
        if (const char* value = getenv(name); value != nullptr && env.count(name) == 0) {
            envText.push_back(std::string(name) + "=" + value);
        }
    }
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : envText) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);

    FilterRun run;
    pid_t pid = fork();
    if (pid == 0) {
        int in = open(pszStdin != nullptr ? pszStdin : "/dev/null", O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0) {
            _exit(126);
        }
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execve(ORV_GDI_FILTER_PATH, argv.data(), envp.data());
        _exit(127);
    }
    EXPECT_GT(pid, 0);
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        run.iStatus = WEXITSTATUS(status);
    }
    run.stdoutBytes = ReadAll(outPath);
    run.stderrText = ReadAll(errPath);
    return run;
}

std::vector<std::string> LogLinesAt(const std::string& log, const std::string& prefix)
{
    std::vector<std::string> lines;
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        std::string rest = line.substr(prefix.size());
        if (rest.compare(0, 5, "(PID ") == 0) {
            size_t close = rest.find(") ");
            if (close != std::string::npos) {
                rest = rest.substr(close + 2);
            }
        }
        lines.push_back(rest);
    }
    return lines;
}

}  // namespace filtertest

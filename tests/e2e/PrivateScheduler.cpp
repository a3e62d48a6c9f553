#include "e2e/PrivateScheduler.h"

#include <arpa/inet.h>
#include <cups/cups.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <sstream>
#include <thread>

namespace orve2e {

const char* JobStateName(JobState state)
{
    switch (state) {
    case JobState::Pending: return "pending";
    case JobState::Held: return "held";
    case JobState::Processing: return "processing";
    case JobState::Stopped: return "stopped";
    case JobState::Canceled: return "canceled";
    case JobState::Aborted: return "aborted";
    case JobState::Completed: return "completed";
    case JobState::Unknown: break;
    }
    return "unknown";
}

PrivateScheduler::~PrivateScheduler()
{
    Stop();
}

namespace {

// A loopback port nobody listens on right now (the kernel's choice for an unbound socket).
int FreeLoopbackPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        return 0;
    }
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

}  // namespace

bool PrivateScheduler::Start(std::string* error)
{
    // cupsd runs filters as the CUPS user when started as root: the tree must be reachable.
    chmod(m_scratch.path().c_str(), 0755);
    m_root = m_scratch / "root";
    m_cupsdDir = m_scratch / "cupsd";
    // The package as installed, then the programs' twins that find it under the staging root.
    const RunResult install = Run({ORV_CMAKE_COMMAND, "--install", ORV_BUILD_DIR}, {"DESTDIR=" + m_root});
    if (install.status != 0) {
        *error = "cmake --install failed:\n" + install.output;
        return false;
    }
    const RunResult twins =
        Run({ORV_CMAKE_COMMAND, "--install", ORV_BUILD_DIR, "--component", "orv-test-root"}, {"DESTDIR=" + m_root});
    if (twins.status != 0) {
        *error = "cmake --install --component orv-test-root failed:\n" + twins.output;
        return false;
    }
    return StartCupsd(false, error);
}

bool PrivateScheduler::StartCupsd(bool restrictedAdministration, std::string* error)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (m_loopbackPort == 0) {
            m_loopbackPort = FreeLoopbackPort();
        }
        const RunResult started =
            Run({"bash", ORV_SOURCE_DIR "/scripts/private-cupsd.sh", "start", m_cupsdDir, m_root, ORV_CUPS_FILTER_DIR},
                {"ORV_CUPSD_LOOPBACK_PORT=" + std::to_string(m_loopbackPort),
                 std::string("ORV_CUPSD_ADMIN=") + (restrictedAdministration ? "restricted" : "")});
        if (started.status != 0) {
            *error = "private cupsd did not start:\n" + started.output;
            return false;
        }
        m_started = true;
        // Another program may have taken the port between the choice and cupsd's start; the
        // queues' URIs would then lead to it.
        if (ErrorLog().find("Unable to open listen socket") == std::string::npos) {
            return true;
        }
        Stop();
        std::remove((m_cupsdDir + "/log/error_log").c_str());
        m_loopbackPort = 0;
    }
    *error = "private cupsd found no free loopback port";
    return false;
}

bool PrivateScheduler::Restart(bool restrictedAdministration, std::string* error)
{
    Stop();
    return StartCupsd(restrictedAdministration, error);
}

void PrivateScheduler::Stop()
{
    if (m_started) {
        Run({"bash", ORV_SOURCE_DIR "/scripts/private-cupsd.sh", "stop", m_cupsdDir});
        m_started = false;
    }
}

std::string PrivateScheduler::InstalledPpd(const std::string& name) const
{
    return m_root + ORV_CUPS_PPD_DIR "/" + name;
}

RunResult PrivateScheduler::Client(const std::vector<std::string>& argv) const
{
    return Run(argv, {"CUPS_SERVER=" + Socket()});
}

bool PrivateScheduler::AddQueue(const std::string& name, const std::string& ppdOrModel, const std::string& device,
                                const std::vector<std::string>& options, std::string* error) const
{
    std::vector<std::string> argv = {"lpadmin", "-p", name, "-E", "-v",
                                     device.empty() ? "orvcapture:" + OutputDir() : device};
    if (!ppdOrModel.empty()) {
        argv.push_back(ppdOrModel[0] == '/' ? "-P" : "-m");
        argv.push_back(ppdOrModel);
    }
    for (const std::string& option : options) {
        argv.push_back("-o");
        argv.push_back(option);
    }
    const RunResult result = Client(argv);
    // lpadmin warns that drivers are deprecated; only its status tells.
    if (result.status != 0) {
        *error = "lpadmin: " + result.output;
        return false;
    }
    return true;
}

int PrivateScheduler::Submit(const std::string& queue, const std::string& file, const std::vector<std::string>& options,
                             std::string* error, const std::string& title) const
{
    std::vector<std::string> argv = {"lp", "-d", queue};
    if (!title.empty()) {
        argv.push_back("-t");
        argv.push_back(title);
    }
    for (const std::string& option : options) {
        argv.push_back("-o");
        argv.push_back(option);
    }
    argv.push_back(file);
    const RunResult result = Client(argv);
    std::smatch match;
    static const std::regex requestId("request id is [^ ]+-([0-9]+)");
    if (result.status != 0 || !std::regex_search(result.output, match, requestId)) {
        *error = "lp: " + result.output;
        return 0;
    }
    return std::stoi(match[1]);
}

JobState PrivateScheduler::GetJobState(int job) const
{
    http_t* http = httpConnect2(Socket().c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 30000, nullptr);
    if (http == nullptr) {
        return JobState::Unknown;
    }
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(http, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    JobState state = JobState::Unknown;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id == job) {
            state = static_cast<JobState>(jobs[i].state);
        }
    }
    cupsFreeJobs(count, jobs);
    httpClose(http);
    return state;
}

JobState PrivateScheduler::WaitForJob(int job, int timeoutSeconds) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    JobState state = JobState::Unknown;
    while (std::chrono::steady_clock::now() < deadline) {
        state = GetJobState(job);
        if (state == JobState::Completed || state == JobState::Aborted || state == JobState::Canceled ||
            state == JobState::Stopped) {
            // The capture device renames its file when it is done; the state can come first.
            if (state == JobState::Completed) {
                const std::string output = OutputDir() + "/job-" + std::to_string(job) + ".prn";
                for (int i = 0; i < 50 && access(output.c_str(), F_OK) != 0; ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
            }
            return state;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return state;
}

std::string PrivateScheduler::JobOutput(int job) const
{
    return ReadFileText(OutputDir() + "/job-" + std::to_string(job) + ".prn");
}

std::string PrivateScheduler::ErrorLog() const
{
    return ReadFileText(m_cupsdDir + "/log/error_log");
}

std::vector<std::string> PrivateScheduler::JobLog(int job) const
{
    std::vector<std::string> lines;
    std::istringstream log(ErrorLog());
    const std::string tag = "[Job " + std::to_string(job) + "]";
    std::string line;
    while (std::getline(log, line)) {
        if (line.find(tag) != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace orve2e

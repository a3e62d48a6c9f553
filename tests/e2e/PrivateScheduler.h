// A private CUPS scheduler for the end-to-end tests: the build installed into a scratch staging
// tree (cmake --install with DESTDIR), and cupsd started on a Unix socket of its own by
// scripts/private-cupsd.sh with the installed filter among CUPS's filters and the staging tree as
// the package root of the jobs. Clients reach it through CUPS_SERVER; nothing of the system's
// scheduler or /etc/cups is touched.
#pragma once

#include <string>
#include <vector>

#include "e2e/ProcessRun.h"
#include "support/ScratchDir.h"

namespace orve2e {

// Job states as the scheduler reports them (IPP job-state values).
enum class JobState { Unknown = 0, Pending = 3, Held = 4, Processing = 5, Stopped = 6, Canceled = 7, Aborted = 8, Completed = 9 };

const char* JobStateName(JobState state);

class PrivateScheduler {
public:
    PrivateScheduler() = default;
    ~PrivateScheduler();
    PrivateScheduler(const PrivateScheduler&) = delete;
    PrivateScheduler& operator=(const PrivateScheduler&) = delete;

    // Installs the build and starts cupsd, listening on its socket and on a free loopback port;
    // false with the reason in *error.
    bool Start(std::string* error);
    void Stop();
    // Stops cupsd and starts it again on the same queues; with restrictedAdministration no client
    // has the rights to change a queue any more (ORV_CUPSD_ADMIN=restricted).
    bool Restart(bool restrictedAdministration, std::string* error);

    const std::string& Root() const { return m_root; }  // the staging tree, ORVALEN_TEST_ROOT of the jobs
    std::string Socket() const { return m_cupsdDir + "/cups.sock"; }
    // The server as "localhost:PORT": clients given it (CUPS_SERVER) see the queues' URIs on that
    // port, so that programs connecting to a queue by its URI (lpoptions -l) reach this scheduler.
    std::string LoopbackServer() const { return "localhost:" + std::to_string(m_loopbackPort); }
    std::string OutputDir() const { return m_cupsdDir + "/out"; }
    std::string InstalledPpd(const std::string& name) const;  // e.g. "GC7350.ppd"
    // The PPD the scheduler keeps for a queue.
    std::string QueuePpd(const std::string& queue) const { return m_cupsdDir + "/etc/ppd/" + queue + ".ppd"; }
    std::string ScratchPath(const std::string& relative) const { return m_scratch / relative; }

    // A CUPS client program (lpadmin, lp, lpstat, cancel, ...) run against this scheduler.
    RunResult Client(const std::vector<std::string>& argv) const;

    // lpadmin -p NAME -E -v DEVICE [-P PPD | -m MODEL] [-o OPTION]...; a device of "" captures
    // every job apart (JobOutput).
    bool AddQueue(const std::string& name, const std::string& ppdOrModel, const std::string& device,
                  const std::vector<std::string>& options, std::string* error) const;

    // lp -d QUEUE [-t TITLE] [-o OPTION]... FILE; the job id, or 0 with the reason in *error.
    int Submit(const std::string& queue, const std::string& file, const std::vector<std::string>& options,
               std::string* error, const std::string& title = std::string()) const;

    JobState GetJobState(int job) const;
    // Waits until the job has ended (completed, aborted, canceled or stopped); its last state.
    JobState WaitForJob(int job, int timeoutSeconds = 120) const;

    // The printer stream of a job on a capturing queue.
    std::string JobOutput(int job) const;
    std::string ErrorLog() const;
    // The error log's lines of one job.
    std::vector<std::string> JobLog(int job) const;

private:
    // Starts cupsd on the installed tree; a loopback port someone took meanwhile is tried anew.
    bool StartCupsd(bool restrictedAdministration, std::string* error);

    orvtest::ScratchDir m_scratch;
    int m_loopbackPort = 0;
    std::string m_root;
    std::string m_cupsdDir;
    bool m_started = false;
};

}  // namespace orve2e

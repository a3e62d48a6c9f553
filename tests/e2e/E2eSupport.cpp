#include "e2e/E2eSupport.h"

#include <pwd.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>

#include "tools/stream-decoder/lib/StreamDecoder.h"

namespace orve2e {

namespace {

struct SchedulerState {
    std::unique_ptr<PrivateScheduler> scheduler;
    std::string error;
    bool tried = false;
};

SchedulerState& State()
{
    static SchedulerState state;
    return state;
}

bool AddSampleQueues(PrivateScheduler& scheduler, std::string* error)
{
    return scheduler.AddQueue("gc", scheduler.InstalledPpd("GC7350.ppd"), "",
                              {"OptionDuplexer=Installed", "OptionNumberTray=3"}, error) &&
           scheduler.AddQueue("gm", scheduler.InstalledPpd("GM4150.ppd"), "", {}, error) &&
           scheduler.AddQueue("gcfile", scheduler.InstalledPpd("GC7350.ppd"),
                              "file://" + scheduler.OutputDir() + "/gcfile.prn", {}, error);
}

}  // namespace

std::vector<std::string> PrintedJob::PjlLines() const
{
    std::vector<std::string> lines;
    for (const orvdecode::StreamEvent& event : decoded.events) {
        if (event.kind == orvdecode::EventKind::PjlLine) {
            lines.push_back(event.text);
        }
    }
    return lines;
}

bool PrintedJob::HasPjl(const std::string& text) const
{
    for (const std::string& line : PjlLines()) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool PrintedJob::Logged(char level, const std::string& text) const
{
    for (const std::string& line : log) {
        if (!line.empty() && line[0] == level && line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string PrintedJob::Summary() const
{
    std::ostringstream out;
    out << "job " << id << " " << JobStateName(state) << ", " << stream.size() << " bytes, "
        << decoded.pages.size() << " page(s)";
    if (!submitError.empty()) {
        out << ", lp: " << submitError;
    }
    if (decoded.error) {
        out << ", stream fault at " << decoded.error->offset << ": " << decoded.error->message;
    }
    out << "\nPJL:";
    for (const std::string& line : PjlLines()) {
        out << " [" << line << "]";
    }
    out << "\nlog (errors and filter lines):\n";
    for (const std::string& line : log) {
        if (line.rfind("E ", 0) == 0 || line.find("(PID") != std::string::npos) {
            out << "  " << line << "\n";
        }
    }
    return out.str();
}

PrivateScheduler* Scheduler(std::string* error)
{
    SchedulerState& state = State();
    if (!state.tried) {
        state.tried = true;
        auto scheduler = std::make_unique<PrivateScheduler>();
        if (scheduler->Start(&state.error) && AddSampleQueues(*scheduler, &state.error)) {
            state.scheduler = std::move(scheduler);
        }
    }
    if (!state.scheduler && error != nullptr) {
        *error = state.error;
    }
    return state.scheduler.get();
}

PrintedJob PrintAndWait(const std::string& queue, const std::string& file, const std::vector<std::string>& options,
                        const std::string& title)
{
    PrintedJob job;
    PrivateScheduler* scheduler = Scheduler(&job.submitError);
    if (scheduler == nullptr) {
        return job;
    }
    job.id = scheduler->Submit(queue, file, options, &job.submitError, title);
    if (job.id == 0) {
        return job;
    }
    job.state = scheduler->WaitForJob(job.id);
    job.stream = queue == "gcfile" ? ReadFileText(scheduler->OutputDir() + "/gcfile.prn") : scheduler->JobOutput(job.id);
    job.decoded = orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(job.stream.data()), job.stream.size());
    job.log = scheduler->JobLog(job.id);
    return job;
}

const FilterStatus& GetFilterStatus()
{
    static const FilterStatus status = [] {
        FilterStatus s;
#ifndef ORV_HAVE_GDI_FILTER
        s.reason = "the build has no gdi-filter program";
        return s;
#else
        std::string error;
        if (Scheduler(&error) == nullptr) {
            s.reason = "no scheduler: " + error;
            return s;
        }
        const PrintedJob probe = PrintAndWait("gcfile", Document("probe.ps"));
        s.prints = probe.state == JobState::Completed && probe.LooksPrinted();
        if (!s.prints) {
            s.reason = "a one-page document gave " + probe.Summary();
        }
        return s;
#endif
    }();
    return status;
}

std::string Document(const std::string& name)
{
    const std::string built = std::string(ORV_E2E_BUILT_DOCS) + "/" + name;
    if (std::filesystem::exists(built)) {
        return built;
    }
    return std::string(ORV_E2E_SOURCE_DOCS) + "/" + name;
}

std::string SubmittingUser()
{
    const passwd* user = getpwuid(getuid());
    return user != nullptr ? user->pw_name : std::string();
}

void ExpectPagesMatch(const PrintedJob& job, const std::string& document, double paperWidth, double paperHeight)
{
    std::string error;
    const std::vector<ReferencePage> reference = RenderReference(document, &error);
    ASSERT_FALSE(reference.empty()) << error;
    ASSERT_TRUE(job.decoded.ok()) << job.Summary();
    ASSERT_EQ(reference.size(), job.decoded.pages.size()) << job.Summary();
    for (size_t i = 0; i < reference.size(); ++i) {
        const orvdecode::DecodedPage& page = job.decoded.pages[i];
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const int dpiX = NearestDpi(page.width, paperWidth);
        const int dpiY = NearestDpi(page.height, paperHeight);
        // The printable area: at most the paper, and no more than about 1/4 inch short of it.
        EXPECT_LE(page.width / double(dpiX), paperWidth + 0.05);
        EXPECT_GE(page.width / double(dpiX), paperWidth - 0.5);
        EXPECT_LE(page.height / double(dpiY), paperHeight + 0.05);
        EXPECT_GE(page.height / double(dpiY), paperHeight - 0.5);
        const PageMatch match = ComparePage(page, dpiX, dpiY, reference[i]);
        EXPECT_TRUE(IsGoodMatch(match)) << Describe(match);
    }
}

}  // namespace orve2e

// What every end-to-end test shares: one private scheduler per test program with the sample
// queues, printing a document and waiting for its job, and whether gdi-filter prints at all.
//
// Queues (each job's stream is captured apart): "gc" (GC7350, duplex unit and three trays
// installed), "gm" (GM4150), and "gcfile" (GC7350 on a file: device).
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e/PageCompare.h"
#include "e2e/PrivateScheduler.h"
#include "tools/stream-decoder/lib/StreamTypes.h"

namespace orve2e {

struct PrintedJob {
    int id = 0;
    std::string submitError;  // lp refused the job
    JobState state = JobState::Unknown;
    std::string stream;
    orvdecode::DecodedStream decoded;
    std::vector<std::string> log;  // the scheduler's error log lines of the job

    std::vector<std::string> PjlLines() const;
    bool HasPjl(const std::string& text) const;
    // A line of the job log at the level letter (D, I, W, E, ...) containing text.
    bool Logged(char level, const std::string& text) const;
    // A well-formed printer stream with at least one page.
    bool LooksPrinted() const { return decoded.ok() && !decoded.pages.empty(); }
    std::string Summary() const;
};

// The scheduler of this test program, started at the first call; nullptr with the reason in
// *error when it cannot start.
PrivateScheduler* Scheduler(std::string* error);

PrintedJob PrintAndWait(const std::string& queue, const std::string& file, const std::vector<std::string>& options = {},
                        const std::string& title = std::string());

// Whether gdi-filter prints a page: decided once per program by printing a one-page document.
struct FilterStatus {
    bool prints = false;
    std::string reason;
};
const FilterStatus& GetFilterStatus();

// A document of the tests, built or kept in the test tree.
std::string Document(const std::string& name);

// The name the jobs are submitted under (the user running the tests).
std::string SubmittingUser();

// Every page of the job matches Ghostscript's rendering of the document, page for page, on
// paper of the given size in inches.
void ExpectPagesMatch(const PrintedJob& job, const std::string& document, double paperWidth, double paperHeight);

inline constexpr double kA4Width = 8.27;
inline constexpr double kA4Height = 11.69;
inline constexpr double kLetterWidth = 8.5;
inline constexpr double kLetterHeight = 11.0;

}  // namespace orve2e

// Skips the test while gdi-filter is not built or cannot print a page yet. With the environment
// variable ORV_E2E_REQUIRE_FILTER=1 that is a failure instead.
#define ORV_REQUIRE_PRINTING_FILTER()                                                    \
    do {                                                                                 \
        const ::orve2e::FilterStatus& status_ = ::orve2e::GetFilterStatus();             \
        if (!status_.prints) {                                                           \
            const char* require_ = std::getenv("ORV_E2E_REQUIRE_FILTER");                \
            if (require_ != nullptr && std::string(require_) == "1") {                   \
                FAIL() << "gdi-filter does not print: " << status_.reason;               \
            }                                                                            \
            GTEST_SKIP() << "gdi-filter does not print a page yet: " << status_.reason;  \
        }                                                                                \
    } while (0)

// The package's companion program: stores a queue's PPD option defaults (-S) or installs a
// rewritten PPD carrying the user's custom paper sizes (-C) in the CUPS scheduler, for the
// settings program, which never writes an installed PPD itself. Exit status 0 on success; on any
// failure a message on standard error, status 1 (2 for a wrong command line), and the queue as it
// was.
#include <cstdio>
#include <string>

#include "platform/companion/CompanionArgs.h"
#include "platform/companion/CompanionRun.h"

namespace {

constexpr int kSucceeded = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

}  // namespace

int main(int argc, char** argv)
{
    using namespace orvcompanion;
    CompanionRequest request;
    std::string error;
    if (!ParseCompanionArgs(argc, argv, &request, &error)) {
        std::fprintf(stderr, "L_QW7RMTEKB: %s\n%s", error.c_str(), CompanionUsage());
        return kUsage;
    }
    bool done = false;
    switch (request.mode) {
    case Mode::Help:
        std::fputs(CompanionUsage(), stdout);
        return kSucceeded;
    case Mode::StoreDefaults:
        done = StoreDefaults(request, &error);
        break;
    case Mode::InstallPpd:
        done = InstallPpd(request, &error);
        break;
    }
    if (!done) {
        std::fprintf(stderr, "L_QW7RMTEKB: %s\n", error.c_str());
        return kFailed;
    }
    return kSucceeded;
}

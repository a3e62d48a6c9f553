// The companion program's command line, as the settings program builds it:
//
//   L_QW7RMTEKB -S -p<queue> -o<keyword>=<choice> ...   store the queue's PPD option defaults
//   L_QW7RMTEKB -C -p<queue> -c<path of a PPD>          install that PPD as the queue's PPD
//
// With -S, "-ocopies=<n>" (no PPD option) makes n the queue's default number of copies, and a
// "Collate" choice is also made the queue's job default: the filter takes both from the job's own
// options, which the scheduler fills from those defaults.
// A value may also follow its option letter as the next argument ("-p queue").
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace orvcompanion {

enum class Mode { StoreDefaults, InstallPpd, Help };

struct CompanionRequest {
    Mode mode = Mode::Help;
    std::string queue;
    std::vector<std::pair<std::string, std::string>> defaults;  // keyword, choice; in order given
    std::string ppdPath;
};

// Reads argv[1..argc-1]. False with a message for the user when the line is not one of the forms
// above: an unknown or repeated argument, no or two modes, a missing queue or PPD, "-o" without a
// keyword and a choice, "-o" with "-C" or "-c" with "-S", or a queue name CUPS would not accept.
bool ParseCompanionArgs(int argc, const char* const* argv, CompanionRequest* request, std::string* error);

// The usage text.
const char* CompanionUsage();

// A queue name as CUPS accepts it: 1..127 bytes, printable, without blanks, "/", "\\", "?", "'",
// "\"" or "#".
bool IsQueueName(const std::string& name);

}  // namespace orvcompanion

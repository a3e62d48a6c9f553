// Runs a program to its end and collects what it printed, for the end-to-end tests.
#pragma once

#include <string>
#include <vector>

namespace orve2e {

struct RunResult {
    int status = -1;     // exit status, or -1 when it did not start or ended by a signal
    std::string output;  // standard output and standard error together
};

// argv[0] is looked up in PATH. env holds NAME=value entries added to (or replacing in) this
// process's environment; standard input is /dev/null unless inputPath is given.
RunResult Run(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
              const std::string& inputPath = std::string());

// The text of a file ("" when it cannot be read).
std::string ReadFileText(const std::string& path);

}  // namespace orve2e

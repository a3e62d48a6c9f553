// Standard error pointed at a file while the object lives, so that a test can read what the code
// under test logged.
#pragma once

#include "support/ScratchDir.h"

#include <optional>
#include <string>

namespace orvtest {

class StderrCapture {
public:
    // Captures into a scratch file of the object's own.
    StderrCapture();
    // Captures into the file at `path` (created or truncated); the file stays.
    explicit StderrCapture(const std::string& path);
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Everything written to standard error so far; standard error is restored first.
    std::string Take();

private:
    void Start();
    void Restore();

    std::optional<ScratchDir> m_dir;  // only when no path was given
    std::string m_path;
    int m_saved = -1;
};

}  // namespace orvtest

// A temporary directory tree for one test, removed with everything in it at the end.
#pragma once

#include <string>

namespace orvtest {

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return m_path; }
    // path() + "/" + relative
    std::string operator/(const std::string& relative) const;

    // Writes a file (creating its parent directories) and returns its full path.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;

private:
    std::string m_path;
};

// Points the package's fixed locations at a scratch tree (ORVALEN_TEST_ROOT) for its lifetime.
class ScopedInstallRoot {
public:
    explicit ScopedInstallRoot(const std::string& root);
    ~ScopedInstallRoot();
    ScopedInstallRoot(const ScopedInstallRoot&) = delete;
    ScopedInstallRoot& operator=(const ScopedInstallRoot&) = delete;

private:
    bool m_hadOld = false;
    std::string m_old;
};

}  // namespace orvtest

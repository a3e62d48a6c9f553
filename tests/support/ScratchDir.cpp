#include "support/ScratchDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace orvtest {

ScratchDir::ScratchDir()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/orvtest.XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = buf.data();
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    // Tests may leave read-only directories behind; make them writable before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
    }
    std::filesystem::remove_all(m_path, ec);
}

std::string ScratchDir::operator/(const std::string& relative) const
{
    return m_path + "/" + relative;
}

std::string ScratchDir::WriteFile(const std::string& relative, const std::string& bytes) const
{
    std::string full = *this / relative;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + full);
    }
    return full;
}

ScopedInstallRoot::ScopedInstallRoot(const std::string& root)
{
    if (const char* old = std::getenv("ORVALEN_TEST_ROOT")) {
        m_hadOld = true;
        m_old = old;
    }
    setenv("ORVALEN_TEST_ROOT", root.c_str(), 1);
}

ScopedInstallRoot::~ScopedInstallRoot()
{
    if (m_hadOld) {
        setenv("ORVALEN_TEST_ROOT", m_old.c_str(), 1);
    } else {
        unsetenv("ORVALEN_TEST_ROOT");
    }
}

}  // namespace orvtest

#include "core/util/PpdText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orv {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now, so that a failing close (a lost write on some file systems) is seen.
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

char FoldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool ReadPpdText(const char* path, bool noFollow, std::string* text, mode_t* mode)
{
    if (path == nullptr || text == nullptr) {
        return false;
    }
    FileDescriptor fd(open(path, O_RDONLY | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0)));
    struct stat st {};
    if (fd.get() < 0 || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<unsigned long long>(st.st_size) > kMaxPpdBytes) {
        return false;
    }
    // The size is only a hint: the file may grow while it is read, and the bound holds anyway.
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        if (bytes.size() + static_cast<size_t>(n) > kMaxPpdBytes) {
            return false;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    *text = std::move(bytes);
    if (mode != nullptr) {
        *mode = st.st_mode & 07777;
    }
    return true;
}

bool ReplacePpdText(const char* path, const std::string& text, mode_t mode)
{
    if (path == nullptr || path[0] == '\0') {
        return false;
    }
    std::string temporary = std::string(path) + ".XXXXXX";
    FileDescriptor fd(mkostemp(&temporary[0], O_CLOEXEC));
    if (fd.get() < 0) {
        return false;
    }
    bool ok = fchmod(fd.get(), mode & 07777) == 0 && WriteAll(fd.get(), text) && fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    if (ok && rename(temporary.c_str(), path) == 0) {
        return true;
    }
    unlink(temporary.c_str());
    return false;
}

std::vector<TextLine> SplitLines(const std::string& text)
{
    std::vector<TextLine> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t feed = text.find('\n', begin);
        const size_t next = feed == std::string::npos ? text.size() : feed + 1;
        size_t end = feed == std::string::npos ? text.size() : feed;
        if (end > begin && text[end - 1] == '\r') {
            --end;
        }
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

size_t KeywordLength(std::string_view text, std::string_view keyword, std::string_view followers)
{
    if (!StartsWithNoCase(text, keyword)) {
        return 0;
    }
    if (text.size() == keyword.size() || followers.find(text[keyword.size()]) != std::string_view::npos) {
        return keyword.size();
    }
    return 0;
}

std::string_view SkipBlanks(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    return text.substr(i);
}

}  // namespace orv

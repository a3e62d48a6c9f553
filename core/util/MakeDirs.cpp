#include "core/util/MakeDirs.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

// Makes one prefix of the path exist as a directory.
int EnsureDirectory(const char* pszPrefix, mode_t mode)
{
    struct stat st;
    if (stat(pszPrefix, &st) == 0) {
        if (!S_ISDIR(st.st_mode)) {
            errno = ENOTDIR;
            return -1;
        }
        return 0;
    }
    if (mkdir(pszPrefix, mode) == 0) {
        return 0;
    }
    // Another process may have made it between the stat and the mkdir; that is success.
    if (errno == EEXIST && stat(pszPrefix, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return 0;
        }
        errno = ENOTDIR;
    }
    return -1;
}

}  // namespace

int MakeDirs(const char* pszPath, mode_t mode)
{
    if (pszPath == nullptr || pszPath[0] == '\0') {
        errno = EINVAL;
        return -1;
    }

    std::string path;
    try {
        path = pszPath;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return -1;
    }

    size_t pos = 0;
    while (pos < path.size() && path[pos] == '/') {
        ++pos;  // the root always exists
    }
    while (pos < path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos) {
            end = path.size();
        }
        // Handle the prefix up to the end of this component.
        char saved = path[end];
        path[end] = '\0';
        int rc = EnsureDirectory(path.c_str(), mode);
        path[end] = saved;
        if (rc != 0) {
            return -1;
        }
        pos = end;
        while (pos < path.size() && path[pos] == '/') {
            ++pos;
        }
    }
    return 0;
}

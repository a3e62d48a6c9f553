#include "core/InstallPaths.h"

#include <cstdlib>

namespace orv {

std::string InstallRoot()
{
#ifdef ORV_TEST_ROOT_OVERRIDE
    const char* root = std::getenv("ORVALEN_TEST_ROOT");
    if (root != nullptr && root[0] == '/') {
        std::string r(root);
        while (r.size() > 1 && r.back() == '/') {
            r.pop_back();  // the defaults start with their own slash
        }
        return r == "/" ? std::string() : r;
    }
#endif
    return std::string();
}

std::string InstalledPath(const char* defaultPath)
{
    return InstallRoot() + (defaultPath != nullptr ? defaultPath : "");
}

}  // namespace orv

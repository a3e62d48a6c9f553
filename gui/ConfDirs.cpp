#include "gui/ConfDirs.h"

#include "core/util/FileUtil.h"
#include "core/util/MakeDirs.h"
#include "core/util/PackagePaths.h"

#include <sys/stat.h>

namespace {

constexpr mode_t kMakeMode = 0770;   // while being made; the umask applies
constexpr mode_t kFinalMode = 0775;  // readable by the filter's user

}  // namespace

bool MakeConfDirs()
{
    char* conf = GetUserConfPath(nullptr);
    char* overlay = GetUserOverlayDir(nullptr);
    bool ok = false;
    if (conf != nullptr && overlay != nullptr && MakeDirs(overlay, kMakeMode) == 0) {
        ok = true;
        if (chmod(conf, kFinalMode) != 0) {
            ok = false;
        }
        if (chmod(overlay, kFinalMode) != 0) {
            ok = false;
        }
    }
    FreeIfSet(conf);
    FreeIfSet(overlay);
    return ok;
}

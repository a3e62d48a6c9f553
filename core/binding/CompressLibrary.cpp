#include "core/binding/CompressLibrary.h"

#include "core/InstallPaths.h"
#include "core/binding/SharedObject.h"

#include <dlfcn.h>

#include <cstring>
#include <iterator>
#include <string>

namespace {

// Leaves room for ".so.1" within a file name of 255 bytes.
constexpr size_t kMaxBaseNameLength = 250;

bool IsNameCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '.' || c == '_' || c == '+' || c == '-';
}

}  // namespace

bool IsCompressLibraryName(const char* baseName)
{
    if (baseName == nullptr || baseName[0] == '\0') {
        return false;
    }
    size_t length = 0;
    for (const char* p = baseName; *p != '\0'; ++p) {
        if (!IsNameCharacter(*p) || ++length > kMaxBaseNameLength) {
            return false;
        }
    }
    return std::strstr(baseName, "..") == nullptr;
}

int LoadCompressLibrary(tagCOMPRESSFUNC* compress, const char* baseName)
{
    if (compress == nullptr || baseName == nullptr) {
        return 1;
    }
    // The table may be fresh, garbage or bound: a library a binder opened into this table is
    // released (a second bind must not leak the first), anything else is only overwritten.
    UnloadCompressLibrary(compress);
    std::memset(compress, 0, sizeof *compress);
    if (!IsCompressLibraryName(baseName)) {
        return 1;
    }

    const std::string dir = orv::InstalledPath(orv::kCompressLibDir);
    const std::string withVersion = dir + baseName + ".so.1";
    const std::string plain = dir + baseName + ".so";
    const char* const candidates[] = {withVersion.c_str(), plain.c_str()};

    compress->handle = orv::OpenFirstCandidateFor(compress, candidates, std::size(candidates));
    if (compress->handle == nullptr) {
        return 1;
    }
    const orv::SymbolSlot entry {"COMPRESS", offsetof(tagCOMPRESSFUNC, COMPRESS)};
    if (!orv::BindSymbols(compress->handle, compress, &entry, 1)) {
        UnloadCompressLibrary(compress);
        return 1;
    }
    return 0;
}

bool IsCompressLibraryReentrant(const tagCOMPRESSFUNC* compress)
{
    if (compress == nullptr || compress->handle == nullptr) {
        return false;
    }
    using ReentrantFn = int (*)();
    void* symbol = dlsym(compress->handle, kCompressReentrantEntry);
    if (symbol == nullptr) {
        return false;
    }
    ReentrantFn reentrant;
    std::memcpy(&reentrant, &symbol, sizeof reentrant);
    return reentrant() == 1;
}

void UnloadCompressLibrary(tagCOMPRESSFUNC* compress)
{
    if (compress == nullptr || compress->handle == nullptr) {
        return;
    }
    orv::CloseBoundHandle(compress, compress->handle);
    std::memset(compress, 0, sizeof *compress);
}

#include "support/PinnedLibrary.h"

#include <dlfcn.h>

namespace orvtest {

bool PinSharedLibrary(const char* soname)
{
    return dlopen(soname, RTLD_NOW | RTLD_NODELETE) != nullptr;
}

}  // namespace orvtest

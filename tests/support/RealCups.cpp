#include "support/RealCups.h"

#include "support/PinnedLibrary.h"

namespace orvtest {

namespace {

struct BoundCups {
    tagCUPSFUNC table {};
    BoundCups()
    {
        PinSharedLibrary("libcups.so.2");
        LoadCupsLibrary(&table);
    }
    ~BoundCups() { UnloadCupsLibrary(&table); }
};

}  // namespace

tagCUPSFUNC& RealCups()
{
    static BoundCups cups;
    return cups.table;
}

}  // namespace orvtest

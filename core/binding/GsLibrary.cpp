#include "core/binding/GsLibrary.h"

#include "core/binding/SharedObject.h"

#include <cstring>
#include <iterator>

namespace {

// Where libgs is looked for, in order; the Debian multiarch locations and the plain sonames come
// last, after the classic locations.
const char* const kGsCandidates[] = {
    "/usr/local/lib/libgs.so",
    "/usr/local/lib/libgs.so.8",
    "/usr/local/lib/libgs.so.9",
    "/usr/lib/libgs.so",
    "/usr/lib/libgs.so.8",
    "/usr/lib/libgs.so.9",
    "/usr/local/lib64/libgs.so",
    "/usr/local/lib64/libgs.so.8",
    "/usr/local/lib64/libgs.so.9",
    "/usr/lib64/libgs.so",
    "/usr/lib64/libgs.so.8",
    "/usr/lib64/libgs.so.9",
    "/usr/lib/x86_64-linux-gnu/libgs.so.10",
    "/usr/lib/x86_64-linux-gnu/libgs.so",
    "libgs.so.10",
    "libgs.so",
};

#define ORV_GS_SLOT(name) orv::SymbolSlot{#name, offsetof(tagGSFUNC, name)}

// Everything after gsapi_revision, looked up only once the revision call has succeeded.
constexpr orv::SymbolSlot kGsSlots[] = {
    ORV_GS_SLOT(gsapi_new_instance),
    ORV_GS_SLOT(gsapi_delete_instance),
    ORV_GS_SLOT(gsapi_set_stdio),
    ORV_GS_SLOT(gsapi_set_poll),
    ORV_GS_SLOT(gsapi_set_display_callback),
    ORV_GS_SLOT(gsapi_init_with_args),
    ORV_GS_SLOT(gsapi_run_string),
    ORV_GS_SLOT(gsapi_run_string_with_length),
    ORV_GS_SLOT(gsapi_run_string_begin),
    ORV_GS_SLOT(gsapi_run_string_continue),
    ORV_GS_SLOT(gsapi_run_string_end),
    ORV_GS_SLOT(gsapi_exit),
};

#undef ORV_GS_SLOT

static_assert(std::size(kGsSlots) + 1 == kGsFuncSlots, "every entry after the revision is listed");

bool RevisionAnswers(const tagGSFUNC& gs)
{
    if (gs.gsapi_revision == nullptr) {
        return false;
    }
    gsapi_revision_t revision {};
    return gs.gsapi_revision(&revision, static_cast<int>(sizeof revision)) == 0;
}

}  // namespace

int LoadGhostscriptLibrary(tagGSFUNC* gs)
{
    return LoadGhostscriptLibraryFrom(gs, kGsCandidates, std::size(kGsCandidates));
}

int LoadGhostscriptLibraryFrom(tagGSFUNC* gs, const char* const* candidates, size_t count)
{
    if (gs == nullptr) {
        return 1;
    }
    // The table may be fresh, garbage or bound: a library a binder opened into this table is
    // released (a second bind must not leak the first), anything else is only overwritten.
    UnloadGhostscriptLibrary(gs);
    std::memset(gs, 0, sizeof *gs);

    gs->handle = orv::OpenFirstCandidateFor(gs, candidates, count);
    if (gs->handle == nullptr) {
        return 1;
    }
    const orv::SymbolSlot revision {"gsapi_revision", offsetof(tagGSFUNC, gsapi_revision)};
    orv::BindSymbols(gs->handle, gs, &revision, 1);
    if (!RevisionAnswers(*gs) ||
        !orv::BindSymbols(gs->handle, gs, kGsSlots, std::size(kGsSlots))) {
        UnloadGhostscriptLibrary(gs);
        return 1;
    }
    return 0;
}

void UnloadGhostscriptLibrary(tagGSFUNC* gs)
{
    if (gs == nullptr || gs->handle == nullptr) {
        return;
    }
    orv::CloseBoundHandle(gs, gs->handle);
    std::memset(gs, 0, sizeof *gs);
}

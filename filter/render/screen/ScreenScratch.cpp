#include "filter/render/screen/ScreenScratch.h"

#include "filter/render/RenderContext.h"

#include <cstdlib>

namespace {

constexpr size_t kAlignment = 64;

}  // namespace

BYTE* ScreenScratchBytes(tagRENDERCONTEXT* context, size_t bytes)
{
    if (context == nullptr) {
        return nullptr;
    }
    tagSCREENSCRATCH* scratch = context->pScreenScratch;
    if (scratch == nullptr) {
        scratch = static_cast<tagSCREENSCRATCH*>(std::calloc(1, sizeof(tagSCREENSCRATCH)));
        if (scratch == nullptr) {
            return nullptr;
        }
        context->pScreenScratch = scratch;
    }
    if (scratch->cbBytes >= bytes && scratch->pBytes != nullptr) {
        return scratch->pBytes;
    }
    if (bytes > SIZE_MAX - kAlignment) {
        return nullptr;
    }
    const size_t rounded = (bytes + kAlignment - 1) / kAlignment * kAlignment;
    BYTE* grown = static_cast<BYTE*>(std::aligned_alloc(kAlignment, rounded == 0 ? kAlignment : rounded));
    if (grown == nullptr) {
        return nullptr;
    }
    std::free(scratch->pBytes);
    scratch->pBytes = grown;
    scratch->cbBytes = rounded;
    return grown;
}

void FreeScreenScratch(tagSCREENSCRATCH* scratch)
{
    if (scratch == nullptr) {
        return;
    }
    std::free(scratch->pBytes);
    std::free(scratch);
}

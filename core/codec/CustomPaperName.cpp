#include "core/codec/CustomPaperName.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr char kPrefix[] = "Custom";
// The size starts at the eighth character, after "Custom" and one separator (".").
constexpr size_t kSizeStart = 7;
constexpr size_t kMaxWidthChars = 15;

}  // namespace

void ParseCustomPaperName(const char* pszName, float* pfWidth, float* pfHeight)
{
    if (pszName == nullptr || pfWidth == nullptr || pfHeight == nullptr) {
        return;
    }
    if (std::strncmp(pszName, kPrefix, sizeof kPrefix - 1) != 0) {
        return;
    }
    // The name comes from a PPD or a job option: never read past its end, nor past the width's
    // buffer when the "x" is far away.
    if (std::strlen(pszName) < kSizeStart) {
        return;
    }
    const char* size = pszName + kSizeStart;
    const char* x = std::strchr(size, 'x');
    if (x == nullptr) {
        return;
    }
    char width[kMaxWidthChars + 1] = {};
    size_t widthChars = static_cast<size_t>(x - size);
    std::memcpy(width, size, widthChars < kMaxWidthChars ? widthChars : kMaxWidthChars);
    *pfWidth = static_cast<float>(std::atof(width));
    *pfHeight = static_cast<float>(std::atof(x + 1));
}

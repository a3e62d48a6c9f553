#include "filter/render/ScreenSimd.h"

namespace {

ScreenSimd Detect()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2") ? ScreenSimd::Avx2 : ScreenSimd::Sse2;
}

ScreenSimd& Current()
{
    static ScreenSimd level = ScreenSimdAvailable();
    return level;
}

}  // namespace

ScreenSimd ScreenSimdAvailable()
{
    static const ScreenSimd available = Detect();
    return available;
}

ScreenSimd ScreenSimdLevel()
{
    return Current();
}

ScreenSimd SetScreenSimdLevel(ScreenSimd level)
{
    Current() = level == ScreenSimd::Avx2 ? ScreenSimdAvailable() : ScreenSimd::Sse2;
    return Current();
}

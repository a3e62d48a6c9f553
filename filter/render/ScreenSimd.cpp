#include "filter/render/ScreenSimd.h"

namespace {

ScreenSimd Detect()
{
    __builtin_cpu_init();
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("bmi2")) {
        return ScreenSimd::Sse2;
    }
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vbmi")) {
        return ScreenSimd::Avx512;
    }
    return ScreenSimd::Avx2;
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
    Current() = static_cast<int>(level) < static_cast<int>(ScreenSimdAvailable()) ? level : ScreenSimdAvailable();
    return Current();
}

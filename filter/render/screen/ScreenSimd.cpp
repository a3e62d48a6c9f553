#include "filter/render/screen/ScreenSimd.h"

#include "filter/render/RenderContext.h"

namespace {

ScreenCpuFeatures DetectFeatures()
{
    __builtin_cpu_init();
    ScreenCpuFeatures cpu{};
    cpu.avx2 = __builtin_cpu_supports("avx2");
    cpu.bmi1 = __builtin_cpu_supports("bmi");
    cpu.bmi2 = __builtin_cpu_supports("bmi2");
    cpu.avx512f = __builtin_cpu_supports("avx512f");
    cpu.avx512bw = __builtin_cpu_supports("avx512bw");
    cpu.avx512vbmi = __builtin_cpu_supports("avx512vbmi");
    return cpu;
}

}  // namespace

ScreenSimd ScreenSimdFor(const ScreenCpuFeatures& cpu)
{
    if (!cpu.avx2 || !cpu.bmi1 || !cpu.bmi2) {
        return ScreenSimd::Sse2;
    }
    if (cpu.avx512f && cpu.avx512bw && cpu.avx512vbmi) {
        return ScreenSimd::Avx512;
    }
    return ScreenSimd::Avx2;
}

ScreenSimd ScreenSimdAvailable()
{
    static const ScreenSimd available = ScreenSimdFor(DetectFeatures());
    return available;
}

ScreenSimd ScreenSimdLevel(const tagRENDERCONTEXT* context)
{
    if (context == nullptr || !context->bScreenSimdPinned) {
        return ScreenSimdAvailable();
    }
    const ScreenSimd level = context->eScreenSimd;
    return static_cast<int>(level) < static_cast<int>(ScreenSimdAvailable()) ? level : ScreenSimdAvailable();
}

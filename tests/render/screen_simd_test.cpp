// Which vector level the fast screening picks for the instruction sets a CPU reports.
#include "filter/render/screen/ScreenSimd.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// Features from their names: "avx2 bmi1 bmi2 avx512f avx512bw avx512vbmi".
ScreenCpuFeatures Features(const std::string& names)
{
    ScreenCpuFeatures cpu{};
    std::istringstream in(names);
    std::string name;
    while (in >> name) {
        bool* flag = name == "avx2"         ? &cpu.avx2
                     : name == "bmi1"       ? &cpu.bmi1
                     : name == "bmi2"       ? &cpu.bmi2
                     : name == "avx512f"    ? &cpu.avx512f
                     : name == "avx512bw"   ? &cpu.avx512bw
                     : name == "avx512vbmi" ? &cpu.avx512vbmi
                                            : nullptr;
        EXPECT_NE(flag, nullptr) << name;
        if (flag != nullptr) {
            *flag = true;
        }
    }
    return cpu;
}

TEST(ScreenSimdLevel, EachLevelNeedsAllTheInstructionSetsItsCodeIsCompiledFor)
{
    struct Case {
        const char* features;
        ScreenSimd level;
    };
    const Case cases[] = {
        {"", ScreenSimd::Sse2},
        {"bmi1 bmi2", ScreenSimd::Sse2},
        {"avx2", ScreenSimd::Sse2},
        {"avx2 bmi2", ScreenSimd::Sse2},  // tzcnt and andn would fault
        {"avx2 bmi1", ScreenSimd::Sse2},  // pext and pdep would fault
        {"avx2 bmi1 bmi2", ScreenSimd::Avx2},
        {"avx2 bmi1 bmi2 avx512f", ScreenSimd::Avx2},
        {"avx2 bmi1 bmi2 avx512f avx512bw", ScreenSimd::Avx2},    // no byte shuffles across registers
        {"avx2 bmi1 bmi2 avx512f avx512vbmi", ScreenSimd::Avx2},  // no byte compares into masks
        {"avx2 bmi1 bmi2 avx512bw avx512vbmi", ScreenSimd::Avx2},
        {"avx2 bmi1 bmi2 avx512f avx512bw avx512vbmi", ScreenSimd::Avx512},
        {"avx2 bmi2 avx512f avx512bw avx512vbmi", ScreenSimd::Sse2},  // the AVX-512 code uses BMI1 too
        {"avx2 bmi1 avx512f avx512bw avx512vbmi", ScreenSimd::Sse2},
        {"bmi1 bmi2 avx512f avx512bw avx512vbmi", ScreenSimd::Sse2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<int>(ScreenSimdFor(Features(c.features))), static_cast<int>(c.level))
            << "features: \"" << c.features << "\"";
    }
}

}  // namespace

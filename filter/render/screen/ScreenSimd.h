// The vector instructions the fast screening runs on. The best level this CPU has is found on
// first use; a renderer context may pin a lower one (the tests pin each level in turn, so that every
// one of them is checked against the reference on any machine that has it).
#pragma once

// In order: each level's CPUs run the ones before it.
enum class ScreenSimd {
    Sse2,    // every x86-64 CPU
    Avx2,    // 32-byte compares, with BMI2's bit gathering for the pixels of one ink
    Avx512,  // 64-byte compares into bit masks, byte shuffles across registers (BW and VBMI)
};

// The instruction sets the CPU reports (and the system enables), of those the levels use.
struct ScreenCpuFeatures {
    bool avx2;
    bool bmi1;
    bool bmi2;
    bool avx512f;
    bool avx512bw;
    bool avx512vbmi;
};

// The best level a CPU with these features runs. The AVX2 code is compiled for BMI1 and BMI2 as
// well (the compiler emits tzcnt and andn, the code calls pext and pdep), so it needs all three;
// the AVX-512 code needs F, BW and VBMI besides everything the AVX2 code needs.
ScreenSimd ScreenSimdFor(const ScreenCpuFeatures& cpu);

// The best level the CPU runs.
ScreenSimd ScreenSimdAvailable();

// The level the fast screening runs for a renderer context: the one it pins, held to the available
// one, or the available one when it pins none.
struct tagRENDERCONTEXT;
ScreenSimd ScreenSimdLevel(const tagRENDERCONTEXT* context);

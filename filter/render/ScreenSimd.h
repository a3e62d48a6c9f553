// The vector instructions the fast screening runs on. The best level this CPU has is chosen on
// first use; the tests pin each level in turn, so that every one of them is checked against the
// reference on any machine that has it.
#pragma once

// In order: each level's CPUs run the ones before it.
enum class ScreenSimd {
    Sse2,  // every x86-64 CPU
    Avx2,  // 32-byte compares, with BMI2's bit gathering for the pixels of one ink
    Avx512,  // 64-byte compares into bit masks, byte shuffles across registers (BW and VBMI)
};

// The best level the CPU runs.
ScreenSimd ScreenSimdAvailable();

// The level the fast screening uses now.
ScreenSimd ScreenSimdLevel();

// Sets the level, held to the available one; returns the level set.
ScreenSimd SetScreenSimdLevel(ScreenSimd level);

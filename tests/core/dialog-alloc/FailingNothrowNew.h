// Failure injection for the non-throwing forms of operator new, which the core uses wherever it
// answers "no memory" with NULL. This test program replaces those two forms (a replacement the
// language allows), so every such allocation in the program, the core's included, can be made to
// fail one at a time. The throwing forms and malloc are untouched.
#pragma once

#include <cstddef>

namespace allocfail {

// Arms the injector: the nth non-throwing allocation from now answers NULL (n = 1 the very next);
// 0 disarms it.
void FailNthNothrowAllocation(long n);

// Whether the armed failure happened since the last arming, and the size that was refused.
bool Fired();
std::size_t FailedSize();

}  // namespace allocfail

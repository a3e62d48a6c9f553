// Counts the allocations made through the throwing operator new forms of this test program (the
// plain build replaces them; under the sanitizer's allocator the count is not kept).
#pragma once

namespace allocount {

// Whether this build counts at all.
bool Counting();
// Allocations through operator new and new[] since the program started.
long Allocations();

}  // namespace allocount

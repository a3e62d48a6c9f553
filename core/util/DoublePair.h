// The process-wide default paper size pair, in points (both 0.0 until set). The paper rules read
// it for the paper id that stands for the default size.
#pragma once

// Stores the pair (first, second).
void SetDoublePair(double dFirst, double dSecond);

// Returns the pair through the pointers in the same order; a NULL pointer is skipped.
void GetDoublePair(double* pdFirst, double* pdSecond);

// Rules over the custom-size limits of the model: which class a custom size falls in, whether a
// paper is too large for the printer, whether a size is long paper, and the largest custom size.
// Flags answer FLAG_TRUE or FLAG_FALSE; a missing limits record counts as absent.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"

// 458 when the size lies within capability 101's limits, else 459 within capability 102's,
// else 456. Sides in millimetres when bMetric, else inches; compared in 0.1 mm or 1/600 inch.
SHORT ClassifyCustomSize(const tagMODELHANDLE* pHandle, bool bMetric, double dWidth, double dLength);

// TRUE when the paper's size in 1/600 inch is beyond capability 21's largest custom size and
// capability 75's long-paper limits do not admit it. FALSE for ids of 456 and above.
WORD IsPaperTooLarge(const tagMODELHANDLE* pHandle, SHORT sPaperId);

// TRUE when the model has long paper (capability 75) and the longer side is beyond capability
// 21's largest custom length.
WORD IsLongPaper(const tagMODELHANDLE* pHandle, bool bMetric, double dWidth, double dLength);

// Capability 21's largest custom width and length in 0.1 mm, raised to capability 75's with
// bLongPaper. TRUE when either record gave values.
WORD GetCustomSizeMaximum(const tagMODELHANDLE* pHandle, SHORT* psMaxWidth, SHORT* psMaxLength, bool bLongPaper);

// Rules over the settings record alone: the orientation and paper a job is really laid out on,
// poster tiles, the fit-to-output-paper layout, the zoom clamp and the quality-mode map.
// Flags answer FLAG_TRUE or FLAG_FALSE.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/settings/DevMode.h"

// 1 or 2: dmOrientation, turned for a booklet, an uneven poster and 2, 6 or 8 pages per sheet.
// 1 for a NULL record.
SHORT GetEffectiveOrientation(const DRVDEVMODE* pdm);

// dmOutputPaperSize when set, else dmPaperSize; 0 for a NULL record.
SHORT GetEffectivePaperId(const DRVDEVMODE* pdm);

// 1, 3 and 4 stay, anything else is 2. The handle is not used.
SHORT MapQualityMode(const tagMODELHANDLE* pHandle, SHORT sMode);
SHORT MapQualityValue(SHORT sMode);

// Both tile counts become 2.
WORD ResetPosterTiles(SHORT* psTilesX, SHORT* psTilesY);

// With an output paper "none" (0) becomes fit to the output paper (8); without one 8 becomes 0.
void SyncOutputPaperMode(DRVDEVMODE* pdm);

// 2x2, 3x3, 4x4, 1x2 in portrait and 2x1 in landscape; also a NULL record.
WORD IsPosterTilesValid(const DRVDEVMODE* pdm);

// Puts the larger count along the longer side of the orientation, then falls back to 2x2 when
// the tiles are still not valid.
void NormalisePosterTiles(DRVDEVMODE* pdm);

// Holds dmScaleTo within [sMin, sMax]. A record whose dmSize does not put the private part where
// the layout has it is left alone.
void ClampScaleTo(DRVDEVMODE* pdm, SHORT sMin, SHORT sMax);

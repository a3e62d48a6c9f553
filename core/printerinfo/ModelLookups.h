// Small lookups in the model's lists: the resolution entry of a quality mode and the counts of
// paper sources that the installed-option table weighs.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"

// Copies the first 32-byte resolution entry (capability 42 view 1) of the quality mode.
// FALSE for a NULL output or when no entry has that mode.
WORD FindResolutionEntry(const tagMODELHANDLE* pHandle, SHORT sQualityMode, void* pvEntry32);

// Paper sources a user picks in the standard configuration: every source of capability 24
// except manual feed (4) and automatic selection (7).
int CountSelectableSources(const tagMODELHANDLE* pHandle);
// Sources of optional feeder units: the source-group records of kinds 1 and 2.
int CountOptionalSources(const tagMODELHANDLE* pHandle);
// Sources of every source group.
int CountGroupedSources(const tagMODELHANDLE* pHandle);
// Sources of large-capacity trays (kind 5).
int CountLargeCapacitySources(const tagMODELHANDLE* pHandle);

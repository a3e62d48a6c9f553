// Where the installed finisher places its finishing on the sheet for the job's paper, as the
// model lists it per paper and finisher code: position 2, 3 or 4, or 0 when it lists none.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/printerinfo/InstallOption.h"
#include "core/settings/DevMode.h"

// sMode picks which of the two flag groups applies together with the effective orientation
// (the settings program asks with the hole-punch mode).
SHORT GetStaplePosition(const tagMODELHANDLE* pHandle, const CInstallOption* pOptions, const DRVDEVMODE* pdm,
                        SHORT sMode);

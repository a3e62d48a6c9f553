// The private-field step of the revise pipeline: job options, layout, cover, finishing and colour
// fields held to the values the driver can print, and the defaults of a fresh record (mode 1).
#pragma once

#include "core/WinTypes.h"
#include "core/dialog/ReviseInfo.h"
#include "core/settings/DevMode.h"

// Revise modes: 1 builds a fresh record of model defaults, 2 revises a record from outside.
inline constexpr int REVISE_MODE_DEFAULTS = 1;
inline constexpr int REVISE_MODE_REVISE = 2;

// The largest binding margin (dmDuplexMargin) the revise step allows, in 1/dmUnitOfLayout inch
// (600 when the unit is unset): the model's limit (capability 25 view 4, 50 mm or 2 inches without
// it) in the record's units (dmMetric bit 0x2). Never below 0.
LONG GetDuplexMarginLimit(const tagMODELHANDLE* pHandle, const DRVDEVMODE* pdm);

// -1 when done; 0 without a context, its model handle or a record.
SHORT bRevisePrivateDevmode(const tagREVISEINFO* pInfo, DRVDEVMODE* pdm, int mode);

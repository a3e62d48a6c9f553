// Whole option sets through the codec: the PPD's marked choices and a job's CUPS options into the
// settings record, and the settings record back into CUPS options.
#pragma once

#include "core/model/ModelHandle.h"
#include "core/settings/DevMode.h"

// Marks the PPD's defaults, then the given options, and writes into the record: first the marked
// choice of every PPD option (CollectPpdOptions order, "PageRegion" left out), then every CUPS
// option that names no PPD option with a marked choice, in array order. Finally the layout keeps
// only the first of its bits 0x1, 0x2, 0x4, 0x8 that is set (a layout of none of them stays).
// Changes the PPD's marks. Returns 0.
int Options2Devmode(tagMODELHANDLE* pHandle, DRVDEVMODE* pdm, int nOptions,
                    cups_option_t* pOptions);

// The record as CUPS options, one per key that has a value, in the order of CUPS_KEYS. *ppOptions
// starts empty (NULL) and is grown with the table's cupsAddOption; free it with cupsFreeOptions.
// Returns the number of options.
int DevmodeToOptions(tagMODELHANDLE* pHandle, DRVDEVMODE* pdm, cups_option_t** ppOptions);

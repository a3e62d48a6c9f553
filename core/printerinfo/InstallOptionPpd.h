// The queue PPD's say over the installed-option table: the "Option..." choices the user marked
// for the hardware this queue's printer has.
#pragma once

#include "core/model/ModelHandle.h"
#include "core/printerinfo/InstallOption.h"

// Applies "OptionDuplexer", "OptionNumberTray", "OptionLCT", "OptionHDD" and "OptionFinisher"
// (with "OptionPuncher") in that order, each only when the PPD has a marked choice for it.
// Entries a choice names that the model does not list are ignored.
void ApplyPpdInstallChoices(const tagMODELHANDLE* pHandle, tagINSTALLENTRY* pEntries, DWORD dwCount);

// The option codec: one CUPS option or PPD choice into the settings record, and back.
//
// The queue's PPD and the job's CUPS options speak in keywords and choice names, the settings
// record in numbers. For each of the keys of CUPS_KEYS (core/codec/CupsKeys.h) the codec knows
// which record fields the key stands for and how its value is read and written: most PPD keys by
// the "%% ID=" number of the choice, Boolean options by "true", a few by the choice name, and the
// CUPS job options by their own value words. Every CUPS and PPD call goes through the handle's
// libcups table; a handle without a bound table or an open PPD counts as a PPD without options.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/settings/DevMode.h"

// Sets the record from pszValue when it is given, then, when ppszResult is given, stores there
// NULL or the key's value as the record now holds it: a malloc'ed string that the caller frees.
// Unknown keys change nothing and give no value. Always FLAG_TRUE.
WORD OptionCodec(tagMODELHANDLE* pHandle, DRVDEVMODE* pdm, const char* pszKey,
                 const char* pszValue, char** ppszResult);

// The decimal text of the number in a malloc'ed string; NULL when memory runs out.
char* IntToString(int nValue);

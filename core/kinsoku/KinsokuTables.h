// The two tables of the constraint engine, as functions of a settings record: when an item or a
// key is active (fixed from the starting record's validity bits), which value of the record an
// item mirrors, and how a key value is computed.
#pragma once

#include "core/WinTypes.h"
#include "core/settings/DevMode.h"

// Activity entries: 0 inactive, 1 active by the record's bits, 0xFFFF always active.
inline constexpr WORD kKinsokuInactive = 0;
inline constexpr WORD kKinsokuActive = 1;
inline constexpr WORD kKinsokuAlwaysActive = 0xFFFF;

// The entry of item 1..43 from the record's dmFields, dmFieldsExtra1..3 and dmExtraPrint.
// 0 for any other id.
WORD KinsokuItemActivity(SHORT sItemId, const DRVDEVMODE& dm);

// The entry of key 204..242. Keys that hang on items read their entries through pfnItemActive
// (the entries just set for the items). 0 for any other id.
typedef bool (*KinsokuItemActiveFn)(const void* pContext, SHORT sItemId);
WORD KinsokuKeyActivity(SHORT sKeyId, const DRVDEVMODE& dm, KinsokuItemActiveFn pfnItemActive, const void* pContext);

// The value of a key computed from a record. sPaperClass is the record's paper class and
// sOrientation its effective orientation (the caller computes both once per record). Keys 204
// and 242 have no value of their own and answer 0, as does any id outside the table.
LONG KinsokuKeyValue(SHORT sKeyId, const DRVDEVMODE& dm, SHORT sPaperClass, SHORT sOrientation);

// True for the keys that compute their value from the record (every key but 204 and 242).
bool KinsokuKeyHasValue(SHORT sKeyId);

// The PJL values that are texts of the settings record (user id, password, job name, department
// code). The record comes from a file the user writes, so its texts are held to the model's rules
// for them before they reach a quoted PJL value.
#pragma once

#include "core/settings/EntryTextRule.h"
#include "filter/pjl/PjlValues.h"

#include <cstddef>

// The model's rule for the record text of PJL item 17 (user id), 18 (password), 57 (secure job
// name) or 123 (department code); cbField is the size of the record's field, which also bounds the
// largest length. Other items get a rule without filter and the field's length.
tagENTRYTEXTRULE GetRecordTextRule(const tagJOBINFO* pJob, DWORD dwItemId, size_t cbField);

// Sets the value to the record text pszField (cbField bytes, perhaps unterminated): refused (no
// value, logged without the text) when it has a character the item's rule does not accept or is
// shorter than a full-length rule asks; else cut to the rule's largest length and to the item's
// own length, with quotes, control characters, ESC and DEL replaced by blanks whatever the item's
// copy flags let through. True when the value is set.
bool SetRecordText(const tagJOBINFO* pJob, const tagPJLITEM* pItem, const char* pszField, size_t cbField,
                   tagPJLVALUE* pValue);

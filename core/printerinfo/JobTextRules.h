// The model's rules for the texts a user types for a job (department code, secure-print job name,
// the user id and password of a job kind). The settings program's entries and the filter's PJL
// header read them here, so an entry accepts exactly what the printer is later sent.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/settings/EntryTextRule.h"

#include <cstddef>

// Every rule below is bounded by a settings-record field of cbField bytes (a largest length of 0,
// or one the field cannot hold, becomes cbField - 1), so nothing longer than the record keeps is
// ever asked for. Only the department code keeps ENTRYFILTER_FULL: the other texts take any
// length up to the largest.

// Department code (capability 63, view 2); without the record digits only, 8 of them.
tagENTRYTEXTRULE GetDeptCodeRule(const tagMODELHANDLE* pHandle, size_t cbField);

// Secure-print job name (capability 100, view 1); without the record no filter. *pbOffered (may
// be NULL) tells whether the model offers secure print (bit 0x1 of the record's flags).
tagENTRYTEXTRULE GetSecureJobNameRule(const tagMODELHANDLE* pHandle, size_t cbField, bool* pbOffered);

// The user id (bPassword false) or password of job kind sJobKind, as GetJobSpoolInfo reads it.
// *pbEnabled (may be NULL) tells whether the kind's record enables that entry.
tagENTRYTEXTRULE GetJobKindTextRule(const tagMODELHANDLE* pHandle, SHORT sJobKind, bool bPassword, size_t cbField,
                                    bool* pbEnabled);

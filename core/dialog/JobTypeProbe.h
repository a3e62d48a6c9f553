// The job-kind probe: which of the model's five job kinds (proof, hold, private hold, store,
// private store) a record may use, which of them are only optional, and which of the user id and
// password fields they leave unused.
#pragma once

#include "core/WinTypes.h"
#include "core/dialog/ReviseInfo.h"
#include "core/settings/DevMode.h"

// Keep-mask bits: the job kind and the text fields of a record that a revise may keep.
inline constexpr DWORD kProbeKeepJobKind = 0x1;
inline constexpr DWORD kProbeKeepUserId = 0x2;       // user id of kinds 1 to 4
inline constexpr DWORD kProbeKeepUserId5 = 0x4;      // user id of kind 5
inline constexpr DWORD kProbeKeepPassword = 0x8;

struct tagJOBTYPEPROBE {
    SHORT sJobType;      // in: the current kind (0 from the revise pipeline); out: the kind chosen
    SHORT sReserved;     // set to 0
    DWORD dwKeepMask;    // set to 0xFF, then bits cleared (above)
    SHORT sKindWords[5]; // kinds 1, 4, 5, 2, 3: -1, or 0 when the model marks the kind optional
};

// Tries the kinds in the order 1, 4, 5, 2, 3 (each only when dmFieldsExtra1 offers it and the
// model has its capability) and fills the probe. 1 when the installed options have the hard disk
// of capability 35, else 0; 0 without a context, its CMdUtil, a record or a probe.
SHORT bProbeJobType(const tagREVISEINFO* pInfo, const DRVDEVMODE* pdm, tagJOBTYPEPROBE* pProbe);

// The capability readers of the table lists and the finishing lists, reached only through
// SpcQuery (all with its signature; SpcQuery has already refused a missing size pointer).
#pragma once

#include "core/model/SpcReaders.h"

// Finishing units, finishing modes and installable options.
SPC_READER(SpcGetFinisher);       // 27
SPC_READER(SpcGetFinishMode);     // 34
SPC_READER(SpcGetOptionList);     // 37

// The table lists.
SPC_READER(SpcGetList32);
SPC_READER(SpcGetList33);
SPC_READER(SpcGetList35);
SPC_READER(SpcGetList36);
SPC_READER(SpcGetList39);
SPC_READER(SpcGetResolutionDpi);  // 41
SPC_READER(SpcGetResolution);     // 42
SPC_READER(SpcGetList43);
SPC_READER(SpcGetList46);
SPC_READER(SpcGetList47);
SPC_READER(SpcGetList51);
SPC_READER(SpcGetList53);
SPC_READER(SpcGetList55);
SPC_READER(SpcGetPjlItems);       // 65
SPC_READER(SpcGetList69);
SPC_READER(SpcGetList70);
SPC_READER(SpcGetList71);
SPC_READER(SpcGetList76);
SPC_READER(SpcGetIdList);         // 80 to 94
SPC_READER(SpcGetDependPairs);    // 95
SPC_READER(SpcGetList99);

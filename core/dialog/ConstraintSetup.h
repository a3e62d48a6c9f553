// A constraint list filled as every list of this driver is filled: built over a settings record
// (whose validity bits decide which settings and links exist), the model's dependency links, the
// model rules, then the rules of the installed options.
#pragma once

#include "core/model/ModelHandle.h"
#include "core/settings/DevMode.h"

class CKinsokuList;
class CMdUtil;
class CUserPaper;

// A new list the caller deletes, or NULL when memory runs out. pMdUtil may be NULL (no option
// rules). The list keeps pointers to the handle and the user papers.
CKinsokuList* pBuildConstraintList(const tagMODELHANDLE* pHandle, CUserPaper* pUserPaper, const DRVDEVMODE* pdm,
                                   CMdUtil* pMdUtil);

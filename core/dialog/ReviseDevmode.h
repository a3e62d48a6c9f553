// The revise pipeline: a settings record merged with the model's defaults, its job kind chosen,
// its private fields fixed, revised by the installed options, run through the constraint engine
// and its paper size refreshed, so that it is valid for one model as installed.
#pragma once

#include "core/WinTypes.h"
#include "core/binding/CupsLibrary.h"
#include "core/dialog/ReviseInfo.h"
#include "core/dialog/RevisePrivate.h"
#include "core/model/SpcData.h"
#include "core/settings/DevMode.h"

// The settings-record service (mode 1: the model's defaults, mode 2: pIn validated into pOut);
// mode 1 first gives pOut the record sizes, so a zero-filled record can take the defaults. On
// success, a model with finishers (capability 27 view 1) also gets bits 0x70000 of dmFieldsExtra1.
// 13 without model data; 8 without an output record; else the service's code (the output is
// untouched when the service refuses it).
DWORD uiMergeModelDevmode(const tagSPCDATA* pSpc, const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode);

// One pass of the pipeline over the context's objects (any of CMdUtil, constraint list and user
// papers may be missing; their steps are then skipped). Returns the merge's code and stops at once
// when the merge fails, leaving pOut as the merge left it; 87 without a context, model handle or
// output record.
DWORD uiReviseDevmode(const tagREVISEINFO* pInfo, const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode);

// The pipeline with the objects it needs built for this one call from the queue (name, libcups
// table, PPD with its installed options) and the model data. Mode 1 fills pOut with the model's
// defaults (pIn is not used); mode 2 revises pIn (which may be pOut itself; NULL revises pOut in place) into pOut: first the
// record is given the current model's capability bits and layout unit, so a record saved for
// another model is revised as one of this model; then the constraint list of the model and its
// installed options is built and run. Returns uiReviseDevmode's code; in mode 2 also 87 for a
// record whose sizes are not 96/1136 (left untouched) and the defaults' code when the model's
// defaults cannot be built.
DWORD uiReviseDevmodeEx(const char* pszPrinter, tagCUPSFUNC* pCupsFunc, ppd_file_t* pPpd, tagSPCDATA* pSpc,
                        const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode);

// The model's defaults for the queue: true when uiReviseDevmodeEx mode 1 answered 0; false
// without model data or output record.
bool bGetDefaultDevmode(tagCUPSFUNC* pCupsFunc, ppd_file_t* pPpd, const char* pszPrinter, tagSPCDATA* pSpc,
                        DRVDEVMODE* pOut);

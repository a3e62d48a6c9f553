// Paper lookups: the paper record of an id, its size in 0.1 mm, the model's default paper, the
// size of the paper a job is laid out on, and the fall-back from an output paper the printer
// cannot take. Flags answer FLAG_TRUE or FLAG_FALSE.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/UserPaper.h"
#include "core/settings/DevMode.h"

// The model's default paper for a metric (bMetric) or an inch locale; 1 without the record.
SHORT GetDefaultPaperId(const tagMODELHANDLE* pHandle, bool bMetric);

// The paper record of a model paper (1..455). Ids of 456 and above are user papers, which the
// store does not hold; ids below 1 name no paper. TRUE when *pInfo was filled.
WORD GetPaperInfo(const tagMODELHANDLE* pHandle, const CUserPaper* pUserPaper, SHORT sPaperId,
                  tagPAPERINFO* pInfo);

// Width and length in 0.1 mm of a paper id. 256 is the process-wide default size pair; while
// that pair is unset (0 x 0) the outputs keep the size they hold, so a custom size stored under
// 256 survives a refresh. Ids 1..455 zero the outputs first and fill them from the paper record.
WORD GetPaperSizeById(const tagMODELHANDLE* pHandle, SHORT sPaperId, SHORT* psWidth, SHORT* psLength);

// Width and length of the paper the job is laid out on: the output paper's own size, the
// record's custom size, or the effective paper's record. Outputs untouched on FALSE.
WORD GetPaperDimensions(const tagMODELHANDLE* pHandle, const DRVDEVMODE* pdm, SHORT* psWidth, SHORT* psLength);

// When the effective paper is too large for the printer, the output paper becomes the model's
// default paper (unless that is 0) with no size of its own.
void ReplaceUnsupportedOutputPaper(const tagMODELHANDLE* pHandle, const CUserPaper* pUserPaper, DRVDEVMODE* pdm);

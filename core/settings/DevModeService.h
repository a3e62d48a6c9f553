// The settings-record service: a record filled with one model's defaults (mode 1), or any record
// checked and repaired against the model (mode 2).
//
// Every service refuses a record whose dmSize is not 96 or whose dmDriverExtra is not 1136
// (ERROR_INVALID_PARAMETER, output untouched): the private part is found at dmSize, so any other
// size would move it outside the 1232 bytes the caller holds.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcData.h"
#include "core/settings/DevMode.h"

inline constexpr int DEVMODE_SERVICE_DEFAULTS = 1;
inline constexpr int DEVMODE_SERVICE_VALIDATE = 2;

// Mode 1: SpcDefaultDevmode (the input is ignored); mode 2: SpcValidateDevmode; any other mode
// ERROR_NOT_SUPPORTED.
DWORD SpcDevmodeService(const tagSPCDATA* pSpc, const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode);

// Fills pOut with the model's defaults for the user's locale. The caller sets dmSize 96 and
// dmDriverExtra 1136; every other byte is rewritten. 13 without model data, 87 for a bad output,
// else the code of a missing paper-size or paper-source default (the record then carries no
// signature), else 0. pIn and mode are not used.
DWORD SpcDefaultDevmode(const tagSPCDATA* pSpc, const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode);
DWORD SpcDefaultPublicDevmode(const tagSPCDATA* pSpc, DRVDEVMODE* pOut);
DWORD SpcDefaultPrivateDevmode(const tagSPCDATA* pSpc, DRVDEVMODE* pOut);

// Merges pIn into pOut field by field, keeping each input value the model accepts and the
// model default for each one it does not. pOut must already hold a complete record (it is not
// reset); pIn and pOut may be the same record. 87 for a missing or badly sized record, 14 when
// the scratch record cannot be allocated, the defaults' code when they cannot be built; on every
// error pOut is untouched.
DWORD SpcValidateDevmode(const tagSPCDATA* pSpc, const DRVDEVMODE* pIn, DRVDEVMODE* pOut, int mode);

// Width and length (0.1 mm) of standard paper id 1..455 (not 256) from the model: FLAG_TRUE with
// both written; 0 for other ids (outputs untouched), a failed query (outputs 0) or NULL arguments.
WORD GetStandardPaperDims(const tagSPCDATA* pSpc, SHORT paperId, SHORT* pWidth, SHORT* pLength);

// 0: the id is not the model's or the size is outside its limits; 1: a standard paper of the
// model; 2: a custom size inside the custom-size or long-paper limits (0.3 mm tolerance).
// Sizes in 0.1 mm; the record is not used.
int CheckPaperSize(const tagSPCDATA* pSpc, const DRVDEVMODE* pdm, SHORT paperId, SHORT width, SHORT length);

// FLAG_TRUE when the model lists the paper source (directly or in a source group).
WORD IsSourceSupported(const tagSPCDATA* pSpc, const DRVDEVMODE* pdm, SHORT sourceId);

// FLAG_TRUE when the model lists the media type.
WORD IsMediaSupported(const tagSPCDATA* pSpc, const DRVDEVMODE* pdm, DWORD mediaId);

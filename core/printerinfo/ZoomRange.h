// The percent limits of the zoom layout: the model's limits, with the maximum lowered so that
// the zoomed paper's longer side stays within the 32767 dots a page can hold.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/printerinfo/UserPaper.h"
#include "core/settings/DevMode.h"

// The paper turned a quarter (the zoom layout's view of dmPaperSize) in 0.1 mm, else the
// record's own custom size when dmFields has both size bits. FALSE when neither is known.
WORD GetZoomPaperSize(const tagMODELHANDLE* pHandle, const CUserPaper* pUserPaper, const DRVDEVMODE* pdm,
                      SHORT* psWidth, SHORT* psLength);

// Minimum and maximum zoom in percent at sDpi (0 or below: 600). Both start at 100; FALSE
// leaves them there when the paper size is unknown.
WORD GetZoomRange(const tagMODELHANDLE* pHandle, const CUserPaper* pUserPaper, const DRVDEVMODE* pdm, SHORT sDpi,
                  SHORT* psMin, SHORT* psMax);

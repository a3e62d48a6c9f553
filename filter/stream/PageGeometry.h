// A page's place on the printer's sheet: its paper's printable area and margins from the model
// data, in device dots at the settings' resolution.
#pragma once

#include "core/WinTypes.h"
#include "filter/job/JobInfo.h"

// One page's geometry in device dots at the settings' resolution.
struct tagPAGEGEOMETRY {
    WORD wPaperId;      // 256 for a custom paper
    WORD wOrientation;  // 1 portrait, 2 landscape
    LONG lFirstX;       // the model's first pair (standard paper) or the printable size in 0.1 mm
    LONG lFirstY;
    LONG lPrintableWidth;
    LONG lPrintableHeight;
    LONG lLeftOffset;
    LONG lTopOffset;
    LONG lPaperWidth;
    LONG lPaperHeight;
};

// The geometry of a paper id in the given orientation. -1, or 0 when the model has no geometry for
// the paper or the settings' resolution or the resulting sizes are not positive.
int GetPageGeometry(tagJOBINFO* pJob, SHORT sPaperId, SHORT sOrientation, tagPAGEGEOMETRY* pGeometry);

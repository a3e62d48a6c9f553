// A rendered page read from the pipe band by band, put on the printer's page geometry (turned for a
// landscape page) and handed to the renderer's screening.
#pragma once

#include "core/WinTypes.h"
#include "filter/job/JobInfo.h"
#include "filter/stream/PageGeometry.h"
#include "filter/stream/PipeStream.h"

// Rows per band when the model does not say.
inline constexpr int kDefaultStreamBandRows = 512;

// Reads the page's raster band by band and hands each band to the renderer; a landscape page is
// turned by 90 degrees when bRotate is set. -1 when every row went through, else 0.
int ReadPageBands(tagJOBINFO* pJob, int fd, const tagPAGEBITMAPINFO* pInfo, const tagPAGEGEOMETRY* pGeometry,
                  int bRotate);

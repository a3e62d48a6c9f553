// Poster: each stored page enlarged over several sheets with an overlap.
#pragma once

#include "filter/pagepass/PageLayoutTransform.h"

// The placement of poster tile iTile (row-major from the top left): 1, or 0 when the sizes or the
// poster's grid allow none.
int PosterTileTransform(tagJOBINFO* pJob, tagDOCSTATE* pDoc, int iTile, tagPAGETRANSFORM* pTransform);

// The output loop of poster, run instead of the plain loop once all pages are stored.
void RunPoster(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

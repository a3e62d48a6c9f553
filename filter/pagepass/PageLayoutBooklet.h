// Booklet: two stored pages on each side of a sheet, turned by 90 degrees, in the order that folds
// into a booklet.
#pragma once

#include "filter/pagepass/PageLayoutTransform.h"

// The stored page (from 0) on half 0 or 1 of booklet side iSide (from 1); an index at or beyond the
// page count is an empty half.
int BookletPageIndex(int iBinding, int iUnit, int iPageCount, int iSide, int iHalf);

// The placement of half 0 or 1 of a booklet side: 1, or 0 when the sizes allow none.
int BookletHalfTransform(tagJOBINFO* pJob, tagDOCSTATE* pDoc, int iHalf, tagPAGETRANSFORM* pTransform);

// The output loop of booklet, run instead of the plain loop once all pages are stored.
void RunBooklet(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

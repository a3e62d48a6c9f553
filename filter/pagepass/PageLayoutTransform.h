// Where a stored page lands on the output sheet: zoom, fit to the output paper and pages per sheet
// (one page per sheet, scaled and moved), booklet (two pages per sheet side, turned by 90 degrees)
// and poster (each page enlarged over several sheets with an overlap). Each placement is one
// PostScript line inside "gsave" / "grestore" around the page's stored text. Lengths are points.
#pragma once

#include "filter/pagepass/PagePass.h"

struct tagPAGETRANSFORM {
    float fScaleX = 1.0f;
    float fScaleY = 1.0f;
    float fTranslateX = 0.0f;
    float fTranslateY = 0.0f;
    int iRotate = 0;  // degrees
};

// The printable sizes of the output paper and of the stored page, in points.
struct tagLAYOUTSIZES {
    double dOutWidth = 0.0;
    double dOutHeight = 0.0;
    double dInWidth = 0.0;
    double dInHeight = 0.0;
};

// Fills *pSizes from the document's two papers; false when one of the four sizes is not a positive
// finite number (every layout divides by them).
bool GetLayoutSizes(const tagDOCSTATE* pDoc, tagLAYOUTSIZES* pSizes);

// Cut towards zero to two decimals, as the layouts' scale factors are written.
double CutToHundredths(double value);

// The transform for zoom, fit to output paper or pages per sheet: 1 when one applies, else 0 (also
// when a paper's printable size is not positive, which would divide by zero).
int ComputePageTransform(tagJOBINFO* pJob, tagDOCSTATE* pDoc, tagPAGETRANSFORM* pTransform);

// "tx ty translate r rotate sx sy scale" for the interpreter.
void WriteTransform(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const tagPAGETRANSFORM* pTransform);

// Feeds one stored page: inside "gsave" / "grestore" with the transform line when bGsave is set
// (and the transform is given), and always inside a save and restore of its own. A page may be fed
// several times (copies, tiles); the save keeps what one run of it defines, such as the numbered
// objects of a PDF-style page, from clashing with the next run.
void EmitStoredPage(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const tagPAGEINFO& page, bool bGsave,
                    const tagPAGETRANSFORM* pTransform);

// The page pass's settings and set-up: whether a job needs the pass, the paper boxes and the
// orientation of a document, and its fresh state.
#pragma once

#include "filter/pagepass/PagePass.h"

// -1 when the job's settings need the page pass, else 0.
int NeedsPageProcessing(const tagJOBINFO* pJob);

// Replaces the size's margins by the model's printable area (top-down convention). -1 when the
// model gives the area, else 0.
int GetPrintableBox(tagJOBINFO* pJob, ppd_size_t* pSize);

// Turns the page box by the document's orientation.
void ApplyOrientation(tagDOCSTATE* pDoc);

// Fresh state for a document: paper sizes, orientation, layout flags and the page store. -1, or 0
// when a paper size or its printable area is missing or the store cannot be made (the latter also
// sets the fatal flag).
int SetupDocument(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

// The page pass over a whole document: its sections in order, then the pages in the order and
// number the settings ask for.
#pragma once

#include "filter/pagepass/PagePass.h"

// The page pass over one document, reading io.input after the given first line and feeding the
// result through io.pfnFeed. 0 when the document went through (or nothing could be fed because a
// paper size is missing), 1 when the pass had to stop on an error (the child ends with status 1).
int RunPagePass(tagJOBINFO* pJob, const tagPAGEPASSIO* pIo, char* pLine, int iLength, int iSize);

// The document after its first line. 0 when the rewritten document went out, 1 when it was given
// unchanged because it has no page.
int ProcessDocument(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);

// The plain output loop: copies, the duplex blank page, the page transform.
void WritePlainPages(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

// Copy sets the driver makes: the copy count when the driver makes collated copies, else 1.
int DriverCopySets(const tagJOBINFO* pJob);

// The page store: every input page kept in a temporary file with its label, offset and length,
// read back for the output loops.
#pragma once

#include "filter/pagepass/PagePass.h"

// Stores the page that starts at this "%%Page:" line; returns the next unprocessed line's length.
int StorePage(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);

// The label of a "%%Page:" comment (the text after the colon). *ppszRest points behind the label.
// True for a well-formed comment: a label of fewer than 255 characters and a page number followed
// by white space or the end of the line. A label that fills all 255 characters is returned empty.
bool ParsePageLabel(const char* pszText, const char** ppszRest, char* pszLabel /* kPageLabelSize */);

// Adds a page record at the store's current position. NULL (and the fatal flag) without memory.
tagPAGEINFO* AddPageRecord(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pszLabel);

// Feeds the stored bytes of one page; a length of 0 feeds to the end of the store.
void CopyPageData(tagJOBINFO* pJob, tagDOCSTATE* pDoc, FILE* pStore, long lOffset, long lLength);

// Ends storing and reopens the store for reading. False (logged) when it cannot be read back.
bool ReopenPageStore(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

// Closes and removes the store, whichever handle is open.
void RemovePageStore(tagJOBINFO* pJob, tagDOCSTATE* pDoc);

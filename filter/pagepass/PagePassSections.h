// The sections of a DSC document as the page pass copies them: comments, prolog, setup, trailer.
// Each starts with the line that ended the previous section and returns the length of the next
// unprocessed line, 0 at the end of the input.
#pragma once

#include "filter/pagepass/PagePass.h"

int CopyComments(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
int WriteProlog(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
int CopySetup(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
int CopyTrailer(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);

// Copies one body line to the document or the store. A "%%BeginBinary:" or "%%BeginData:" line
// (not ASCII or hex) brings its counted bytes along when the count holds: the bytes are there and
// the end comment follows them. A count that does not hold is ignored and the section is read as
// lines. Returns the length of the next unprocessed line.
int PassLine(tagJOBINFO* pJob, tagDOCSTATE* pDoc, DocTarget target, char* pLine, int iLength, int iSize);

// Counts "%%BeginDocument" / "%ADO_BeginApplication" against their end comments: true when the
// line opened or closed an embedded document (*piDepth changed).
bool TrackEmbedding(const char* pLine, int* piDepth);

// True when the line starts with the prefix.
bool LineStarts(const char* pLine, const char* pszPrefix);

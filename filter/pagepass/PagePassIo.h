// The page pass's input and output: lines and counted bytes of the job, text for the interpreter
// or the page store, and the holding of both until the document's structure is known.
#pragma once

#include "filter/pagepass/PagePass.h"

// One line of the input, line end kept, NUL-terminated; the byte count, 0 at the end.
int ReadDocLine(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iSize);

// Up to cb raw bytes of the input; the count read.
size_t ReadDocBytes(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pb, size_t cb);

// Puts bytes back in front of the input (they are not kept for the unchanged copy a second time).
void UnreadDocBytes(tagDOCSTATE* pDoc, const char* pb, size_t cb);

// Text for the interpreter (held back while the document's structure is not yet known).
void DocWrite(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pb, size_t cb);
void DocPuts(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* psz);

// Text for the page store while it is open for writing, else for the interpreter.
void StoreWrite(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pb, size_t cb);
void StorePuts(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* psz);

// Bytes to the document or the store.
void WriteTo(tagJOBINFO* pJob, tagDOCSTATE* pDoc, DocTarget target, const char* pb, size_t cb);
// Formatted text to the document or the store, through a 1024-byte buffer: -1, or 0 when the text
// does not fit. Such a text is logged; for the document it is left out and the pass goes on, for
// the store it ends the pass (fatal).
int PrintfTo(tagJOBINFO* pJob, tagDOCSTATE* pDoc, DocTarget target, const char* pszFormat, ...)
    __attribute__((format(printf, 4, 5)));

// Starts keeping the rewritten text and a copy of the input until the structure is known; false
// (nothing kept) when the scratch files cannot be made.
bool StartHolding(tagJOBINFO* pJob, tagDOCSTATE* pDoc, const char* pFirstLine, size_t cbFirstLine);
// The document has pages: the held text goes to the interpreter and the copy is dropped.
void ReleaseHeld(tagJOBINFO* pJob, tagDOCSTATE* pDoc);
// The document has none: the held text is dropped, the copy and the rest of the input go to the
// interpreter unchanged.
void ReplayUnchanged(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
// The given line and the rest of the input, unchanged, straight to the interpreter.
void FeedUnchanged(tagJOBINFO* pJob, tagDOCSTATE* pDoc, char* pLine, int iLength, int iSize);
// True while the rewritten text and the input copy are both being kept.
bool IsHolding(const tagDOCSTATE* pDoc);
// Closes whatever holding files are still open.
void EndHolding(tagDOCSTATE* pDoc);

// The Ghostscript child: the job's PostScript is run in-process by libgs with the "ppmraw" device
// writing its pages to standard output, which the filter points at the pipe to the parent. The
// interpreter's own text output is discarded. Results are -1 (true) and 0 (false) unless said.
#pragma once

#include "core/WinTypes.h"
#include "filter/job/JobInfo.h"

#include <cstddef>

// Lines of the job are read in pieces of this size.
inline constexpr size_t kJobLineSize = 8192;
// doc_printf formats into a buffer of this size first; longer texts take a heap buffer.
inline constexpr size_t kDocPrintfBuffer = 1024;

// The child's body: checks the job is PostScript, starts Ghostscript, feeds it the job (through the
// page pass when the settings need it) and ends it. -1 when the input was refused or Ghostscript
// did not start, 0 on success, 1 when feeding or finishing failed.
int RunGhostscriptJob(tagJOBINFO* pJob);

// Creates and initialises the instance at the job's resolution and opens its input.
int StartGhostscript(tagJOBINFO* pJob);
// Ends and deletes the instance, if any.
void EndGhostscript(tagJOBINFO* pJob);

// Text for the interpreter. Nothing is fed once an error is pending (0 then).
int FeedGhostscript(tagJOBINFO* pJob, const char* pszText, size_t cch);
int FeedGhostscriptChar(tagJOBINFO* pJob, int c);
// Closes the interpreter's input, so that it finishes the job.
int FinishGhostscriptInput(tagJOBINFO* pJob);

// Formats and feeds a text of any length; 0 when formatting fails or memory runs out (logged), else
// FeedGhostscript's result.
int doc_printf(tagJOBINFO* pJob, const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));

// Interpreter callbacks: the job is never given to the interpreter's standard input (it arrives
// through the run-string calls only), and the interpreter's messages are discarded.
int gs_stdin(void* pInstance, char* pBuffer, int iCount);
int gs_stdout(void* pInstance, const char* pszText, int iLength);
int gs_stderr(void* pInstance, const char* pszText, int iLength);

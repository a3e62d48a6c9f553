// The job and page frames around the renderer's commands: UEL, PJL header, the renderer's job
// commands and the language switch at the start; the page lock around every page; "@PJL EOJ" and
// UEL at the end. Results are -1 for success and 0 for failure.
#pragma once

#include "filter/job/JobInfo.h"

// "\033%-12345X", the Universal Exit Language that opens and closes every job.
inline constexpr char kUel[] = "\033%-12345X";
inline constexpr char kEnterLanguage[] = "@PJL ENTER LANGUAGE=GDI\r\n";

// Job frame: UEL, PJL header, the renderer's job header and set-up, "@PJL ENTER LANGUAGE=GDI".
int SendJobStart(tagJOBINFO* pJob);
int SendJobHeader(tagJOBINFO* pJob);
int SendRendererJobSetup(tagJOBINFO* pJob);
int SendEnterLanguage(tagJOBINFO* pJob);

// End of the stream: trailing pages when no copy set was given, the renderer's job trailer,
// "@PJL EOJ" with the job title, UEL. -1 and nothing written when the job never started.
int SendJobEnd(tagJOBINFO* pJob);

// Closes a started job after the stream failed, so that the printer is not left inside it: the UEL.
void AbortJob(tagJOBINFO* pJob);

// Page frame, held under the page lock from the page header to the last trailing page.
int SendPageStart(tagJOBINFO* pJob);
int SendPageEnd(tagJOBINFO* pJob);

// A page whose bands are in the renderer's page bitmap: page start, the encoded page, page end.
int SendPage(tagJOBINFO* pJob);

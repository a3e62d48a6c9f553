// The keep-alive thread: while the job's output stays idle between pages it sends the printer a
// short command every so many seconds so that the connection is not dropped. It never writes
// inside a page: the main thread holds the page lock from a page's first byte to its last.
#pragma once

#include "filter/job/JobInfo.h"

#include <cstddef>

// ESC "&&0S".
inline constexpr BYTE kKeepAliveSequence[] = {0x1B, 0x26, 0x26, 0x30, 0x53};
inline constexpr size_t kKeepAliveSequenceLength = sizeof(kKeepAliveSequence);

// The model's keep-alive interval: the 32-bit word at byte 20 of capability 19 view 4; 0 when the
// record is missing or too short.
int ReadKeepAliveSeconds(const tagSPCDATA* pSpcData);

// Thread body (argument: the job context); runs until it is cancelled.
void* KeepAliveThread(void* pvJob);

// Starts the thread when the job's keep-alive seconds are above 0. -1 when a thread runs, 0 when
// none was started.
int StartKeepAliveThread(tagJOBINFO* pJob);

// Cancels the thread and waits for it, so that the locks and the context can be freed after.
// Nothing when no thread runs.
void StopKeepAliveThread(tagJOBINFO* pJob);

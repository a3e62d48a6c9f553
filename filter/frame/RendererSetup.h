// The filter's side of the renderer: the option block the renderer reads, the renderer's page
// set-up, the bands handed to it and the drain of its output buffer into the output writer.
// Results are -1 for success and 0 for failure.
#pragma once

#include "core/WinTypes.h"
#include "filter/job/JobInfo.h"
#include "core/model/SpcPaperAnswers.h"
#include "filter/render/RenderOptions.h"

#include <cstddef>

class WorkerPool;

// The colour-table name field: capability 7 item 200 view 1 holds the name in its tagNAMEDVALUE
// record.
inline constexpr size_t kColorTableRecordSize = sizeof(tagNAMEDVALUE);
inline constexpr size_t kColorTableNameOffset = offsetof(tagNAMEDVALUE, szName);

// Creates the option block and the renderer (which loads the model's colour-table file), fills the
// block's page fields and starts the job's workers (JobWorkerCount of the processors the process may
// use, or the hooks' count; none when they cannot be started). -1 when the block and the renderer
// exist; 0 when the model has no colour-table name or the renderer cannot be created (either is
// logged at the error level).
int InitRenderer(tagJOBINFO* pJob);

// Frees the renderer and the option block and joins the job's workers, after the page being
// compressed, if any, has stopped; nothing when they do not exist.
void FreeRenderer(tagJOBINFO* pJob);

// The option block's paper, media, duplex and copy-set fields from the settings and the page
// number; at the first page of a copy set (bFirstOfSet) also the copy flags and the set's start.
void UpdateCopySetState(tagJOBINFO* pJob, bool bFirstOfSet);

// Per page: the page size into the option block, the colour tables, the threshold matrices and a
// fresh page bitmap. -1 when all three succeeded.
int SetupRendererPage(tagJOBINFO* pJob);

// One band of 24-bit RGB rows padded to 4 bytes, placed at (x, y) on a page of pageWidth x
// pageHeight pixels. -1 when the renderer screened it.
int SendBand(tagJOBINFO* pJob, DWORD dwBitsPerPixel, LONG lBandWidth, LONG lBandRows, LONG lPageWidth, LONG lPageHeight,
             LONG x, LONG y, const BYTE* pbPixels);

// The workers that compress the job's pages: the job's, made by InitRenderer only with a
// compression library that says it may be called from several threads at once (the package's
// own); nullptr for any other library, which is called from the job's thread alone.
WorkerPool* JobEncodeWorkers(const tagJOBINFO* pJob);

// Moves everything in the renderer's output buffer to the output writer. Always -1.
int FlushRendererOutput(tagJOBINFO* pJob);

// The model's colour-table name (capability 7, item sItem, view 1, from byte 8) into szName. -1, or
// 0 when the model does not give one.
int GetColorTableName(const tagSPCDATA* pSpcData, char (&szName)[kColorTableRecordSize], SHORT sItem);

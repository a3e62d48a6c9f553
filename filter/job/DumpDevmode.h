// A settings record written to the filter's log, one named field a line, for debugging a job.
#pragma once

#include "core/settings/DevMode.h"

// Logs every named field of the record at level 1 ("DEBUG: "), in the form
// "DEVMODE.dmSize          = 96"; texts are logged as text, bounded by their field, and the job
// password only as the number of its characters. Nothing for NULL.
void DumpDevmode(const DRVDEVMODE* pdm);

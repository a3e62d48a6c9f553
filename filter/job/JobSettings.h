// The job's settings record: the user's saved settings for the queue, or the model defaults, with
// the job's CUPS options written in and the result revised against the model.
#pragma once

#include "filter/job/JobInfo.h"

// Fills pJob->devmode and sets the secure-print flag when the loaded settings (before the job's
// options) ask for secure print. Always FLAG_TRUE: a missing or damaged saved-settings file only
// means the model defaults are used.
WORD LoadJobSettings(tagJOBINFO* pJob);

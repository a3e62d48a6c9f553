// The job's CUPS options, the queue's PPD, the model data file and the compression library.
#pragma once

#include "filter/job/JobInfo.h"

// The job's options: only the option string of argv[5] (no saved queue defaults), "copies" from
// argv[4] in place of any in the string, "Collate" "false" unless the string sets it. Then the
// queue's PPD opened and marked with them (the file CUPS names in PPD, else the scheduler's copy),
// the model data file of its SPCFILE loaded with the model defaults and the job's settings
// (LoadJobSettings), and the compression library of its LIBJBIG bound. FLAG_TRUE when all of it
// worked; FLAG_FALSE after logging at level 6 what did not (the library is bound even when the
// model data failed).
WORD InitCupsOptions(tagJOBINFO* pJob, char* argv[]);

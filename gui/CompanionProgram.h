// The maker's companion program, which changes a CUPS queue's PPD on the settings program's
// behalf: with "-S" it stores the queue's option defaults, with "-C" it installs a rewritten PPD
// (custom paper sizes). It lives in the package's bin directory and is run synchronously: the
// settings program waits for it and looks at its exit status.
#pragma once

#include "core/binding/CupsLibrary.h"

#include <string>
#include <vector>

// The installed path of the companion program (under the scratch root in tests).
std::string CompanionProgramPath();

// The "-S" command line: the program, "-S", "-p<queue>", then "-o<keyword>=<value>" for each of
// the PPD options, in the order given, that has a value among the CUPS options. "PageRegion" is
// never passed (the printer takes the page size from "PageSize"). Last, "-ocopies=<n>" when the
// CUPS options hold copies: the PPD has no such option, and the companion makes it the queue's
// default number of copies, which the scheduler gives every job that names none.
std::vector<std::string> BuildStoreOptionsArgv(tagCUPSFUNC* cups, const char* queue, ppd_option_t** ppdOptions,
                                               int ppdOptionCount, int cupsOptionCount, cups_option_t* cupsOptions);

// The "-C" command line: the program, "-C", "-p<queue>", "-c<ppd path>".
std::vector<std::string> BuildCustomPaperArgv(const char* queue, const char* ppdPath);

// Runs the command line and waits for it, the program inheriting this process's environment and
// descriptors. True only when it started and exited with status 0.
bool RunCompanion(const std::vector<std::string>& argv);

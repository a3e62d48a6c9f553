// The ids of the custom papers a queue's PPD holds: the "PageSize" choices the companion program
// added, whose codes carry an id above the standard papers' (456 and up), in PPD order.
#pragma once

#include "core/WinTypes.h"
#include "core/binding/CupsLibrary.h"

#include <vector>

// Reads the PPD file at path (left in place). Empty when it does not open or holds no custom
// paper.
std::vector<WORD> ReadCustomPaperIds(tagCUPSFUNC* cups, const char* path);

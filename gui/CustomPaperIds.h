// The ids of the custom papers a queue's PPD holds (the "PageSize" choices the companion program
// added), in file order, as the paper value list takes them.
#pragma once

#include "core/WinTypes.h"

#include <vector>

// Reads the PPD file at path (left in place). Empty when it cannot be read or holds no custom
// paper.
std::vector<WORD> ReadCustomPaperIds(const char* path);

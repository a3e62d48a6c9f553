// The lookup chain of every user-interface text: the model's resource file, then the common one,
// then the built-in table.
#pragma once

#include "core/WinTypes.h"

class CRctFile;

// The text of (section, id): the first of the model file, the common file (either may be NULL)
// and the built-in table (GetBuiltinString) that has it; NULL when none has. A resource file's
// text is used only when it reads the same printf arguments, in order, as the built-in text (none
// when the table has no text): many texts are formats, and a replacement with other conversions
// would make the program read arguments it never passed. Such a text is skipped with a
// diagnostic on standard output and the chain goes on.
const char* LookupUiText(const CRctFile* pModelFile, const CRctFile* pCommonFile, WORD wSection, WORD wID);

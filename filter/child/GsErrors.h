// How the filter reads libgs results: PostScript errors (-1 to -99) and the two fatal codes stop the
// job; the interpreter's own signals below -99 (quit, need more input, ...) let it go on.
#pragma once

// Whether a libgs result lets the job go on: 1, or 0 on an error (logged when bReport is set).
int CheckGsError(int iCode, bool bReport);

// The name of a PostScript error code (-1 to -30), or nullptr for any other code.
const char* GsErrorName(int iCode);

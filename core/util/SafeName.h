// The rule for a name that becomes one component of a file path (a user name, a queue name).
#pragma once

// True when pszName can stand as a single path component without leaving its directory: not
// NULL, not empty, not "." or "..", and without '/'.
bool IsSafeNameComponent(const char* pszName);

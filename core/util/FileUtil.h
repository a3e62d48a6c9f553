// Whole-file reading into a heap buffer.
//
// Colour tables and resource files are loaded whole with these and then read in place, so every
// reader must bound its reads by the size the sized form reports. Model data is loaded with
// SpcLoadFile (core/model/SpcData.h), which keeps that size with the image.
#pragma once

#include <cstddef>

// Reads the file named pszDir + pszName (joined as they are: the caller supplies the slash;
// pszDir may be NULL) into a new malloc'ed buffer of exactly the file's size, no terminator added.
// NULL, with errno set, when the name is NULL, the path is not a regular file, the file cannot be
// opened, is empty or yields fewer bytes than its size, or memory runs out.
// The caller frees the buffer with free() or FreeIfSet().
void* ReadWholeFile(const char* pszDir, const char* pszName);

// The same, also reporting the number of bytes loaded in *pcbSize (0 on failure; pcbSize may be
// NULL).
void* ReadWholeFileSized(const char* pszDir, const char* pszName, size_t* pcbSize);

// free() unless the pointer is NULL.
void FreeIfSet(void* pv);

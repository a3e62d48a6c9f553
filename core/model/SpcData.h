// The loaded model data file ("PCSP"): one printer model's capabilities as a read-only byte image.
//
// The image is read only through SpcQuery (core/model/SpcQuery.h). It carries its real length so
// that every reader can check its reads against the bytes that were actually loaded.
#pragma once

#include "core/WinTypes.h"

#include <cstddef>

struct tagSPCDATA {
    const BYTE* pbImage;  // the file's bytes, right behind this record in the same heap block
    size_t cbImage;       // how many bytes were loaded
};
typedef tagSPCDATA SPCDATA;

// Copies a file image into one heap block that holds the record and the bytes; the owner frees
// it with free(). NULL when there are no bytes or memory runs out. The bytes are not checked
// here: every query checks the header and the bounds of what it reads.
tagSPCDATA* SpcLoadImage(const void* pvBytes, size_t cbBytes);

// Loads the model data file pszDir + pszName (joined as they are; pszDir may be NULL) whole.
// NULL when the file cannot be read or is empty, or memory runs out; the owner frees the result
// with free(). This is how both programs load a queue's model data: the filter at job start and
// the settings program when it loads a queue, each with the model data directory and the name the
// PPD gives under SPCFILE (checked with IsSafeNameComponent first, since it comes from the PPD).
// Plain ReadWholeFile is not used for model data: it does not keep the length every query bounds
// its reads by.
tagSPCDATA* SpcLoadFile(const char* pszDir, const char* pszName);

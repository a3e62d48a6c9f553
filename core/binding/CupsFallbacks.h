// The program's own implementations of the libcups entries that an older or reduced libcups may
// lack. The loader stores them in the libcups table (core/binding/CupsLibrary.h); both programs
// export them under these names.
//
// - File set (cupsTempFile2 and the cupsFile* entries): the CUPS file API for plain, uncompressed
//   files and descriptors. A "w" mode with a compression level writes uncompressed, "a" takes no
//   level (as in libcups); the socket mode "s" is not offered.
// - Array set: the CUPS array API (sorted when a compare function is given).
// - ppdLocalize does nothing; cupsLangDefault has no language to offer.
//
// One implementation serves a whole set, so a file or array made by a fallback is only ever handed
// to the fallbacks of the same set.
#pragma once

#include <cups/array.h>
#include <cups/file.h>
#include <cups/language.h>
#include <cups/ppd.h>

#define ORV_FALLBACK_EXPORT __attribute__((visibility("default")))

extern "C" {

// File set.
ORV_FALLBACK_EXPORT cups_file_t* my_cupsTempFile2(char* filename, int len);
ORV_FALLBACK_EXPORT int my_cupsFileClose(cups_file_t* fp);
ORV_FALLBACK_EXPORT size_t my_cupsFileGetLine(cups_file_t* fp, char* buf, size_t buflen);
ORV_FALLBACK_EXPORT cups_file_t* my_cupsFileOpen(const char* filename, const char* mode);
ORV_FALLBACK_EXPORT cups_file_t* my_cupsFileOpenFd(int fd, const char* mode);
ORV_FALLBACK_EXPORT cups_file_t* my_cupsFileStdin(void);
ORV_FALLBACK_EXPORT ssize_t my_cupsFileWrite(cups_file_t* fp, const char* buf, size_t bytes);
ORV_FALLBACK_EXPORT off_t my_cupsFileTell(cups_file_t* fp);
ORV_FALLBACK_EXPORT ssize_t my_cupsFileRead(cups_file_t* fp, char* buf, size_t bytes);
ORV_FALLBACK_EXPORT off_t my_cupsFileSeek(cups_file_t* fp, off_t pos);
ORV_FALLBACK_EXPORT off_t my_cupsFileRewind(cups_file_t* fp);

// Array set.
ORV_FALLBACK_EXPORT int my_cupsArrayAdd(cups_array_t* a, void* e);
ORV_FALLBACK_EXPORT cups_array_t* my_cupsArrayNew(cups_array_func_t f, void* d);
ORV_FALLBACK_EXPORT int my_cupsArrayCount(cups_array_t* a);
ORV_FALLBACK_EXPORT void* my_cupsArrayFirst(cups_array_t* a);
ORV_FALLBACK_EXPORT void* my_cupsArrayLast(cups_array_t* a);
ORV_FALLBACK_EXPORT void* my_cupsArrayIndex(cups_array_t* a, int n);

// Localisation and language.
ORV_FALLBACK_EXPORT int my_ppdLocalize(ppd_file_t* ppd);
ORV_FALLBACK_EXPORT cups_lang_t* my_cupsLangDefault(void);

}  // extern "C"

#undef ORV_FALLBACK_EXPORT

// The array set has no delete entry; whoever created an array through my_cupsArrayNew frees it
// here (the elements are the owner's). NULL is ignored.
void FreeFallbackArray(cups_array_t* a);

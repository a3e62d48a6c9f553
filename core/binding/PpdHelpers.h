// Conveniences over a queue's destination options and PPD that both programs use. Every libcups
// call goes through the given libcups table; a NULL or unbound table counts as missing.
#pragma once

#include "core/binding/CupsLibrary.h"

// The PPD attribute that carries the driver's own keys ("SPCFILE", "LIBJBIG", "Utility").
extern "C" __attribute__((visibility("default"))) const char PPD_ORVALEN_ATTR[];

// One option array from the queue's saved destination options (queue may be NULL) followed by the
// parsed option string (may be NULL), so the string's options override the queue's. *options is
// set to the array (NULL when empty; free it with the table's cupsFreeOptions). Returns the count;
// 0 without a table or an output pointer.
int CollectDestOptions(tagCUPSFUNC* cups, const char* queue, const char* optionString,
                       cups_option_t** options);

// Fetches the queue's PPD, opens it, removes the fetched copy, localises it, marks its defaults and
// then the given options. The open PPD (close it with ClosePpd), or NULL.
ppd_file_t* OpenQueuePpd(tagCUPSFUNC* cups, const char* queue, int optionCount,
                         cups_option_t* options);

// Opens a PPD file that belongs to someone else (the file is left in place), localises it, marks
// its defaults and then the given options. The open PPD (close it with ClosePpd), or NULL.
ppd_file_t* OpenMarkedPpdFile(tagCUPSFUNC* cups, const char* path, int optionCount,
                              cups_option_t* options);

// ppdClose for an open PPD; nothing for NULL.
void ClosePpd(tagCUPSFUNC* cups, ppd_file_t* ppd);

// Every option of the PPD except "PageRegion": group by group, each group's own options followed
// by those of its subgroups. *options receives a malloc'ed array of pointers into the PPD (NULL
// when there are none), which the caller frees with free(). Returns the count; 0 when the PPD or
// the output pointer is NULL.
int CollectPpdOptions(tagCUPSFUNC* cups, ppd_file_t* ppd, ppd_option_t*** options);

// The value of the PPD attribute PPD_ORVALEN_ATTR with this keyword, owned by the PPD; NULL when
// the attribute or an argument is missing.
const char* GetMakerPpdAttr(tagCUPSFUNC* cups, ppd_file_t* ppd, const char* key);

// cupsAddOption when the table, name, value and array pointer are all given; otherwise the count
// unchanged.
int AddCupsOption(tagCUPSFUNC* cups, const char* name, const char* value, int count,
                  cups_option_t** options);

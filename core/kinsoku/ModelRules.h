// Filling a fresh constraint list from the model data: the dependency links between key items and
// items, the values and default of every item, and the whitelist rules that tie the items to the
// model's papers, media, sources, duplex modes, layouts, covers and print modes.
//
// The passes run once per list, right after it is built and before its first run, in the order of
// bBuildModelKinsoku. A pass only adds: values, allowed values, allow-all flags or empty rules.
// It attaches a rule for key item K to item I only when the model linked I to K, so a setting the
// model does not tie to a key is never constrained by it; an item the list does not hold (an
// inactive setting) is skipped silently.
#pragma once

#include "core/WinTypes.h"
#include "core/kinsoku/KinsokuItem.h"
#include "core/model/ModelHandle.h"
#include "core/model/SpcPaperAnswers.h"

class CKinsokuList;

// Links every (key item, item) pair of the model's dependency list, in stored order.
void vLoadKinsokuLinks(const tagMODELHANDLE* pHandle, CKinsokuList* pList);

// Runs every pass in its fixed order. 0 for a NULL list (nothing done), else -1. The all-values
// flag (-1 from both callers) reaches only the item values: with 0, papers too large for the
// printer and driver copies are left out.
SHORT bBuildModelKinsoku(const tagMODELHANDLE* pHandle, CKinsokuList* pList, SHORT sAllValues);

// Extension points around the model rules; they add nothing. The list hook answers 0 for a NULL
// list, else -1.
void vKinsokuModelPreHook();
SHORT bKinsokuModelHook(CKinsokuList* pList);

// ---- The passes, in their running order ----
void vKinsokuItemValues(const tagMODELHANDLE* pHandle, CKinsokuList* pList, SHORT sAllValues);
void vKinsokuPaper(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
// One custom paper class: 456 custom size, 457 long paper, 458 and 459 the two custom ranges.
void vKinsokuCustomPaper(const tagMODELHANDLE* pHandle, CKinsokuList* pList, SHORT sClass);
void vKinsokuMedia(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuSource(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuBooklet(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuPoster(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuNup(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuDuplex(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuBookletCover(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuCollateCopies(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuCoverCopies(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuPrintMode(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuCoverInsert(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuCoverDuplex(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuCoverDuplexSource(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuBlankPageBooklet(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuTextBlack(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuColorTextBlack(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuJobSpool(const tagMODELHANDLE* pHandle, CKinsokuList* pList);
void vKinsokuSortCover(const tagMODELHANDLE* pHandle, CKinsokuList* pList);

// ---- Helpers shared with the installed-option rules ----

// One sort-capability bit to its dmSort value: 0x1 -> 0, 0x2 -> 1, 0x4 -> 4, 0x8 -> 5, 0x10 -> 2,
// 0x20 -> 3. -1 when mapped; 0 for any other bit (0 included) or a NULL output.
SHORT bSortBitToValue(DWORD dwBit, SHORT* psValue);

// Appends to the pair rule (key item, key value) the sort value of every set bit 0..5 of the word,
// lowest bit first.
void vAddSortBits(CKinsokuItem* pItem, SHORT sKeyItem, LONG lKeyValue, DWORD dwSortBits);

// Appends to the pair rule every value of the item, in value order, that no entry of the
// exclusion list (quality modes, mapped as the quality item maps them) names. 0 for a NULL item or
// list, else -1; a count of 0 or less adds nothing and creates no rule.
SHORT vAllowAllButListed(CKinsokuItem* pItem, SHORT sKeyItem, SHORT sKeyValue, const SHORT* psList, SHORT sCount);

// The merged paper sources: the records of the model's sources, then of its source groups, source
// 7 first, then source 4, then the others in model order. Each record's u32 at 28 holds its
// position before the sort. Empty when the model has no source or memory runs out.
bool BuildMergedSources(const tagMODELHANDLE* pHandle, tagSOURCEINFO** ppRecords, DWORD* pdwCount);
// qsort comparator of the merged sources: weight 2 for source 7, 1 for source 4, 0 otherwise,
// higher first; equal weights by ascending position.
int iCompareSourceOrder(const void* pvA, const void* pvB);

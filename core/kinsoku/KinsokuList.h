// The constraint engine of one printer: its items (one per adjustable setting, ids 1..43), the
// dependency links from key items (values derived from the settings record, ids 204..242) to the
// items they constrain, and the constraint run bExecKinsoku, which computes every key value from
// a settings record, tells the dependent items which values those key values forbid, and rewrites
// each record field whose value became forbidden, until the record stops changing.
//
// Which ids exist is fixed at construction from the starting record's validity bits (the active
// table): an inactive id gets no item and no link, so rules of a setting the printer does not
// offer never take effect. Ids outside 1..43 and 204..242 read as inactive (the links come from the
// model data file).
//
// Results follow the engine's conventions: -1 (0xFFFF as a 16-bit flag) for true, 0 for false.
#pragma once

#include "core/WinTypes.h"
#include "core/containers/MapWordToOb.h"
#include "core/containers/Object.h"
#include "core/containers/WordArray.h"
#include "core/kinsoku/KinsokuIds.h"
#include "core/kinsoku/KinsokuItem.h"
#include "core/kinsoku/ValueList.h"
#include "core/model/ModelHandle.h"
#include "core/model/SpcPaperAnswers.h"
#include "core/printerinfo/UserPaper.h"
#include "core/settings/DevMode.h"

class CKinsokuList;

// Runs the constraint fixed point over the record (read and rewritten in place). sMode 0 is an
// incremental run (only keys whose value changed fire), any other value a full pass (every key
// fires in the first iteration). At most 50 iterations. Returns 0; NULL arguments do nothing.
SHORT bExecKinsoku(CKinsokuList* pList, DRVDEVMODE* pdm, SHORT sMode);

class CKinsokuList : public CObject {
public:
    // Keeps the handle and the user papers (neither owned; both may be NULL), copies the starting
    // record (all zero without one) and fixes the active table from it.
    CKinsokuList(const tagMODELHANDLE* pHandle, CUserPaper* pUserPaper, const DRVDEVMODE* pdm);
    ~CKinsokuList() override;
    CKinsokuList(const CKinsokuList&) = delete;
    CKinsokuList& operator=(const CKinsokuList&) = delete;

    // --- Items ---
    // The existing item; for an active id without one a new empty item; NULL for an inactive id.
    CKinsokuItem* GetOrCreateItem(SHORT sItemId);
    CKinsokuItem* GetItem(SHORT sItemId) const;
    // Deletes the item. Links naming it stay and are skipped because no item is found.
    void RemoveItem(SHORT sItemId);
    // Copies between items: bit 0 copies the source's content into the destination (created if
    // needed and active), bit 1 links the destination to every key the source is linked to.
    void CopyItem(SHORT sDestId, SHORT sSourceId, DWORD dwFlags);

    // --- Links: key -> dependent items ---
    // 0 (nothing done) when either id is inactive; else the item is appended to the key's
    // dependents unless already there, and -1.
    SHORT AddLink(SHORT sKeyId, SHORT sItemId);
    // 0xFFFF for a NULL array or a count of 0 or less; else the AND of AddLink over the items.
    WORD AddLinks(SHORT sKeyId, const SHORT* psItems, int nCount);
    void RemoveLink(SHORT sKeyId, SHORT sItemId);
    SHORT IsLinked(SHORT sKeyId, SHORT sItemId) const;
    // The item when it exists and is a dependent of the key; the rule builders attach rules only
    // through it.
    CKinsokuItem* GetLinkedItem(SHORT sItemId, SHORT sKeyId) const;
    // -1 when any key lists the id as a dependent.
    SHORT IsAnyLinkTo(SHORT sItemId) const;
    // Drops the key's dependents and every rule on the key from every item.
    void RemoveKey(SHORT sKeyId);
    // Re-keys the item's rules and moves its link from the old key to the new one. The item's
    // answer, 0 without the item.
    SHORT RenameKey(SHORT sItemId, SHORT sOldKeyId, SHORT sNewKeyId);
    // Applies the key value to every existing dependent of the key, in link order.
    void ApplyKeyValue(SHORT sKeyId, LONG lKeyValue);

    // --- Questions about items (0 / NULL when the item does not exist) ---
    SHORT IsValueDisabled(SHORT sItemId, LONG lValue) const;
    // For key 205 a paper id the model does not list is first mapped to its paper class.
    SHORT IsForbiddenByKeyValue(SHORT sItemId, LONG lValue, SHORT sKeyId, LONG lKeyValue) const;
    int GetForbiddingKeys(SHORT sItemId, LONG lValue, SHORT* psOut, LONG lMax) const;
    // The keys forbidding a value of the item, as GetForbiddingKeys: what the duplex page asks of
    // the duplex-margin item.
    int GetRuleValues(SHORT sItemId, LONG lValue, SHORT* psOut, LONG lMax) const;
    // The item's value list as the settings program fills its choice lists from it, or NULL when
    // the list has no such item (or no memory). The chain belongs to the item: fetching it again
    // frees the chain the previous head starts, and so do clearing, copying onto or removing the
    // item and deleting the list. A caller holds a head only until its next fetch of the same
    // item, fetches again after every constraint run, and never frees it; nodes it appends to the
    // chain stay its own and are unhooked and freed by it before that next fetch.
    tagVALUELIST* GetValueList(SHORT sItemId);

    // --- Ids ---
    // The active-table entry: 0, 1 or 0xFFFF; 0 for any id outside 1..43 and 204..242.
    WORD IsItemActive(SHORT sId) const;
    // Id at that place of the item order (1..43) or the key order (204..208, 242, 209..241);
    // 0 outside the order.
    SHORT GetItemIdAt(int nIndex) const;
    SHORT GetKeyIdAt(int nIndex) const;
    SHORT IsMetric() const { return m_sMetric; }

    // --- Paper, media and source records ---
    // The paper class: a paper id the model lists is its own class; other sizes are 456 (custom),
    // 457 (long paper), 458 or 459 (the model's custom ranges). 0 for a NULL record.
    SHORT GetPaperClass(const DRVDEVMODE* pdm) const;
    // -1 and the paper record of the record's class (the model's record, or one made from the
    // custom-size limits and the record's size), else 0.
    SHORT GetPaperRecord(const DRVDEVMODE* pdm, tagPAPERINFO* pOut) const;
    SHORT GetMediaRecord(SHORT sMediaId, tagMEDIAINFO* pOut) const;
    SHORT GetSourceRecord(SHORT sSourceId, tagSOURCEINFO* pOut) const;
    // -1 and the most poster tiles across and down whose joined image stays within 32767 dots,
    // each at least 1; 0 when there is no such limit (no paper record, nothing printable, or an
    // overlap that leaves no room).
    SHORT GetMaxPosterTiles(const DRVDEVMODE* pdm, SHORT* psMaxX, SHORT* psMaxY) const;

    // --- Replacement values for a forbidden paper, source or media ---
    // The item's plain choice, unless a related setting that changed in this run names a
    // selectable value (see KinsokuChoice.cpp).
    LONG ChoosePaper(SHORT sItemId, const DRVDEVMODE* pdm) const;
    LONG ChooseSource(SHORT sItemId, const DRVDEVMODE* pdm) const;
    LONG ChooseMedia(SHORT sItemId, const DRVDEVMODE* pdm) const;

    // --- Bookkeeping of the latest run ---
    void MarkItemRewritten(SHORT sItemId);
    bool IsItemRewritten(SHORT sItemId) const;
    void MarkItemChanged(SHORT sItemId);
    bool IsItemChanged(SHORT sItemId) const;
    bool IsKeyFiredAtStart(SHORT sKeyId) const;

    const tagMODELHANDLE* GetModelHandle() const { return m_pHandle; }

private:
    friend SHORT bExecKinsoku(CKinsokuList* pList, DRVDEVMODE* pdm, SHORT sMode);

    void BuildActiveTable();
    void BuildIdOrders();
    // Index of an id in the active table, or -1 for an id outside 1..43 and 204..242.
    int ActiveIndex(SHORT sId) const;
    CWordArray* GetDependents(SHORT sKeyId) const;
    // The run's two phases (KinsokuRun.cpp, KinsokuRewrite.cpp).
    void RunKeyPhase(const DRVDEVMODE& dm, int nIteration);
    void RunItemPhase(DRVDEVMODE* pdm);
    void RewriteItem(SHORT sItemId, CKinsokuItem* pItem, DRVDEVMODE* pdm);
    void ClampPosterTiles(DRVDEVMODE* pdm);
    void ApplyCoverMediaKey(SHORT sKeyId, const DRVDEVMODE& dm);

    // The id bounds: items 1..43, keys 204..242.
    const SHORT m_sFirstItem = kKinsokuFirstItem;
    const SHORT m_sLastItem = kKinsokuLastItem;
    const SHORT m_sFirstKey = kKinsokuFirstKey;
    const SHORT m_sLastKey = kKinsokuLastKey;
    DRVDEVMODE m_dmCopy;             // the record as it stood after the last key phase
    CMapWordToOb m_Items;            // item id -> CKinsokuItem*, owned
    SHORT m_sEvaluated = 0;          // -1 once an iteration completed; cleared by a full pass
    CMapWordToOb m_Dependents;       // key id -> CWordArray* of item ids, owned
    SHORT m_sMetric = 0;             // 1 when the starting record has metric units
    CWordArray m_Rewritten;          // items whose field the latest run rewrote
    CWordArray m_Changed;            // items whose forbidding lists the latest run changed
    CWordArray m_Active;             // 83 activity entries
    const tagMODELHANDLE* m_pHandle;
    CUserPaper* m_pUserPaper;
    CWordArray m_FiredAtStart;       // keys that fired in the latest run's first iteration
    CWordArray m_ItemOrder;
    CWordArray m_KeyOrder;
};

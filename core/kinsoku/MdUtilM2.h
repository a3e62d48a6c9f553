// The predicates object of this printer family with its three revise operations: a settings
// record is revised against the installed options (the full revise) or given the lighter fix-ups
// of the other revise modes, and a constraint list gets the rules that depend on the installed
// options, most of them under key 204 (always 0) so that they hold unconditionally, plus the
// finisher, stapling and punching rules built from the model's finisher data.
//
// The object holds no state of its own: every answer follows the installed-option table at the
// time of the call.
#pragma once

#include "core/WinTypes.h"
#include "core/mdutil/MdUtil.h"
#include "core/printerinfo/InstallOption.h"
#include "core/settings/DevMode.h"

class CKinsokuList;

class CMdUtilM2 : public CMdUtil {
public:
    CMdUtilM2(const tagMODELHANDLE* pHandle, CInstallOption* pInstallOption);
    ~CMdUtilM2() override;

    // The full revise: duplex method, duplex, booklet, sources, job kinds, department code,
    // driver copies, finisher/staple/punch and the installed-option summary words. -1 when done,
    // 0 (nothing changed) without installed options or record. The revise context is not used.
    SHORT ReviseDevmodeByOptions(tagREVISEINFO* pRevise, DRVDEVMODE* pdm) override;
    // The other revise modes: duplex method, driver copies, department code and the installed
    // finisher. -1 when done, 0 without installed options or record.
    SHORT FixDefaultDevmode(DRVDEVMODE* pdm) override;
    // Replaces the rules of key 204 and the finisher items by those of the installed options and
    // applies key 204 at once. 0 for a NULL list, else -1. Safe to run again.
    SHORT BuildOptionConstraints(CKinsokuList* pList) override;

private:
    void vOptionSourceKinsoku(CKinsokuList* pList);
    void vOptionBookletKinsoku(CKinsokuList* pList);
    void vOptionDuplexKinsoku(CKinsokuList* pList);
    void vOptionQualityKinsoku(CKinsokuList* pList);
    void vOptionCopiesKinsoku(CKinsokuList* pList);
    void vOptionFinisherKinsoku(CKinsokuList* pList);

    // The finisher builders, over the first installed finisher E (each does nothing without it).
    void vFinisherValues(CKinsokuList* pList, const tagINSTALLENTRY* pFinisher);
    void vStapleValues(CKinsokuList* pList, const tagINSTALLENTRY* pFinisher);
    void vPunchValues(CKinsokuList* pList, const tagINSTALLENTRY* pFinisher);
    void vFinisherRules(CKinsokuList* pList, const tagINSTALLENTRY* pFinisher);

    // True when the finishing mode's variant entry (capability 34) is absent or installed.
    bool IsFinishModeUsable(WORD wModelFinisherId) const;
    // Whether both duplex modes together allow duplex at all.
    bool IsAnyDuplexAvailable() const;
};

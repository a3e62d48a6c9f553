// The change tracker: after a user changed one setting, the settings that follow it change too
// (a paper whose media or tray goes with it, a media that names its tray, the duplex unit's
// option when the new paper, media or tray allows it, one-sided printing when booklet is left,
// text as black when the halftone allows it), and the constraint engine runs after each of them.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/settings/DevMode.h"

class CKinsokuList;
class CMdUtil;

class CTrackDM {
public:
    CTrackDM() = default;
    virtual ~CTrackDM() = default;
    CTrackDM(const CTrackDM&) = delete;
    CTrackDM& operator=(const CTrackDM&) = delete;

    void SetKinsokuList(CKinsokuList* pList) { m_pKinsokuList = pList; }
    void SetMdUtil(CMdUtil* pMdUtil) { m_pMdUtil = pMdUtil; }
    void SetModelHandle(tagMODELHANDLE* pHandle) { m_pModelHandle = pHandle; }

    // Takes the tracked fields of the record as the reference of the next comparison. -1; 0 for
    // a NULL record.
    SHORT Snapshot(const DRVDEVMODE* pdm);

    // Compares the record with the snapshot and applies the follow-up changes, each followed by an
    // incremental constraint run. -1 when it changed the record, else 0 (also before any snapshot
    // and for a NULL record). The snapshot itself stays as it was.
    SHORT OnDevmodeChanged(DRVDEVMODE* pdm);

private:
    struct Tracked {
        SHORT sPaperId;       // effective paper id
        SHORT sPaperWidth;    // 0.1 mm, of the paper the job is laid out on
        SHORT sPaperLength;
        SHORT sDefaultSource;
        SHORT sDuplex;
        DWORD dwMediaType;
        DWORD dwExtraPrint;
        DWORD dwReserved40;
        WORD wLayoutPrint;
        DWORD dwOptionBits356;
        DWORD dwOptionBits620;
        DWORD dwFrontCoverMedia;
        SHORT sFrontCoverSource;
        DWORD dwBackCoverMedia;
        SHORT sBackCoverSource;
        WORD wHalftone;
    };

    void Capture(const DRVDEVMODE* pdm, Tracked* pOut) const;
    void RunKinsoku(DRVDEVMODE* pdm);
    bool FollowPaper(DRVDEVMODE* pdm);
    bool FollowMedia(DRVDEVMODE* pdm);
    bool FollowSource(DRVDEVMODE* pdm);
    // dmDuplexOption := 0 when value 0 of the duplex-option item is forbidden under the old key
    // value but not under the new one, nothing else forbids it, and the duplex unit is there.
    bool ReleaseDuplexOption(DRVDEVMODE* pdm, SHORT sKey, LONG lOld, LONG lNew);

    SHORT m_sValid = 0;  // -1 after a snapshot
    CKinsokuList* m_pKinsokuList = nullptr;
    CMdUtil* m_pMdUtil = nullptr;
    tagMODELHANDLE* m_pModelHandle = nullptr;
    Tracked m_snapshot {};
};

// The model-capability predicates of one open queue: whether the model and its installed options
// allow a duplex mode, a job kind, a finisher, an amount of storage, a paper source. Every answer
// reads the model data afresh (through CPrinterInfo) and, where a feature depends on an optional
// unit, the queue's installed-option table.
//
// Flags: TRUE is 0xFFFF and FALSE 0; the feature-availability predicates answer 1 or 0, and
// AreRequirementsMet answers 0xFFFF when nothing is required and 1 when every requirement holds,
// so callers test only for non-zero. A missing model record gives FALSE, 0 or the stated default.
//
// CMdUtil is abstract: the revise operations and the option rules belong to the concrete class.
#pragma once

#include "core/WinTypes.h"
#include "core/model/ModelHandle.h"
#include "core/printerinfo/InstallOption.h"
#include "core/settings/DevMode.h"

class CKinsokuList;
struct tagREVISEINFO;

// Requirement mask bits that the model data attaches to a feature.
inline constexpr DWORD kRequiresCapability35 = 0x1;  // hard disk (or a minimum amount of it)
inline constexpr DWORD kRequiresCapability36 = 0x2;  // storage of capability 36 (or a minimum)
inline constexpr DWORD kRequiresDuplexUnit = 0x4;
inline constexpr DWORD kRequiresFinisher = 0x8;      // a finisher other than the plain tray 99

// Optional minimums for AreRequirementsMet.
struct tagREQMINIMUMS {
    DWORD dwFlags;  // 0x1: dwMin35 is given; 0x2: dwMin36 is given
    DWORD dwMin36;
    DWORD dwMin35;
};
inline constexpr DWORD kMinimum35Given = 0x1;
inline constexpr DWORD kMinimum36Given = 0x2;

class CMdUtil {
public:
    // Keeps both pointers (not owned); both must outlive the object.
    CMdUtil(const tagMODELHANDLE* pHandle, CInstallOption* pInstallOption);
    virtual ~CMdUtil();
    CMdUtil(const CMdUtil&) = delete;
    CMdUtil& operator=(const CMdUtil&) = delete;

    // Supplied by the concrete class (results: -1 done, 0 nothing done).
    virtual SHORT ReviseDevmodeByOptions(tagREVISEINFO* pInfo, DRVDEVMODE* pdm) = 0;
    virtual SHORT FixDefaultDevmode(DRVDEVMODE* pdm) = 0;
    virtual SHORT BuildOptionConstraints(CKinsokuList* pList) = 0;

    // --- Model-only predicates ---
    WORD HasSource4() const;                       // a paper source with id 4
    WORD IsOptionItemFlagged(SHORT sItem) const;   // an option record of the item with flag 0x1 or 0x2
    WORD TestCapability57Word16(DWORD dwMask) const;  // 1/0
    WORD TestCapability57Word8(DWORD dwMask) const;   // 1/0
    WORD HasCapability79Bit3() const;
    WORD HasCapability79Bits0to2() const;
    WORD HasDuplexBit8() const;
    // The 16-bit duplex value at 2 (flag set) or at 6; 200 or 500 without the record.
    SHORT GetDuplexValue(bool bFlag) const;
    WORD HasCapability21() const;
    WORD HasCapability57() const;
    WORD IsCapability22Kind9Bit0Clear() const;     // TRUE also without the record
    WORD HasDuplexBit4() const;
    WORD HasCapability39() const;
    WORD HasFinisherWithoutStapler() const;
    WORD IsOptionBit0Set(SHORT sItem) const;
    WORD HasCapability34Feature() const;
    WORD HasLargeCapacityGroup() const;
    WORD HasFinisherPunchWord0or2() const;
    WORD IsCapability28Set() const;                 // 1/0
    WORD HasCapability38Bit1() const;
    WORD IsDuplexMode1Capable() const;
    WORD IsDuplexMode2Capable() const;
    WORD IsDuplexCapable() const;                   // 1/0
    DWORD GetCapability36Word() const;
    DWORD GetCapability36StandardTotal() const;

    // --- Predicates over the installed options ---
    DWORD GetCapability36Total() const;
    DWORD GetCapability35Total() const;
    WORD HasFinisher() const;
    WORD HasCapability36() const;
    WORD HasCapability35() const;
    WORD HasDuplexUnit() const;
    // 0xFFFF when the mask asks nothing, 1 when every asked requirement holds, else 0.
    WORD AreRequirementsMet(DWORD dwMask, const tagREQMINIMUMS* pMinimums) const;
    WORD IsCapability74Available() const;  // 1/0, as its five siblings
    WORD IsCapability73Available() const;
    WORD IsCapability60Available() const;
    WORD IsCapability62Available() const;
    WORD IsCapability61Available() const;
    WORD IsCapability38Available() const;
    WORD IsDuplexAvailable() const;   // 0, 1 or 0xFFFF
    WORD IsDuplexAvailable2() const;  // 0, 1 or 0xFFFF
    WORD IsCapability29Available() const;  // 1/0
    WORD IsSourceAvailable(SHORT sSourceId) const;
    // Marks the finisher installed with the puncher and stapler its detail record reports (the
    // defaults decide where the record leaves it open). TRUE when the detail record exists.
    WORD InstallFinisher(SHORT sItem, SHORT sPuncherDefault, SHORT sStaplerDefault);

protected:
    const tagMODELHANDLE* m_pHandle;
    CInstallOption* m_pInstallOption;

private:
    WORD IsFeatureAvailable(SHORT sCapId) const;
    // Whether a storage or finisher record with these flags counts for this queue.
    bool Counts(SHORT sCapId, SHORT sItem, DWORD dwFlags) const;
    DWORD StorageTotal(SHORT sCapId, DWORD dwBase) const;
    WORD HasStorage(SHORT sCapId) const;
    WORD IsDuplexModeAvailable(bool bSecond) const;
};

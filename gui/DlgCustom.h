// The "Custom Paper" list dialog opened from the Basic page: it lists the custom papers of the
// queue's PPD, creates, edits and deletes them through the create dialog, puts the chosen paper
// into the working settings record and, on OK, has the companion program install a rewritten copy
// of the PPD. Unlike the other dialogs it works on the working record itself: deleting the paper
// in use replaces it at once.
#pragma once

#include "core/WinTypes.h"
#include "gui/custompaper/CustomPaperPpd.h"
#include "gui/widgets/xDialog.h"

#include <string>
#include <vector>

class xBox;
class xButton;
class xLabel;
class xListBox;
class xTable;

// Control ids of the dialog.
enum {
    IDC_CUSTOMLIST_NEW = 0,
    IDC_CUSTOMLIST_EDIT = 1,
    IDC_CUSTOMLIST_DELETE = 2,
    IDC_CUSTOMLIST_LIST = 3,
};

// nState of a row.
enum {
    CUSTOMROW_READ = 0,
    CUSTOMROW_DELETED = 1,
    CUSTOMROW_MODIFIED = 2,
    CUSTOMROW_NEW = 3,
};

// One row of the dialog: a paper and what became of it. Deleted rows stay (their lines must go
// from the PPD at save time) and are not listed.
struct tagCUSTOMPAPERROW : tagCUSTOMPAPER {
    int nState;
    // The paper's lines are in the queue's PPD (it was read from there), so removing them at save
    // time must succeed.
    int bInPpd;
};

// The first paper id after the model's own sizes, less one; the highest id a PPD choice can carry.
inline constexpr int kLastModelPaperId = 456;
inline constexpr int kLastCustomPaperId = 32767;

class CDlgCustom : public xDialog {
public:
    explicit CDlgCustom(xWidget* pParent);
    ~CDlgCustom() override;

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    // Value changes stop here.
    void OnNofityValueChanged(int nID) override;
    void OnInitDialog() override;
    void OnEndDialog(int nResult) override;

    // A new paper, or (after the user agrees) new size and id for the listed paper of the same
    // name, letter case aside. Width and length in millimetres, unit 0 inches.
    void AddPaperData(const char* pszName, int nUnit, double dWidth, double dLength);
    void FillList();
    void UpdateButtons();
    void DeleteSelected();
    // The PPD with every change written into a temporary copy that the companion program
    // installs. False when the copy could not be made or rewritten (the user was told, the
    // companion program not run); true also when there was nothing to save.
    bool SaveToPpd();

    // The visible row of a record (-1 for a deleted record or a negative index) and back.
    int RecordToRow(int nRecord) const;
    int RowToRecord(int nRow) const;

    const std::vector<tagCUSTOMPAPERROW>& Rows() const { return m_rows; }
    int GetMaxInputCount() const { return m_maxInputCount; }
    // The temporary PPD of the last save ("" when none was made); it is removed after the
    // companion program ran.
    const std::string& LastTemporaryPpd() const { return m_lastTemporaryPpd; }

private:
    void ShowCannotSave();
    int VisibleCount() const;

    xLabel* m_pLabel = nullptr;
    xTable* m_pTable = nullptr;
    xListBox* m_pList = nullptr;
    xBox* m_pButtonBox = nullptr;
    xButton* m_pBtnNew = nullptr;
    xButton* m_pBtnEdit = nullptr;
    xButton* m_pBtnDelete = nullptr;

    WORD m_bUpdating = 0;
    std::vector<tagCUSTOMPAPERROW> m_rows;
    int m_iIndex = -1;
    int m_nMaxPaperID = kLastModelPaperId;
    int m_paperID = 0;
    int m_bPaperDeleted = 0;
    int m_maxInputCount = 10;
    std::string m_lastTemporaryPpd;
};

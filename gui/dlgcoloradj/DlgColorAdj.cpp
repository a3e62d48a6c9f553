#include "gui/dlgcoloradj/DlgColorAdj.h"

#include "gui/MainWin.h"
#include "gui/dlgcoloradj/TabAdjustment.h"
#include "gui/dlgcoloradj/TabBrightness.h"
#include "gui/dlgcoloradj/TabColorSpace.h"
#include "gui/widgets/BuiltinTables.h"
#include "gui/widgets/xLabel.h"
#include "gui/widgets/xLayout.h"
#include "gui/widgets/xNoteBook.h"

#include <cstring>

namespace {

// Colour modes of PRIVDM.dmColor.
constexpr SHORT kColorModeMono = 1;
constexpr SHORT kColorModeColor = 2;
constexpr SHORT kColorModePhoto = 3;

constexpr unsigned short IDS_TITLE = 0;  // id 0 of a section: its title

}  // namespace

const char* CDlgColorAdj::Text(unsigned short wSection, unsigned short wID)
{
    CMainWin* pMain = GetMainWindow();
    return pMain != nullptr ? pMain->LoadString(wSection, wID) : GetBuiltinString(wSection, wID);
}

CDlgColorAdj::CDlgColorAdj(xWindow* pParent, tagDIALOGINFO* pDialogInfo)
    : xDialog(pParent),
      m_pNoteBook(nullptr),
      m_pTabColorSpace(nullptr),
      m_pTabAdjustment(nullptr),
      m_pTabBrightness(nullptr),
      m_pDialogInfo(pDialogInfo),
      m_dm{}
{
    std::memcpy(&m_dm, &pDialogInfo->psdm, sizeof m_dm);
    AddButton("gtk-ok", IDOK);
    AddButton("gtk-cancel", IDCANCEL);
    SetDefaultResponse(IDCANCEL);

    switch (m_dm.priv.dmColor) {
    case kColorModeMono:
        SetTitle(Text(IDS_SECTION_BRIGHTNESS, IDS_TITLE));
        m_pTabBrightness = new CTabBrightness(this, nullptr, -1);
        GetContentBox()->PackStart(m_pTabBrightness, FALSE, FALSE, 0);
        break;
    case kColorModeColor:
    case kColorModePhoto:
        SetTitle(Text(0, IDS_CLRADJ_DEVICE_COLOR));
        m_pNoteBook = new xNoteBook(this, IDC_CLRADJ_NOTEBOOK);
        if (m_dm.priv.dmColor == kColorModeColor) {
            m_pTabColorSpace =
                new CTabColorSpace(this, Text(IDS_SECTION_COLORSPACE, IDS_TITLE), IDC_CLRADJ_TAB_COLORSPACE);
            m_pNoteBook->AppendPage(m_pTabColorSpace, m_pTabColorSpace->GetLabel());
        }
        m_pTabAdjustment =
            new CTabAdjustment(this, Text(IDS_SECTION_ADJUSTMENT, IDS_TITLE), IDC_CLRADJ_TAB_ADJUSTMENT);
        m_pNoteBook->AppendPage(m_pTabAdjustment, m_pTabAdjustment->GetLabel());
        GetContentBox()->PackStart(m_pNoteBook, FALSE, FALSE, 0);
        break;
    default:
        // Any other mode: no title and no page, only the two buttons.
        break;
    }
}

CDlgColorAdj::~CDlgColorAdj()
{
    delete m_pNoteBook;
    delete m_pTabColorSpace;
    delete m_pTabAdjustment;
    delete m_pTabBrightness;
}

void CDlgColorAdj::OnNofityBtnClicked(int) {}

void CDlgColorAdj::OnNofitySelectChanged(int) {}

void CDlgColorAdj::OnInitDialog()
{
    if (m_pTabAdjustment != nullptr) {
        m_pTabAdjustment->OnInitPage();
    }
    if (m_pTabColorSpace != nullptr) {
        m_pTabColorSpace->OnInitPage();
    }
    if (m_pTabBrightness != nullptr) {
        m_pTabBrightness->OnInitPage();
    }
    SetResizable(0);
}

void CDlgColorAdj::OnEndDialog(int nResult)
{
    if (nResult == IDOK) {
        std::memcpy(&m_pDialogInfo->psdm, &m_dm, sizeof m_dm);
    }
}

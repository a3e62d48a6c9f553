#include "gui/MainApp.h"

#include "gui/DriverQueues.h"
#include "gui/MainWin.h"

#include <clocale>
#include <cstring>

namespace {

constexpr int kCentreOfScreen = 1;  // GTK_WIN_POS_CENTER

}  // namespace

CMainApp::CMainApp() : m_CupsFunc{}, m_GsFunc{}, m_bGsLoaded(0) {}

CMainApp::~CMainApp()
{
    delete m_pMainWindow;
    m_pMainWindow = nullptr;
}

int CMainApp::BindCupsLibrary()
{
    return LoadCupsLibrary(&m_CupsFunc);
}

int CMainApp::OnInit()
{
    if (xApp::OnInit() == 0) {
        return 0;
    }
    // GTK took the user's locale for everything; numbers written into PPD option values and read
    // back from PPD texts must not depend on it.
    std::setlocale(LC_NUMERIC, "C");
    BindCupsLibrary();

    CMainWin* pWindow = new CMainWin(&m_CupsFunc);
    m_pMainWindow = pWindow;
    pWindow->OnCreate();
    pWindow->SetPosition(kCentreOfScreen);
    pWindow->ShowAll();
    pWindow->FillPrinterList();
    return -1;
}

void CMainApp::OnExit()
{
    xApp::OnExit();
    UnloadCupsLibrary(&m_CupsFunc);
    UnloadGhostscriptLibrary(&m_GsFunc);
}

bool CMainApp::IsOrvUtilityPPD(ppd_file_t* pPpd)
{
    return ::IsOrvUtilityPPD(&m_CupsFunc, pPpd);
}

ppd_file_t* CMainApp::OpenPrinterPPD(const char* pszName)
{
    return ::OpenPrinterPPD(&m_CupsFunc, pszName);
}

bool CMainApp::IsOrvPrinter(const char* pszName)
{
    return ::IsOrvPrinter(&m_CupsFunc, pszName);
}

#include "gui/widgets/xApp.h"

#include "gui/widgets/xWindow.h"

namespace {

xApp* g_pApp = NULL;

}  // namespace

xApp::xApp() : m_pMainWindow(NULL)
{
    g_pApp = this;
}

xApp::~xApp() {}

int xApp::OnInit()
{
    return -1;
}

void xApp::OnExit() {}

xApp* xApp::GetApp()
{
    return g_pApp;
}

int xApp::Init(int* pArgc, char*** pArgv)
{
    gtk_init(pArgc, pArgv);
    return OnInit();
}

void xApp::Run()
{
    if (m_pMainWindow == NULL) {
        return;
    }
    g_signal_connect(m_pMainWindow->GetGtkWidget(), "destroy", G_CALLBACK(OnMainWindowDestroy), this);
    gtk_main();
}

void xApp::OnMainWindowDestroy(GtkWidget*, gpointer pData)
{
    xApp* pThis = static_cast<xApp*>(pData);
    if (pThis == NULL) {
        return;
    }
    if (pThis->m_pMainWindow != NULL) {
        delete pThis->m_pMainWindow;
        pThis->m_pMainWindow = NULL;
    }
    pThis->OnExit();
    gtk_main_quit();
}

int xAppMain(int argc, char** argv)
{
    xApp* pApp = xApp::GetApp();
    if (pApp != NULL && pApp->Init(&argc, &argv)) {
        pApp->Run();
    }
    return 0;
}

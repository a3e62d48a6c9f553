// The settings program's application object: binds libcups, builds and shows the main window,
// lists the driver's queues in it and unbinds the libraries at exit.
#pragma once

#include "core/binding/CupsLibrary.h"
#include "core/binding/GsLibrary.h"
#include "gui/widgets/xApp.h"

class CMainApp : public xApp {
public:
    CMainApp();
    ~CMainApp() override;

    int OnInit() override;
    void OnExit() override;

    // The libcups table every CUPS and PPD call of the program goes through.
    tagCUPSFUNC* GetCupsTable() { return &m_CupsFunc; }

    // The driver's queue tests over the application's table.
    bool IsOrvUtilityPPD(ppd_file_t* pPpd);
    ppd_file_t* OpenPrinterPPD(const char* pszName);
    bool IsOrvPrinter(const char* pszName);

protected:
    // Binds libcups into the table; 0 on success. A program whose libcups cannot be bound still
    // starts, with an empty printer list and a message.
    virtual int BindCupsLibrary();

    tagCUPSFUNC m_CupsFunc;
    tagGSFUNC m_GsFunc;
    int m_bGsLoaded;
};

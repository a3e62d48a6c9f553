// printer-setup: the settings program of the driver's queues, run from the user's desktop.
#include "gui/MainApp.h"

// The program's one application object, made before main runs.
static CMainApp theApp;

int main(int argc, char** argv)
{
    return xAppMain(argc, argv);
}

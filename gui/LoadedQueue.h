// The queue that the settings program has loaded: its name, its open PPD, its model data, the
// settings record it was opened from and the dialog-info record that the pages edit, together with
// the paper-list nodes the program adds for the queue's custom papers. A queue counts as loaded
// exactly while the dialog-info record exists; a load that fails at any step releases everything
// it had opened, so nothing of a half-loaded queue is left behind.
//
// This is the window-independent half of the main window: loading, unloading, the constraint
// engine, change tracking and saving, all without GTK.
#pragma once

#include "core/WinTypes.h"
#include "core/binding/CupsLibrary.h"
#include "core/dialog/DialogInfo.h"
#include "core/model/ModelHandle.h"
#include "core/model/SpcData.h"
#include "core/settings/DevMode.h"

#include <memory>
#include <string>
#include <vector>

// The model resource file's name from the model's capability-4 string: "L_" and the string, cut
// at its last ".", its last two characters dropped, ".RCT" appended. "" when nothing is left
// before ".RCT" or the name would not be a plain file name (a "/" in it).
std::string ModelRctFileName(const char* capabilityString);

class CLoadedQueue {
public:
    explicit CLoadedQueue(tagCUPSFUNC* cups);
    ~CLoadedQueue();
    CLoadedQueue(const CLoadedQueue&) = delete;
    CLoadedQueue& operator=(const CLoadedQueue&) = delete;

    // Loads the queue (whatever was loaded is unloaded first): its PPD, which must be the driver's,
    // the model data file its "SPCFILE" names, the saved settings of the current user (the model's
    // defaults when there are none), the PPD's default choices written over them, the revise, the
    // dialog-info record, a constraint run and the change tracker's snapshot. False, with
    // nothing loaded, when any step fails.
    bool Load(const char* queue);

    // Releases the queue name, the PPD, the model data, the dialog-info record and the custom-paper
    // nodes. Nothing when no queue is loaded.
    void Unload();

    bool IsLoaded() const { return m_pDialogInfo != nullptr; }
    const char* Name() const { return m_pszName; }
    tagDIALOGINFO* DialogInfo() const { return m_pDialogInfo; }
    ppd_file_t* Ppd() const { return m_pPpd; }
    tagCUPSFUNC* Cups() const { return m_pCups; }
    // {model data, libcups table, PPD}, built afresh.
    tagMODELHANDLE ModelHandle() const { return tagMODELHANDLE{m_pSpcData, m_pCups, m_pPpd}; }
    DRVDEVMODE& Settings() { return m_dm; }
    // The loaded model's resource file name; "" when the model names none.
    const std::string& ModelRctName() const { return m_modelRctName; }

    // The constraint engine on pdm (the working settings when NULL), then the value lists fetched
    // again. Nothing when no queue is loaded.
    void RunKinsoku(DRVDEVMODE* pdm, SHORT mode);

    // What a user change sets off: the change tracker applies the follow-up changes of the working
    // settings (and the value lists are fetched again when it changed anything), then takes its
    // new snapshot. Nothing when no queue is loaded.
    void TrackChange();

    // The model's defaults copied over the working settings. False when no queue is loaded.
    bool RestoreDefaults();

    // Stores the queue's PPD option defaults through the companion program ("-S"), then writes the
    // working settings to the current user's saved-settings file. True when no queue is loaded,
    // else only when the companion program exited with 0 and the file was written.
    bool Save();

    // Has the companion program install the PPD at path for the queue ("-C"). False when no queue
    // is loaded or the program failed.
    bool SaveCustomPaper(const char* path);

    // Opens the queue's PPD afresh and makes it the one the dialog-info record and this object use,
    // closing the previous one only after the swap. False, with the previous PPD kept, when the
    // queue is not loaded or its PPD does not open.
    bool ReopenPpd();

    // Rebuilds the tail of the paper value list: the list is cut before the first node after its
    // head that is a custom paper (a value above 455) or one of the nodes added before, the nodes
    // added before are freed, and one selectable node per id is appended in order. Nothing without
    // a loaded queue or a paper list.
    void SetCustomPapers(const std::vector<WORD>& paperIds);

private:
    bool LoadSteps(const char* queue);
    void CutCustomPapers();

    tagCUPSFUNC* m_pCups;
    char* m_pszName = nullptr;
    ppd_file_t* m_pPpd = nullptr;
    tagSPCDATA* m_pSpcData = nullptr;
    tagDIALOGINFO* m_pDialogInfo = nullptr;
    DRVDEVMODE m_dm{};
    std::string m_modelRctName;
    std::vector<std::unique_ptr<tagVALUELIST>> m_customPapers;
};

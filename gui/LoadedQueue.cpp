#include "gui/LoadedQueue.h"

#include "core/InstallPaths.h"
#include "core/binding/PpdHelpers.h"
#include "core/codec/OptionTransfer.h"
#include "core/dialog/DevmodeFile.h"
#include "core/dialog/ReviseDevmode.h"
#include "core/dialog/TrackDM.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/model/ModelAnswer.h"
#include "core/model/SpcIds.h"
#include "core/util/FileUtil.h"
#include "core/util/SafeName.h"
#include "gui/CompanionProgram.h"
#include "gui/DriverQueues.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr LONG kRctNameView = 1;
constexpr WORD kLastStandardPaper = 455;
constexpr SHORT kReviseDefaults = 1;
constexpr SHORT kReviseRecord = 2;

// The model's capability-4 string, bounded by the answer's size; "" when the model has none.
std::string ReadRctCapability(const tagSPCDATA* spc)
{
    const ModelAnswer answer(spc, SPCID_RCTNAME, 0, kRctNameView);
    if (!answer.Found()) {
        return std::string();
    }
    const char* text = reinterpret_cast<const char*>(answer.Bytes());
    return std::string(text, strnlen(text, answer.Size()));
}

}  // namespace

std::string ModelRctFileName(const char* capabilityString)
{
    if (capabilityString == nullptr) {
        return std::string();
    }
    std::string name = std::string("L_") + capabilityString;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    if (name.size() <= 2) {
        return std::string();
    }
    name.erase(name.size() - 2);
    name += ".RCT";
    return IsSafeNameComponent(name.c_str()) ? name : std::string();
}

CLoadedQueue::CLoadedQueue(tagCUPSFUNC* cups) : m_pCups(cups) {}

CLoadedQueue::~CLoadedQueue()
{
    Unload();
}

bool CLoadedQueue::Load(const char* queue)
{
    Unload();
    if (LoadSteps(queue)) {
        return true;
    }
    Unload();
    return false;
}

bool CLoadedQueue::LoadSteps(const char* queue)
{
    if (queue == nullptr || m_pCups == nullptr || m_pCups->handle == nullptr) {
        return false;
    }
    m_pszName = strdup(queue);
    if (m_pszName == nullptr) {
        return false;
    }
    m_pPpd = OpenQueuePpd(m_pCups, queue, 0, nullptr);
    if (m_pPpd == nullptr || !IsOrvUtilityPPD(m_pCups, m_pPpd)) {
        return false;
    }
    const char* spcFile = GetMakerPpdAttr(m_pCups, m_pPpd, "SPCFILE");
    if (spcFile == nullptr || !IsSafeNameComponent(spcFile)) {
        return false;
    }
    m_pSpcData = SpcLoadFile(orv::InstalledPath(orv::kModelDataDir).c_str(), spcFile);
    if (m_pSpcData == nullptr) {
        return false;
    }
    const std::string rct = ReadRctCapability(m_pSpcData);
    m_modelRctName = rct.empty() ? std::string() : ModelRctFileName(rct.c_str());

    if (dwReadDevmodeFile(nullptr, queue, &m_dm) != 0) {
        std::memset(&m_dm, 0, sizeof m_dm);
        m_dm.dm.dmSize = kDevmodePublicSize;
        m_dm.dm.dmDriverExtra = kDevmodePrivateSize;
        uiReviseDevmodeEx(queue, m_pCups, m_pPpd, m_pSpcData, nullptr, &m_dm, kReviseDefaults);
    }
    tagMODELHANDLE handle = ModelHandle();
    Options2Devmode(&handle, &m_dm, 0, nullptr);
    std::printf("Options2Devmode dmPaperSize=%d \n", m_dm.dm.dmPaperSize);
    uiReviseDevmodeEx(queue, m_pCups, m_pPpd, m_pSpcData, &m_dm, &m_dm, kReviseRecord);
    std::printf("uiReviseDevmodeEx dmPaperSize=%d \n", m_dm.dm.dmPaperSize);

    tagOPENDIALOGINFO request{m_pszName, m_pCups, m_pPpd, m_pSpcData, &m_dm, &m_dm, 0};
    m_pDialogInfo = pCreateDialogInfo(&request);
    if (m_pDialogInfo == nullptr) {
        return false;
    }
    RunKinsoku(nullptr, 0);
    std::printf("bExecKinsoku dmPaperSize=%d \n", m_dm.dm.dmPaperSize);
    if (m_pDialogInfo->pTrackDM != nullptr) {
        m_pDialogInfo->pTrackDM->Snapshot(&m_pDialogInfo->psdm);
    }
    std::printf("bExecKinsoku m_pDialogInfo->psdm=%d \n", m_pDialogInfo->psdm.dm.dmPaperSize);
    std::fflush(stdout);
    return true;
}

void CLoadedQueue::Unload()
{
    // The record goes first: its value lists may still lead into the custom-paper nodes.
    vFreeDialogInfo(m_pDialogInfo);
    m_pDialogInfo = nullptr;
    m_customPapers.clear();
    ClosePpd(m_pCups, m_pPpd);
    m_pPpd = nullptr;
    std::free(m_pSpcData);
    m_pSpcData = nullptr;
    std::free(m_pszName);
    m_pszName = nullptr;
    m_modelRctName.clear();
}

void CLoadedQueue::RunKinsoku(DRVDEVMODE* pdm, SHORT mode)
{
    if (m_pDialogInfo == nullptr) {
        return;
    }
    bExecKinsoku(m_pDialogInfo->pKinsokuList, pdm != nullptr ? pdm : &m_pDialogInfo->psdm, mode);
    bUpdateValueLists(m_pDialogInfo);
}

void CLoadedQueue::TrackChange()
{
    if (m_pDialogInfo == nullptr || m_pDialogInfo->pTrackDM == nullptr) {
        return;
    }
    if (m_pDialogInfo->pTrackDM->OnDevmodeChanged(&m_pDialogInfo->psdm) != 0) {
        bUpdateValueLists(m_pDialogInfo);
    }
    m_pDialogInfo->pTrackDM->Snapshot(&m_pDialogInfo->psdm);
}

bool CLoadedQueue::RestoreDefaults()
{
    if (m_pDialogInfo == nullptr) {
        return false;
    }
    std::memcpy(&m_pDialogInfo->psdm, &m_pDialogInfo->dmDefault, sizeof(DRVDEVMODE));
    return true;
}

bool CLoadedQueue::Save()
{
    if (m_pDialogInfo == nullptr) {
        return true;
    }
    ppd_option_t** ppdOptions = nullptr;
    const int ppdCount = CollectPpdOptions(m_pCups, m_pPpd, &ppdOptions);
    cups_option_t* cupsOptions = nullptr;
    tagMODELHANDLE handle = ModelHandle();
    const int cupsCount = DevmodeToOptions(&handle, &m_pDialogInfo->psdm, &cupsOptions);
    const std::vector<std::string> argv =
        BuildStoreOptionsArgv(m_pCups, m_pszName, ppdOptions, ppdCount, cupsCount, cupsOptions);
    std::free(ppdOptions);
    if (cupsOptions != nullptr && m_pCups->cupsFreeOptions != nullptr) {
        m_pCups->cupsFreeOptions(cupsCount, cupsOptions);
    }
    std::fflush(stdout);
    const bool stored = RunCompanion(argv);
    // The record is the user's choice whatever became of the PPD defaults; the file is replaced
    // whole or not at all.
    const bool written = dwWriteDevmodeFile(nullptr, m_pszName, &m_pDialogInfo->psdm) == 0;
    return stored && written;
}

bool CLoadedQueue::SaveCustomPaper(const char* path)
{
    if (m_pDialogInfo == nullptr) {
        return false;
    }
    const std::vector<std::string> argv = BuildCustomPaperArgv(m_pszName, path);
    for (const std::string& arg : argv) {
        std::printf("SaveCustomPaper %s \n", arg.c_str());
    }
    std::fflush(stdout);
    return RunCompanion(argv);
}

bool CLoadedQueue::ReopenPpd()
{
    if (m_pDialogInfo == nullptr) {
        return false;
    }
    ppd_file_t* fresh = OpenQueuePpd(m_pCups, m_pszName, 0, nullptr);
    if (fresh == nullptr) {
        return false;
    }
    ppd_file_t* old = m_pPpd;
    m_pPpd = fresh;
    m_pDialogInfo->mh.pPpd = fresh;
    ClosePpd(m_pCups, old);
    return true;
}

void CLoadedQueue::CutCustomPapers()
{
    tagVALUELIST* head = m_pDialogInfo != nullptr ? m_pDialogInfo->pPaperList : nullptr;
    for (tagVALUELIST* node = head; node != nullptr; node = node->pNext) {
        tagVALUELIST* next = node->pNext;
        if (next == nullptr) {
            break;
        }
        bool ours = false;
        for (const auto& added : m_customPapers) {
            ours = ours || added.get() == next;
        }
        if (ours || next->wValue > kLastStandardPaper) {
            node->pNext = nullptr;
            break;
        }
    }
}

void CLoadedQueue::SetCustomPapers(const std::vector<WORD>& paperIds)
{
    if (m_pDialogInfo == nullptr) {
        return;
    }
    CutCustomPapers();
    m_customPapers.clear();
    tagVALUELIST* tail = m_pDialogInfo->pPaperList;
    if (tail == nullptr) {
        return;
    }
    while (tail->pNext != nullptr) {
        tail = tail->pNext;
    }
    for (WORD id : paperIds) {
        auto node = std::make_unique<tagVALUELIST>();
        node->wValue = id;
        tail->pNext = node.get();
        tail = node.get();
        m_customPapers.push_back(std::move(node));
    }
}

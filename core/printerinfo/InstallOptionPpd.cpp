#include "core/printerinfo/InstallOptionPpd.h"

#include "core/codec/PpdChoiceId.h"
#include "core/model/SpcFinishAnswers.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/ModelLookups.h"
#include "core/printerinfo/PrinterInfo.h"

#include <cstdint>
#include <strings.h>


namespace {

constexpr long kNoFinisher = 99;  // the standard output tray
constexpr WORD kPresenceYes = 1;
constexpr WORD kPresenceNo = 0xFFFF;

ppd_choice_t* MarkedChoice(const tagMODELHANDLE* pHandle, const char* pszKeyword)
{
    const tagCUPSFUNC* cups = pHandle->pCupsFunc;
    if (cups == nullptr || cups->handle == nullptr || cups->ppdFindMarkedChoice == nullptr || pHandle->pPpd == nullptr) {
        return nullptr;
    }
    return cups->ppdFindMarkedChoice(pHandle->pPpd, pszKeyword);
}

bool IsInstalledChoice(const ppd_choice_t* choice)
{
    return choice != nullptr && strcasecmp(choice->choice, "Installed") == 0;
}

// The "%% ID=" number of a choice; false without one.
bool ChoiceNumber(const ppd_choice_t* choice, long* plNumber)
{
    return choice != nullptr && GetPpdChoiceId(choice->code, plNumber) != FLAG_FALSE;
}

struct EntryTable {
    tagINSTALLENTRY* entries;
    DWORD count;

    tagINSTALLENTRY* Find(SHORT sCapId, long lItemId) const
    {
        if (lItemId < INT16_MIN || lItemId > INT16_MAX) {
            return nullptr;
        }
        return FindInstallEntry(entries, count, sCapId, static_cast<SHORT>(lItemId));
    }
    tagINSTALLENTRY* FirstOf(SHORT sCapId) const
    {
        for (DWORD i = 0; i < count; ++i) {
            if (entries[i].sCapId == sCapId) {
                return &entries[i];
            }
        }
        return nullptr;
    }
};

void ApplyDuplexer(const EntryTable& table, const ppd_choice_t* choice)
{
    if (tagINSTALLENTRY* duplex = table.FirstOf(SPCID_DUPLEX)) {
        duplex->lInstalled = IsInstalledChoice(choice) ? 1 : 0;
    }
}

// The tray count the user gave is the standard trays plus the optional ones installed, held
// between the standard count and every tray the model can take.
void ApplyNumberTray(const tagMODELHANDLE* pHandle, const EntryTable& table, const ppd_choice_t* choice)
{
    const long standard = CountSelectableSources(pHandle);
    const long optional = CountOptionalSources(pHandle);
    long wanted = 0;
    if (!ParseDecimal(choice->choice, &wanted)) {
        wanted = 0;
    }
    long target = wanted > standard ? wanted : standard;
    if (target > standard + optional) {
        target = standard + optional;
    }
    long toInstall = target - standard;
    for (DWORD i = 0; i < table.count && toInstall > 0; ++i) {
        tagINSTALLENTRY& entry = table.entries[i];
        if (entry.sCapId == SPCID_SOURCEGROUP && entry.sGroup != kSourceGroupLargeCapacity) {
            entry.lInstalled = -1;
            --toInstall;
        }
    }
}

void ApplyLargeCapacityTray(const EntryTable& table, const ppd_choice_t* choice)
{
    if (!IsInstalledChoice(choice)) {
        return;
    }
    for (DWORD i = 0; i < table.count; ++i) {
        tagINSTALLENTRY& entry = table.entries[i];
        if (entry.sCapId == SPCID_SOURCEGROUP && entry.sGroup == kSourceGroupLargeCapacity) {
            entry.lInstalled = -1;
            return;
        }
    }
}

void ApplyHardDisk(const EntryTable& table, const ppd_choice_t* choice)
{
    long number = 0;
    if (!ChoiceNumber(choice, &number)) {
        return;
    }
    if (tagINSTALLENTRY* disk = table.Find(SPCID_INSTALLBASE1, number)) {
        disk->lInstalled = -1;
    }
}

// The chosen finisher replaces the standard output tray; what it can do comes from its unit
// record: a puncher always, never, or as "OptionPuncher" says, and a stapler or not.
void ApplyFinisher(const tagMODELHANDLE* pHandle, const EntryTable& table, const ppd_choice_t* choice)
{
    long number = 0;
    if (!ChoiceNumber(choice, &number)) {
        return;
    }
    tagINSTALLENTRY* finisher = table.Find(SPCID_FINISHER, number);
    if (finisher != nullptr) {
        finisher->lInstalled = -1;
    }
    if (number != kNoFinisher) {
        if (tagINSTALLENTRY* tray = table.Find(SPCID_FINISHER, kNoFinisher)) {
            tray->lInstalled = 0;
        }
    }
    if (finisher == nullptr) {
        return;
    }
    LONG installed = 0;
    CPrinterInfo unitInfo(pHandle, SPCID_FINISHER, finisher->sItemId, 3);
    if (const tagFINISHERINFO* unit = unitInfo.First<tagFINISHERINFO>()) {
        bool puncher = false;
        if (unit->wPunchPresence == kPresenceYes) {
            puncher = true;
        } else if (unit->wPunchPresence != kPresenceNo) {
            puncher = IsInstalledChoice(MarkedChoice(pHandle, "OptionPuncher"));
        }
        if (puncher) {
            installed |= kFinisherHasPuncher;
        }
        if (unit->wStaplePresence == kPresenceYes) {
            installed |= kFinisherHasStapler;
        }
    }
    finisher->lInstalled = installed;
}

}  // namespace

void ApplyPpdInstallChoices(const tagMODELHANDLE* pHandle, tagINSTALLENTRY* pEntries, DWORD dwCount)
{
    if (pHandle == nullptr || pEntries == nullptr) {
        return;
    }
    const EntryTable table {pEntries, dwCount};
    if (const ppd_choice_t* choice = MarkedChoice(pHandle, "OptionDuplexer")) {
        ApplyDuplexer(table, choice);
    }
    if (const ppd_choice_t* choice = MarkedChoice(pHandle, "OptionNumberTray")) {
        ApplyNumberTray(pHandle, table, choice);
    }
    if (const ppd_choice_t* choice = MarkedChoice(pHandle, "OptionLCT")) {
        ApplyLargeCapacityTray(table, choice);
    }
    if (const ppd_choice_t* choice = MarkedChoice(pHandle, "OptionHDD")) {
        ApplyHardDisk(table, choice);
    }
    if (const ppd_choice_t* choice = MarkedChoice(pHandle, "OptionFinisher")) {
        ApplyFinisher(pHandle, table, choice);
    }
}

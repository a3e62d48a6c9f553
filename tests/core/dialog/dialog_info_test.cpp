// The dialog-info record over the sample queues: what it holds after opening, the requests it
// refuses, the working settings it opens with (revised and constrained as the one-shot revise
// does it), and a clean free of everything it owns (the sanitizer build checks the cycle).
#include "core/dialog/DialogInfo.h"

#include "core/dialog/DialogTestSupport.h"
#include "core/dialog/ReviseDevmode.h"
#include "core/dialog/TrackDM.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/settings/settings_test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

using dialogtest::Marks;
using dialogtest::SampleQueue;

struct DialogInfoDeleter {
    void operator()(tagDIALOGINFO* p) const { vFreeDialogInfo(p); }
};
using DialogInfoPtr = std::unique_ptr<tagDIALOGINFO, DialogInfoDeleter>;

// The queue's settings as the settings program opens them: the model's defaults, the PPD's marked
// choices written in (which also brings the media type), then revised for the queue.
DRVDEVMODE QueueDefaults(SampleQueue& queue)
{
    DRVDEVMODE record;
    memset(&record, 0, sizeof record);
    uiReviseDevmodeEx(queue.Name(), queue.Cups(), queue.Ppd(), queue.Data(), nullptr, &record, 1);
    queue.WriteChoices(&record);
    uiReviseDevmodeEx(queue.Name(), queue.Cups(), queue.Ppd(), queue.Data(), &record, &record, 2);
    return record;
}

DialogInfoPtr Open(SampleQueue& queue, DRVDEVMODE* pSource, WORD wFlags = 0)
{
    const tagOPENDIALOGINFO request = {queue.Name(), queue.Cups(), queue.Ppd(), queue.Data(), pSource, pSource, wFlags};
    return DialogInfoPtr(pCreateDialogInfo(&request));
}

bool ListHolds(const tagVALUELIST* pList, WORD wValue)
{
    for (; pList != nullptr; pList = pList->pNext) {
        if (pList->wValue == wValue)
            return true;
    }
    return false;
}

struct OpenCase {
    const char* model;
    Marks marks;
    SHORT hasLongPaper;
};

TEST(DialogInfo, OpensOverTheQueueWithEveryObjectAndFreesThemAll)
{
    ScopedMeasurementLocale locale(true);
    const OpenCase cases[] = {
        {"GC7350", {}, -1},
        {"GC7350", {{"OptionDuplexer", "Installed"}, {"OptionHDD", "Installed"}, {"OptionFinisher", "FN350"}}, -1},
        {"GM4150", {}, 0},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(std::string(c.model) + (c.marks.empty() ? "" : " with options"));
        SampleQueue queue(c.model, c.marks);
        ASSERT_TRUE(queue.IsOpen());
        DRVDEVMODE source = QueueDefaults(queue);
        DialogInfoPtr info = Open(queue, &source, 0x5A);
        ASSERT_TRUE(info);

        EXPECT_STREQ(info->pszPrinter, c.model);
        EXPECT_NE(info->pszPrinter, queue.Name()) << "the record keeps its own copy of the name";
        EXPECT_EQ(info->mh.pSpcData, queue.Data());
        EXPECT_EQ(info->mh.pCupsFunc, queue.Cups());
        EXPECT_EQ(info->mh.pPpd, queue.Ppd());
        EXPECT_EQ(info->wOpenFlags, 0x5A);
        EXPECT_EQ(info->pdmSource, &source);
        EXPECT_EQ(info->pExtra, nullptr);

        EXPECT_EQ(info->psdm.dm.dmSize, 96);
        EXPECT_EQ(info->psdm.dm.dmDriverExtra, 1136);
        EXPECT_EQ(info->psdm.priv.dwPrivDATA, kDevmodeSignature);
        EXPECT_EQ(info->dmDefault.dm.dmSize, 96);
        EXPECT_EQ(info->dmDefault.priv.dwPrivDATA, kDevmodeSignature);
        EXPECT_EQ(info->dmDefault.dm.dmPaperSize, 9) << "A4, the metric default of the sample models";

        ASSERT_NE(info->pKinsokuList, nullptr);
        EXPECT_NE(info->pMdUtil, nullptr);
        EXPECT_NE(info->pInstallOption, nullptr);
        EXPECT_NE(info->pUserPaper, nullptr);
        EXPECT_NE(info->pTrackDM, nullptr);
        EXPECT_EQ(info->sHasCapability75, c.hasLongPaper);

        // The lists offer the working values.
        EXPECT_TRUE(ListHolds(info->pPaperList, static_cast<WORD>(info->psdm.dm.dmPaperSize)));
        EXPECT_TRUE(ListHolds(info->pMediaList, static_cast<WORD>(info->psdm.dm.dmMediaType)));
        EXPECT_TRUE(ListHolds(info->pSourceList, static_cast<WORD>(info->psdm.dm.dmDefaultSource)));
        EXPECT_TRUE(ListHolds(info->pDuplexList, static_cast<WORD>(info->psdm.dm.dmDuplex)));
    }
}

TEST(DialogInfo, IncompleteRequestsAreRefused)
{
    SampleQueue queue("GC7350");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE source = QueueDefaults(queue);
    const tagOPENDIALOGINFO full = {queue.Name(), queue.Cups(), queue.Ppd(), queue.Data(), &source, &source, 0};
    struct Case {
        const char* name;
        void (*strip)(tagOPENDIALOGINFO&);
    };
    const Case cases[] = {
        {"no queue name", [](tagOPENDIALOGINFO& r) { r.pszPrinter = nullptr; }},
        {"no libcups table", [](tagOPENDIALOGINFO& r) { r.pCupsFunc = nullptr; }},
        {"no PPD", [](tagOPENDIALOGINFO& r) { r.pPpd = nullptr; }},
        {"no model data", [](tagOPENDIALOGINFO& r) { r.pSpcData = nullptr; }},
        {"no source record", [](tagOPENDIALOGINFO& r) { r.pdmSource = nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tagOPENDIALOGINFO request = full;
        c.strip(request);
        EXPECT_EQ(pCreateDialogInfo(&request), nullptr);
    }
    EXPECT_EQ(pCreateDialogInfo(nullptr), nullptr);
    vFreeDialogInfo(nullptr);
    EXPECT_EQ(bUpdateValueLists(nullptr), 0);
}

TEST(DialogInfo, WorkingSettingsAreTheSourceRevisedAsTheOneShotReviseDoesIt)
{
    ScopedMeasurementLocale locale(true);
    const Marks variants[] = {{}, {{"OptionDuplexer", "Installed"}}};
    for (const Marks& marks : variants) {
        SCOPED_TRACE(marks.empty() ? "no options" : "duplex unit");
        SampleQueue queue("GC7350", marks);
        ASSERT_TRUE(queue.IsOpen());
        DRVDEVMODE source = QueueDefaults(queue);
        source.dm.dmDuplex = 2;  // two-sided, whether or not this queue can
        source.dm.dmCopies = 3;
        DRVDEVMODE revised = source;
        ASSERT_EQ(dialogtest::ReviseInPlace(queue, &revised), 0u);
        DialogInfoPtr info = Open(queue, &source);
        ASSERT_TRUE(info);
        EXPECT_EQ(memcmp(&info->psdm, &revised, sizeof revised), 0);
        EXPECT_EQ(source.dm.dmCopies, 3) << "the caller's record is only read";
    }
}

TEST(DialogInfo, ASourceOfTheWrongSizeOpensWithTheDefaults)
{
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE good = QueueDefaults(queue);
    DialogInfoPtr fromDefaults = Open(queue, &good);
    ASSERT_TRUE(fromDefaults);

    DRVDEVMODE bad;
    memset(&bad, 0x77, sizeof bad);
    bad.dm.dmSize = 96;
    bad.dm.dmDriverExtra = 1000;
    DialogInfoPtr fromBad = Open(queue, &bad);
    ASSERT_TRUE(fromBad);
    DRVDEVMODE expected;
    ASSERT_EQ(dialogtest::ModelDefaults(queue, &expected), 0u);
    ASSERT_EQ(dialogtest::ReviseInPlace(queue, &expected), 0u);
    EXPECT_EQ(memcmp(&fromBad->psdm, &expected, sizeof expected), 0);
}

TEST(DialogInfo, ACustomPaperIdIsKeptEvenThoughThePaperItemDoesNotListIt)
{
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE source = QueueDefaults(queue);
    source.dm.dmPaperSize = 456;
    source.dm.dmPaperWidth = 2000;
    source.dm.dmPaperLength = 2800;
    source.dm.dmFields |= 0x4 | 0x8;
    DialogInfoPtr info = Open(queue, &source);
    ASSERT_TRUE(info);
    EXPECT_NE(info->pKinsokuList->IsValueDisabled(1, 456), 0) << "the paper item does not offer 456";
    EXPECT_EQ(info->psdm.dm.dmPaperSize, 456);
    EXPECT_EQ(info->psdm.dm.dmPaperWidth, 2000);
    EXPECT_EQ(info->psdm.dm.dmPaperLength, 2800);
}

TEST(DialogInfo, ValueListsAreFetchedAgainAfterARun)
{
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE source = QueueDefaults(queue);
    DialogInfoPtr info = Open(queue, &source);
    ASSERT_TRUE(info);
    bExecKinsoku(info->pKinsokuList, &info->psdm, -1);
    EXPECT_EQ(bUpdateValueLists(info.get()), -1);
    EXPECT_TRUE(ListHolds(info->pPaperList, static_cast<WORD>(info->psdm.dm.dmPaperSize)));
}

// One node of an exported list as the page would show it.
struct ShownValue {
    SHORT item;
    WORD value;
    LONG disabled;
    bool operator==(const ShownValue& o) const
    {
        return item == o.item && value == o.value && disabled == o.disabled;
    }
};

// Every node of the record's five heads, read from the record as a page reads them.
std::vector<ShownValue> ShownValues(const tagDIALOGINFO& info)
{
    const std::pair<SHORT, const tagVALUELIST*> heads[] = {
        {1, info.pPaperList}, {2, info.pMediaList}, {3, info.pSourceList}, {22, info.pDuplexList}, {9, info.pSortList},
    };
    std::vector<ShownValue> shown;
    for (const auto& [item, head] : heads) {
        for (const tagVALUELIST* node = head; node != nullptr; node = node->pNext)
            shown.push_back({item, node->wValue, node->lDisabled});
    }
    return shown;
}

TEST(DialogInfo, RefreshedHeadsShowWhatTheLatestRunForbids)
{
    // The heads are the pages' only view of the constraints: after a run that forbids something
    // new, the heads fetched again must show it, node for node as the list itself answers.
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350", {{"OptionDuplexer", "Installed"}});
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE source = QueueDefaults(queue);
    source.dm.dmMediaType = 1;  // plain paper: both duplex modes allowed
    DialogInfoPtr info = Open(queue, &source);
    ASSERT_TRUE(info);
    const std::vector<ShownValue> before = ShownValues(*info);
    ASSERT_FALSE(before.empty());

    info->psdm.dm.dmMediaType = 3;  // thick paper, which forbids two-sided printing
    bExecKinsoku(info->pKinsokuList, &info->psdm, -1);
    ASSERT_EQ(bUpdateValueLists(info.get()), -1);
    const std::vector<ShownValue> after = ShownValues(*info);
    EXPECT_FALSE(after == before) << "the refreshed heads show nothing of the run";
    for (const ShownValue& v : after) {
        EXPECT_EQ(v.disabled != 0, info->pKinsokuList->IsValueDisabled(v.item, v.value) != 0)
            << "item " << v.item << " value " << v.value;
    }
}

TEST(DialogInfo, AModelThatCannotGiveItsDefaultsOpensNothing)
{
    // The queue is real; only the model data is swapped for one that lacks the default paper
    // record (so no defaults can be made) or whose header is refused outright. The sanitizer build
    // checks that the refused open leaves nothing allocated.
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350");
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE source = QueueDefaults(queue);
    const char* const models[] = {"kinsoku-sources", "bad-magic"};
    for (const char* model : models) {
        SCOPED_TRACE(model);
        dialogtest::SpcDataPtr data = dialogtest::LoadFixtureModel(model);
        ASSERT_TRUE(data);
        DRVDEVMODE defaults = dialogtest::SizedRecord();
        ASSERT_NE(dialogtest::ModelDefaults(queue, &defaults, data.get()), 0u) << "the model gives defaults";
        const tagOPENDIALOGINFO request = {queue.Name(), queue.Cups(), queue.Ppd(), data.get(), &source, &source, 0};
        EXPECT_EQ(pCreateDialogInfo(&request), nullptr);
    }
}

}  // namespace

// The dialog-info record is whole or not there at all: every non-throwing allocation made while
// it is opened is refused in turn, and each open either answers NULL or gives a record with every
// member in place. The parts the record itself is built from (the record, its name, the installed
// options, the user papers, the predicates, the constraint list, the change tracker and the
// settings records the defaults and the revise need) must give NULL when they cannot be had.
// What a refused open built is freed again: the sanitizer build's leak check sees it (the heap of
// the plain build also holds what libcups keeps once set up, so it cannot tell).
#include "FailingNothrowNew.h"

#include "core/dialog/DialogInfo.h"
#include "core/dialog/DialogTestSupport.h"
#include "core/dialog/TrackDM.h"
#include "core/kinsoku/KinsokuList.h"
#include "core/kinsoku/MdUtilM2.h"
#include "core/printerinfo/InstallOption.h"
#include "core/printerinfo/UserPaper.h"
#include "core/settings/settings_test_env.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

using dialogtest::SampleQueue;

void ExpectWhole(const tagDIALOGINFO& info, long n)
{
    EXPECT_NE(info.pszPrinter, nullptr) << n;
    EXPECT_NE(info.pInstallOption, nullptr) << n;
    EXPECT_NE(info.pUserPaper, nullptr) << n;
    EXPECT_NE(info.pMdUtil, nullptr) << n;
    EXPECT_NE(info.pKinsokuList, nullptr) << n;
    EXPECT_NE(info.pTrackDM, nullptr) << n;
    EXPECT_EQ(info.dmDefault.dm.dmSize, kDevmodePublicSize) << n;
    EXPECT_EQ(info.dmDefault.priv.dwPrivDATA, kDevmodeSignature) << n << ": defaults not filled in";
    EXPECT_EQ(info.psdm.priv.dwPrivDATA, kDevmodeSignature) << n;
}

TEST(DialogInfoAllocation, EveryRefusedAllocationGivesNullOrAWholeRecord)
{
    ScopedMeasurementLocale locale(true);
    SampleQueue queue("GC7350", {{"OptionDuplexer", "Installed"}});
    ASSERT_TRUE(queue.IsOpen());
    DRVDEVMODE source = dialogtest::SizedRecord();
    ASSERT_EQ(dialogtest::ModelDefaults(queue, &source), 0u);
    const tagOPENDIALOGINFO request = {queue.Name(), queue.Cups(), queue.Ppd(), queue.Data(), &source, &source, 0};

    // One open first, so that whatever the libraries below set up once is there before counting.
    vFreeDialogInfo(pCreateDialogInfo(&request));

    const std::map<size_t, const char*> ownParts = {
        {sizeof(tagDIALOGINFO), "the record"},
        {std::strlen(queue.Name()) + 1, "the queue name"},
        {sizeof(CInstallOption), "the installed options"},
        {sizeof(CUserPaper), "the user papers"},
        {sizeof(CMdUtilM2), "the predicates"},
        {sizeof(CKinsokuList), "the constraint list"},
        {sizeof(CTrackDM), "the change tracker"},
        {sizeof(DRVDEVMODE), "a settings record of the defaults or the revise"},
    };
    ASSERT_EQ(ownParts.size(), 8u) << "two parts of one size: the test cannot tell them apart";
    std::set<size_t> ownPartsRefused;

    long refused = 0;
    for (long n = 1;; ++n) {
        ASSERT_LT(n, 100000) << "the open never stops allocating";
        allocfail::FailNthNothrowAllocation(n);
        tagDIALOGINFO* info = pCreateDialogInfo(&request);
        const bool fired = allocfail::Fired();
        const size_t size = allocfail::FailedSize();
        allocfail::FailNthNothrowAllocation(0);
        if (!fired) {
            // Every allocation of the open has been refused once; this one went through.
            ASSERT_NE(info, nullptr);
            ExpectWhole(*info, n);
            vFreeDialogInfo(info);
            break;
        }
        ++refused;
        const auto part = ownParts.find(size);
        if (part != ownParts.end()) {
            ownPartsRefused.insert(size);
            EXPECT_EQ(info, nullptr) << "allocation " << n << " (" << part->second << ") refused, yet a record";
        }
        if (info != nullptr) {
            ExpectWhole(*info, n);
            vFreeDialogInfo(info);
        }
    }
    EXPECT_GE(refused, 8);
    for (const auto& [size, what] : ownParts)
        EXPECT_EQ(ownPartsRefused.count(size), 1u) << what << " was never refused: the injector missed it";
}

}  // namespace

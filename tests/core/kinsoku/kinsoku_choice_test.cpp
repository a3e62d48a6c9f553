// The replacement of a forbidden paper, media or source by the run: a related setting that changed
// names the value to take, through the list values of its model record.
//
// The model "kinsoku-choice" (tests/fixtures/models/kinsoku-choice.json): papers 1 (Letter), 8 (A3)
// and 9 (A4), whose list B names the sources 7, 1 and 2; media 1..4, whose list A names the papers
// 9, 8, 9, 9 and list B the sources 1, 2, 7, 7; sources 7, 1, 2, whose list B names the media 1, 3, 2.
#include "core/kinsoku/KinsokuList.h"
#include "core/printerinfo/PrinterInfoTestSupport.h"
#include "kinsoku_test_util.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using kinsoku_test::AddValues;

class KinsokuChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_data = pitest::LoadFixtureModel("kinsoku-choice");
        ASSERT_TRUE(m_data);
        m_handle = pitest::HandleOf(m_data.get());
    }

    static DRVDEVMODE Record()
    {
        DRVDEVMODE dm = pitest::BlankRecord();
        dm.dm.dmFields = DM_PAPERSIZE | DM_MEDIATYPE | DM_DEFAULTSOURCE;
        dm.dm.dmPaperSize = 9;
        dm.dm.dmMediaType = 1;
        dm.dm.dmDefaultSource = 7;
        return dm;
    }

    pitest::SpcDataPtr m_data;
    tagMODELHANDLE m_handle{};
};

TEST_F(KinsokuChoice, ModelRecordsByIdAndNoneForUnknownIds)
{
    CKinsokuList list(&m_handle, nullptr, nullptr);
    tagMEDIAINFO media;
    ASSERT_EQ(list.GetMediaRecord(2, &media), -1);
    EXPECT_EQ(media.sId, 2);
    EXPECT_EQ(media.sListAValue, 8);
    EXPECT_EQ(list.GetMediaRecord(0, &media), 0);  // id 0 is no media, not "the first one"
    EXPECT_EQ(list.GetMediaRecord(6, &media), 0);
    EXPECT_EQ(list.GetMediaRecord(2, nullptr), 0);
    tagSOURCEINFO source;
    ASSERT_EQ(list.GetSourceRecord(1, &source), -1);
    EXPECT_EQ(source.sListBValue, 3);
    EXPECT_EQ(list.GetSourceRecord(5, &source), 0);
    CKinsokuList noModel(nullptr, nullptr, nullptr);
    EXPECT_EQ(noModel.GetMediaRecord(2, &media), 0);
    EXPECT_EQ(noModel.GetSourceRecord(1, &source), 0);
}

// The user changes the media and A4 becomes forbidden. Papers in entry order 8, 1, 9; default 1.
TEST_F(KinsokuChoice, NewMediaNamesThePaperWhenThatPaperIsSelectable)
{
    struct Case {
        const char* name;
        DWORD media;
        std::vector<LONG> allowedPapers;
        SHORT expected;
        SHORT width, length;
    };
    const std::vector<Case> cases = {
        {"media 2 names A3", 2, {8, 1}, 8, 2970, 4200},
        {"media 3 names forbidden A4: the default Letter", 3, {8, 1}, 1, 2159, 2794},
        {"default forbidden too: the first selectable paper", 4, {8}, 8, 2970, 4200},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = Record();
        CKinsokuList list(&m_handle, nullptr, &dm);
        CKinsokuItem* pPaper = list.GetOrCreateItem(1);
        AddValues(*pPaper, {8, 1, 9});
        pPaper->SetDefaultValue(1);
        list.AddLink(208, 1);
        pPaper->SetAllowAll(208, 1);
        for (LONG v : c.allowedPapers)
            pPaper->AddAllowedValue(208, static_cast<LONG>(c.media), v);
        bExecKinsoku(&list, &dm, 0);
        ASSERT_EQ(dm.dm.dmPaperSize, 9) << c.name;

        dm.dm.dmMediaType = c.media;
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(dm.dm.dmPaperSize, c.expected) << c.name;
        EXPECT_EQ(dm.dm.dmPaperWidth, c.width) << c.name;
        EXPECT_EQ(dm.dm.dmPaperLength, c.length) << c.name;
        EXPECT_EQ(dm.dm.dmMediaType, c.media) << c.name;
    }
}

// The source follows the paper: taken from the paper record in the same run whether the user
// changed the paper (its key fired at the start) or the run rewrote it (media 2 forbids A4 and
// names A3). Sources in entry order 7, 1, 2; A3 allows 7 and 1, and names 1.
TEST_F(KinsokuChoice, SourceFollowsThePaperTheUserOrTheRunChose)
{
    struct Case {
        const char* name;
        SHORT paper;
        DWORD media;
        SHORT expectedPaper;
        SHORT expectedSource;
    };
    const std::vector<Case> cases = {
        {"user picks A3", 8, 1, 8, 1},
        {"run rewrites A4 to A3", 9, 2, 8, 1},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = Record();
        dm.dm.dmDefaultSource = 2;
        CKinsokuList list(&m_handle, nullptr, &dm);
        CKinsokuItem* pPaper = list.GetOrCreateItem(1);
        AddValues(*pPaper, {1, 8, 9});
        list.AddLink(208, 1);
        pPaper->SetAllowAll(208, 1);
        pPaper->AddAllowedValue(208, 2, 8);
        CKinsokuItem* pSource = list.GetOrCreateItem(3);
        AddValues(*pSource, {7, 1, 2});
        list.AddLink(205, 3);
        pSource->SetKeyAllowAll(205, -1);
        pSource->AddAllowedValue(205, 8, 7);
        pSource->AddAllowedValue(205, 8, 1);
        bExecKinsoku(&list, &dm, 0);
        ASSERT_EQ(dm.dm.dmDefaultSource, 2) << c.name;

        dm.dm.dmPaperSize = c.paper;
        dm.dm.dmMediaType = c.media;
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(dm.dm.dmPaperSize, c.expectedPaper) << c.name;
        EXPECT_EQ(dm.dm.dmDefaultSource, c.expectedSource) << c.name;
    }
}

// The user picks Tray 1, which forbids plain paper and names media 3. The media item counts the
// source only while it depends on the source key; otherwise the first selectable media stands.
TEST_F(KinsokuChoice, NewSourceNamesTheMediaOnlyThroughALink)
{
    struct Case {
        bool linked;
        DWORD expected;
    };
    for (const Case& c : {Case{true, 3}, Case{false, 2}}) {
        DRVDEVMODE dm = Record();
        CKinsokuList list(&m_handle, nullptr, &dm);
        CKinsokuItem* pMedia = list.GetOrCreateItem(2);
        AddValues(*pMedia, {1, 2, 3});
        // The rule hangs on key 209 either way; the link decides whether the run applies it and
        // whether the choice may ask the source. Without the link it is applied by hand.
        pMedia->SetAllowAll(209, 7);
        pMedia->AddAllowedValue(209, 1, 2);
        pMedia->AddAllowedValue(209, 1, 3);
        if (c.linked)
            list.AddLink(209, 2);
        bExecKinsoku(&list, &dm, 0);
        dm.dm.dmDefaultSource = 1;
        if (!c.linked)
            pMedia->ApplyKeyValue(209, 1);
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(dm.dm.dmMediaType, c.expected) << c.linked;
    }
}

}  // namespace

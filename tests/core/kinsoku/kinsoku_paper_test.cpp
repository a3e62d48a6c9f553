// The constraint list's paper view over a compiled test model: the paper class of a record, the
// paper record of a listed or custom size, the poster tile limit and the run's poster step.
//
// The model "printerinfo-papers" lists A4 (id 9, 2100 x 2970, margins 100 dots) and A3 (id 8);
// custom sizes reach 215.9 x 355.6 mm, long paper 215.9 x 900 mm; custom class 1 (458) is
// 100 x 148 to 210 x 297 mm, class 2 (459) 200 x 200 to 300 x 450 mm.
#include "core/kinsoku/KinsokuList.h"
#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class KinsokuPaper : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_data = pitest::LoadFixtureModel("printerinfo-papers");
        ASSERT_TRUE(m_data);
        m_handle = pitest::HandleOf(m_data.get());
    }

    // A record on a listed paper or on a custom size of its own.
    static DRVDEVMODE Record(SHORT paper, SHORT width = 0, SHORT length = 0)
    {
        DRVDEVMODE dm = pitest::BlankRecord();
        dm.dm.dmFields = DM_PAPERSIZE;
        dm.dm.dmPaperSize = paper;
        if (width != 0) {
            dm.dm.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
            dm.dm.dmPaperWidth = width;
            dm.dm.dmPaperLength = length;
        }
        dm.dm.dmPrintQuality = 600;
        dm.priv.dmFieldsExtra2 = DMX2_POSTER;
        return dm;
    }

    pitest::SpcDataPtr m_data;
    tagMODELHANDLE m_handle{};
};

TEST_F(KinsokuPaper, ClassOfListedPapersAndCustomSizes)
{
    struct Case {
        const char* name;
        SHORT paper, width, length;
        SHORT expected;
    };
    const std::vector<Case> cases = {
        {"listed A4 is its own class", 9, 0, 0, 9},
        {"listed A3", 8, 0, 0, 8},
        {"custom within class 1", 256, 1500, 2000, 458},
        {"custom within class 2 only", 256, 2500, 3000, 459},
        {"custom in neither class", 256, 500, 500, 456},
        {"longer than the custom maximum: long paper", 256, 2000, 8000, 457},
        {"an unlisted id is a custom size", 300, 2000, 2800, 458},
        {"paper id 0 names no paper", 0, 500, 500, 456},
    };
    for (const Case& c : cases) {
        CKinsokuList list(&m_handle, nullptr, nullptr);
        const DRVDEVMODE dm = Record(c.paper, c.width, c.length);
        EXPECT_EQ(list.GetPaperClass(&dm), c.expected) << c.name;
    }
    CKinsokuList list(&m_handle, nullptr, nullptr);
    EXPECT_EQ(list.GetPaperClass(nullptr), 0);
}

TEST_F(KinsokuPaper, ClassFollowsTheOutputPaperOnlyWithALayout)
{
    CKinsokuList list(&m_handle, nullptr, nullptr);
    DRVDEVMODE dm = Record(9);
    dm.priv.dmOutputPaperSize = 8;
    EXPECT_EQ(list.GetPaperClass(&dm), 9);
    dm.priv.dmLayoutPrint = 0x8;
    EXPECT_EQ(list.GetPaperClass(&dm), 8);
    dm.priv.dmOutputPaperSize = 300;
    dm.priv.dmOutputPaperWidth = 1500;
    dm.priv.dmOutputPaperLength = 2000;
    EXPECT_EQ(list.GetPaperClass(&dm), 458);
}

TEST_F(KinsokuPaper, ListedPaperRecordIsTheModelsRecord)
{
    CKinsokuList list(&m_handle, nullptr, nullptr);
    const DRVDEVMODE dm = Record(9);
    tagPAPERINFO paper;
    ASSERT_EQ(list.GetPaperRecord(&dm, &paper), -1);
    EXPECT_EQ(paper.sId, 9);
    EXPECT_EQ(paper.sWidthMm, 2100);
    EXPECT_EQ(paper.sLengthMm, 2970);
    EXPECT_EQ(paper.sMargins[0], 100);
    EXPECT_EQ(list.GetPaperRecord(nullptr, &paper), 0);
    EXPECT_EQ(list.GetPaperRecord(&dm, nullptr), 0);
    CKinsokuList noModel(nullptr, nullptr, nullptr);
    EXPECT_EQ(noModel.GetPaperRecord(&dm, &paper), 0);
}

TEST_F(KinsokuPaper, CustomPaperRecordCarriesTheSizeAndTheLimitsGeometry)
{
    CKinsokuList list(&m_handle, nullptr, nullptr);
    const DRVDEVMODE dm = Record(256, 1500, 2000);
    tagPAPERINFO paper;
    ASSERT_EQ(list.GetPaperRecord(&dm, &paper), -1);
    EXPECT_EQ(paper.sId, 256);
    EXPECT_EQ(paper.sKind, 2);
    EXPECT_EQ(paper.sWidthMm, 1500);
    EXPECT_EQ(paper.sLengthMm, 2000);
    EXPECT_EQ(paper.sWidthDots, 1500 * 600 / 254);   // 3543
    EXPECT_EQ(paper.sLengthDots, 2000 * 600 / 254);  // 4724
    EXPECT_EQ(paper.sTurnedWidthMm, 2000);
    EXPECT_EQ(paper.sTurnedLengthMm, 1500);
    EXPECT_EQ(paper.sTurnedWidthDots, 4724);
    EXPECT_EQ(paper.sTurnedLengthDots, 3543);
    EXPECT_EQ(paper.sMargins[0], 100);  // the custom limits' margins
    EXPECT_EQ(paper.sTurnedMargins[3], 100);

    // Without a size of its own the record has no custom paper record.
    DRVDEVMODE noSize = Record(256);
    EXPECT_EQ(list.GetPaperRecord(&noSize, &paper), 0);
}

// A long custom paper of 3.2 m is 75590 dots at 600 dpi: the 16-bit dot fields hold 32767
// rather than a wrapped-around small size.
TEST_F(KinsokuPaper, CustomPaperDotsAreHeldTo16Bits)
{
    CKinsokuList list(&m_handle, nullptr, nullptr);
    const DRVDEVMODE dm = Record(256, 2000, 32000);
    tagPAPERINFO paper;
    ASSERT_EQ(list.GetPaperRecord(&dm, &paper), -1);
    EXPECT_EQ(paper.sLengthMm, 32000);
    EXPECT_EQ(paper.sLengthDots, 32767);
    EXPECT_EQ(paper.sTurnedWidthDots, 32767);
    EXPECT_EQ(paper.sWidthDots, 2000 * 600 / 254);
}

// A4 portrait at 600 dpi: printable 4960.6 - 200 = 4760 by 7015.7 - 200 = 6815 dots. The limit
// is the most tiles whose joined image (each further tile adds its extent less the overlap)
// stays within 32767 dots.
TEST_F(KinsokuPaper, MaxPosterTilesAtItsEdges)
{
    struct Case {
        const char* name;
        SHORT orientation, dpi, overlap;
        WORD unit;
        SHORT result, x, y;
    };
    const std::vector<Case> cases = {
        {"no overlap", 1, 600, 0, 600, -1, 32767 / 4760, 32767 / 6815},
        {"overlap of one inch", 1, 600, 600, 600, -1, (32767 - 600) / (4760 - 600), (32767 - 600) / (6815 - 600)},
        {"no layout unit: no overlap", 1, 600, 600, 0, -1, 6, 4},
        {"landscape reads the paper's own width and length", 2, 600, 0, 600, -1, 6, 4},
        {"1200 dpi", 1, 1200, 0, 600, -1, 32767 / 9721, 32767 / 13831},
        {"overlap one dot short of the width", 1, 600, 4759, 600, -1, 32767 - 4759, (32767 - 4759) / (6815 - 4759)},
        {"overlap equal to the width: no limit", 1, 600, 4760, 600, 0, 0, 0},
        {"overlap beyond the width: no limit", 1, 600, 5000, 600, 0, 0, 0},
        {"no resolution: nothing printable", 1, 0, 0, 600, 0, 0, 0},
        {"one tile already beyond the bound: no limit", 1, 32000, 0, 600, 0, 0, 0},
        {"a negative overlap stays bounded", 1, 600, -32768, 1, -1, 1, 1},
    };
    for (const Case& c : cases) {
        CKinsokuList list(&m_handle, nullptr, nullptr);
        DRVDEVMODE dm = Record(9);
        dm.dm.dmOrientation = c.orientation;
        dm.dm.dmPrintQuality = c.dpi;
        dm.priv.dmOverlap = c.overlap;
        dm.priv.dmUnitOfLayout = c.unit;
        SHORT x = 0;
        SHORT y = 0;
        EXPECT_EQ(list.GetMaxPosterTiles(&dm, &x, &y), c.result) << c.name;
        EXPECT_EQ(x, c.x) << c.name;
        EXPECT_EQ(y, c.y) << c.name;
    }
}

TEST_F(KinsokuPaper, MaxPosterTilesNeedsEveryArgumentAndModelData)
{
    CKinsokuList list(&m_handle, nullptr, nullptr);
    const DRVDEVMODE dm = Record(9);
    SHORT x = 0;
    SHORT y = 0;
    EXPECT_EQ(list.GetMaxPosterTiles(nullptr, &x, &y), 0);
    EXPECT_EQ(list.GetMaxPosterTiles(&dm, nullptr, &y), 0);
    EXPECT_EQ(list.GetMaxPosterTiles(&dm, &x, nullptr), 0);
    CKinsokuList noModel(nullptr, nullptr, nullptr);
    EXPECT_EQ(noModel.GetMaxPosterTiles(&dm, &x, &y), 0);
}

// The run holds the poster tiles to the paper's limit in every iteration, whether or not a poster
// item exists. A4 at 600 dpi with a one-inch overlap allows 7 across and 5 down; at 1200 dpi
// without overlap 3 across and 2 down.
TEST_F(KinsokuPaper, RunHoldsPosterTilesToTheLimit)
{
    struct Case {
        const char* name;
        SHORT dpi, overlap;
        SHORT tilesX, tilesY;
        SHORT expectedX, expectedY;
    };
    const std::vector<Case> cases = {
        {"1x1 with room becomes 2x2", 600, 600, 1, 1, 2, 2},
        {"within the limit stays", 600, 600, 7, 5, 7, 5},
        {"beyond across: both to the smaller limit", 600, 600, 8, 4, 5, 5},
        {"beyond down", 1200, 0, 3, 3, 2, 2},
        {"no limit leaves the tiles", 600, 5000, 9, 9, 9, 9},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = Record(9);
        dm.dm.dmPrintQuality = c.dpi;
        dm.priv.dmOverlap = c.overlap;
        dm.priv.dmUnitOfLayout = 600;
        dm.priv.dmPosterX = c.tilesX;
        dm.priv.dmPosterY = c.tilesY;
        CKinsokuList list(&m_handle, nullptr, &dm);
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(dm.priv.dmPosterX, c.expectedX) << c.name;
        EXPECT_EQ(dm.priv.dmPosterY, c.expectedY) << c.name;
    }
}

// A listed paper's class says which paper it is, so key 205 fires only when the paper changes;
// a custom size fires it in every iteration.
TEST_F(KinsokuPaper, OnlyCustomClassesRefireThePaperKey)
{
    struct Case {
        SHORT paper, width, length;
        bool refires;
    };
    const std::vector<Case> cases = {
        {9, 0, 0, false},         // A4
        {256, 500, 500, true},    // 456
        {256, 2000, 8000, true},  // 457
        {256, 1500, 2000, true},  // 458
        {256, 2500, 3000, true},  // 459
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = Record(c.paper, c.width, c.length);
        CKinsokuList list(&m_handle, nullptr, &dm);
        bExecKinsoku(&list, &dm, 0);
        dm.dm.dmCopies = 3;
        bExecKinsoku(&list, &dm, 0);
        EXPECT_EQ(list.IsKeyFiredAtStart(205), c.refires) << c.paper << " " << c.width;
        EXPECT_TRUE(list.IsKeyFiredAtStart(210));
    }
}

// Asked with a paper id, key 205 reads an id the model does not list as a custom size (class 456)
// when the list has a user-paper store; without one the id is passed on as it is.
TEST_F(KinsokuPaper, PaperKeyQuestionsMapUnlistedIdsToTheCustomClass)
{
    DRVDEVMODE dm = Record(9);
    dm.priv.dmFieldsExtra1 = DMX1_DUPLEX_OPTION;
    CUserPaper userPapers(nullptr);
    CKinsokuList withStore(&m_handle, &userPapers, &dm);
    CKinsokuList withoutStore(&m_handle, nullptr, &dm);
    for (CKinsokuList* pList : {&withStore, &withoutStore}) {
        CKinsokuItem* pItem = pList->GetOrCreateItem(21);
        ASSERT_NE(pItem, nullptr);
        pItem->AddValue(0, 0, 0);
        pItem->AddValue(1, 0, 0);
        pItem->AddAllowedValue(205, 456, 1);  // custom sizes: no duplex unit choice
        pItem->SetKeyAllowAll(205, -1);
    }
    EXPECT_EQ(withStore.IsForbiddenByKeyValue(21, 0, 205, 9), 0);     // listed A4
    EXPECT_EQ(withStore.IsForbiddenByKeyValue(21, 0, 205, 300), -1);  // unlisted: class 456
    EXPECT_EQ(withStore.IsForbiddenByKeyValue(21, 1, 205, 300), 0);
    EXPECT_EQ(withoutStore.IsForbiddenByKeyValue(21, 0, 205, 300), 0);  // 300 read as it is
    EXPECT_EQ(withStore.IsForbiddenByKeyValue(22, 0, 205, 300), 0);     // no item
}

}  // namespace

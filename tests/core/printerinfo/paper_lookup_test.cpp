// Paper lookups: records by id, sizes by id (with the default-size id 256), the size a job is laid
// out on, the model's default paper and the fall-back from an output paper that is too large.
#include "core/printerinfo/PaperLookup.h"

#include "core/printerinfo/PrinterInfoTestSupport.h"
#include "core/util/DoublePair.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using pitest::BlankRecord;
using pitest::HandleOf;

TEST(PaperSizeById, StandardPapersFromTheirRecords)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    struct Case {
        SHORT id;
        bool ok;
        SHORT width;
        SHORT length;
    };
    // Unlisted standard ids are zeroed before the lookup fails; ids outside 1..455 (and not 256)
    // leave the outputs as they were.
    const Case cases[] = {
        {9, true, 2100, 2970}, {1, true, 2159, 2794}, {4, false, 0, 0}, {455, false, 0, 0},
        {0, false, 111, 222},  {-1, false, 111, 222}, {456, false, 111, 222}, {459, false, 111, 222},
    };
    for (const Case& c : cases) {
        SHORT width = 111;
        SHORT length = 222;
        EXPECT_EQ(GetPaperSizeById(&handle, c.id, &width, &length) != 0, c.ok) << c.id;
        EXPECT_EQ(width, c.width) << c.id;
        EXPECT_EQ(length, c.length) << c.id;
    }
    SHORT width = 0;
    EXPECT_EQ(GetPaperSizeById(nullptr, 9, &width, &width), FLAG_FALSE);
    EXPECT_EQ(GetPaperSizeById(&handle, 9, nullptr, &width), FLAG_FALSE);
}

TEST(PaperSizeById, DefaultSizeIdKeepsACustomSizeWhileThePairIsUnset)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());

    SHORT width = 0;
    SHORT length = 0;
    EXPECT_EQ(GetPaperSizeById(&handle, 256, &width, &length), FLAG_TRUE);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(length, 0);

    // A custom paper the record holds under 256 is not wiped by the unset pair.
    width = 1500;
    length = 2000;
    EXPECT_EQ(GetPaperSizeById(&handle, 256, &width, &length), FLAG_TRUE);
    EXPECT_EQ(width, 1500);
    EXPECT_EQ(length, 2000);

    // A set pair (points, length first) gives its size: 595 pt = 209.9 mm, 842 pt = 297.0 mm.
    SetDoublePair(842.0, 595.0);
    EXPECT_EQ(GetPaperSizeById(&handle, 256, &width, &length), FLAG_TRUE);
    SetDoublePair(0.0, 0.0);
    EXPECT_EQ(width, 2099);
    EXPECT_EQ(length, 2970);
}

TEST(PaperInfo, OnlyListedModelPapers)
{
    auto model = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CUserPaper userPapers(nullptr);
    tagPAPERINFO info {};
    EXPECT_EQ(GetPaperInfo(&handle, &userPapers, 11, &info), FLAG_TRUE);
    EXPECT_EQ(info.sId, 11);
    EXPECT_EQ(info.sWidthMm, 1480);
    // Id 0 must not turn into "every paper" and answer the first one.
    EXPECT_EQ(GetPaperInfo(&handle, &userPapers, 0, &info), FLAG_FALSE);
    // User papers: the store holds none.
    EXPECT_EQ(GetPaperInfo(&handle, &userPapers, 456, &info), FLAG_FALSE);
    EXPECT_EQ(GetPaperInfo(&handle, &userPapers, 1000, &info), FLAG_FALSE);
    EXPECT_EQ(GetPaperInfo(&handle, &userPapers, 9, nullptr), FLAG_FALSE);
}

TEST(UserPaper, StoreHoldsNoPaper)
{
    CUserPaper userPapers(nullptr);
    for (SHORT id : {SHORT(0), SHORT(1), SHORT(256), SHORT(456), SHORT(459), SHORT(1000)}) {
        EXPECT_EQ(userPapers.Find(id), nullptr) << id;
    }
}

TEST(DefaultPaperId, MetricOrInchDefaultAndOneWithoutTheRecord)
{
    auto papers = pitest::LoadFixtureModel("printerinfo-papers");
    auto colour = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(papers);
    ASSERT_TRUE(colour);
    tagMODELHANDLE papersHandle = HandleOf(papers.get());
    tagMODELHANDLE colourHandle = HandleOf(colour.get());
    tagMODELHANDLE none = HandleOf(nullptr);
    EXPECT_EQ(GetDefaultPaperId(&colourHandle, true), 9);
    EXPECT_EQ(GetDefaultPaperId(&colourHandle, false), 1);
    EXPECT_EQ(GetDefaultPaperId(&papersHandle, false), 0);
    EXPECT_EQ(GetDefaultPaperId(&none, true), 1);
}

TEST(PaperDimensions, OutputPaperCustomSizeOrRecord)
{
    auto model = pitest::LoadFixtureModel("printerinfo-papers");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    struct Case {
        const char* what;
        SHORT paper;
        SHORT outputPaper;
        DWORD extra1;
        DWORD fields;
        bool ok;
        SHORT width;
        SHORT length;
    };
    const Case cases[] = {
        {"output paper with its own size", 9, 8, DMX1_OUTPUT_PAPER_DIMS, DM_PAPERWIDTH, true, 1000, 2000},
        {"output paper from its record", 9, 8, 0, DM_PAPERWIDTH, true, 2970, 4200},
        {"custom size of the record, width bit", 9, 0, DMX1_OUTPUT_PAPER_DIMS, DM_PAPERWIDTH, true, 1500, 2500},
        {"custom size of the record, length bit", 9, 0, 0, DM_PAPERLENGTH, true, 1500, 2500},
        {"paper record", 9, 0, 0, 0, true, 2100, 2970},
        {"user paper without a store entry", 456, 0, 0, 0, false, -1, -1},
        {"unlisted paper", 3, 0, 0, 0, false, -1, -1},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = BlankRecord();
        dm.dm.dmPaperSize = c.paper;
        dm.dm.dmFields = c.fields;
        dm.dm.dmPaperWidth = 1500;
        dm.dm.dmPaperLength = 2500;
        dm.priv.dmOutputPaperSize = c.outputPaper;
        dm.priv.dmOutputPaperWidth = 1000;
        dm.priv.dmOutputPaperLength = 2000;
        dm.priv.dmFieldsExtra1 = c.extra1;
        SHORT width = -1;
        SHORT length = -1;
        EXPECT_EQ(GetPaperDimensions(&handle, &dm, &width, &length) != 0, c.ok) << c.what;
        EXPECT_EQ(width, c.width) << c.what;
        EXPECT_EQ(length, c.length) << c.what;
    }
}

TEST(ReplaceUnsupportedOutputPaper, TooLargePaperFallsBackToTheDefault)
{
    auto model = pitest::LoadFixtureModel("printerinfo-papers");
    ASSERT_TRUE(model);
    tagMODELHANDLE handle = HandleOf(model.get());
    CUserPaper userPapers(nullptr);
    struct Case {
        const char* what;
        SHORT paper;
        SHORT outputPaper;
        WORD metric;
        bool replaced;
    };
    // The fixture's metric default is A4 (9); its inch default is 0, which replaces nothing.
    const Case cases[] = {
        {"A3 paper, metric", 8, 0, 0x2, true},
        {"too long output paper, metric", 9, 31, 0x2, true},
        {"A3 paper, inch default 0", 8, 0, 0, false},
        {"A4 fits", 9, 0, 0x2, false},
        {"banner admitted as long paper", 30, 0, 0x2, false},
    };
    for (const Case& c : cases) {
        DRVDEVMODE dm = BlankRecord();
        dm.dm.dmPaperSize = c.paper;
        dm.priv.dmOutputPaperSize = c.outputPaper;
        dm.priv.dmOutputPaperWidth = 1000;
        dm.priv.dmOutputPaperLength = 2000;
        dm.priv.dmFieldsExtra1 = DMX1_OUTPUT_PAPER_DIMS | DMX1_MIRROR;
        dm.priv.dmMetric = c.metric;
        DRVDEVMODE before = dm;
        ReplaceUnsupportedOutputPaper(&handle, &userPapers, &dm);
        if (c.replaced) {
            EXPECT_EQ(dm.priv.dmOutputPaperSize, 9) << c.what;
            EXPECT_EQ(dm.priv.dmOutputPaperWidth, 0) << c.what;
            EXPECT_EQ(dm.priv.dmOutputPaperLength, 0) << c.what;
            EXPECT_EQ(dm.priv.dmFieldsExtra1, DMX1_MIRROR) << c.what;
            EXPECT_EQ(dm.dm.dmPaperSize, c.paper) << c.what;
        } else {
            EXPECT_EQ(memcmp(&dm, &before, sizeof dm), 0) << c.what;
        }
    }
    ReplaceUnsupportedOutputPaper(&handle, &userPapers, nullptr);
}

}  // namespace

// The rows of the paper-size lists: papers of the value list that the PPD and the model offer,
// custom papers with their unit word in the user's language, and the output mode's first row.
#include "gui/PaperSizeRows.h"

#include "gui/CustomPaperIds.h"
#include "gui/LoadedQueue.h"
#include "printer-setup/SetupTestSupport.h"

#include <unistd.h>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using setuptest::FakeCups;
using setuptest::InstallTree;

bool fs_exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

TEST(LocaliseCustomPaperUnit, ReplacesTheLastUnitWord)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"Label 100.0 x 150.0 mm", "Label 100.0 x 150.0 [mm]"},
        {"Label 100.0 x 150.0 MM", "Label 100.0 x 150.0 [mm]"},       // case ignored
        {"mm 5 x 7 mm trailing", "mm 5 x 7 [mm]"},                     // the last one, the rest goes
        {"Card 4.00 x 6.00 in", "Card 4.00 x 6.00 [in]"},
        {"Mini 4 x 6", "M[in]"},                                       // "in" inside a word
        {"Inkjet 4 x 6 mm", "Inkjet 4 x 6 [mm]"},                      // "mm" comes before "in"
        {"mm", "mm"},                                                  // the first character is not searched
        {"inside", "inside"},
        {"Plate 5 x 7", "Plate 5 x 7"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocaliseCustomPaperUnit(c.text, "[mm]", "[in]"), c.expected) << c.text;
    }
    EXPECT_EQ(LocaliseCustomPaperUnit("Label 100 x 150 mm", nullptr, nullptr), "Label 100 x 150 ");
    EXPECT_EQ(LocaliseCustomPaperUnit(nullptr, "[mm]", "[in]"), "");
}

// The sample colour queue's PPD with two custom papers, as the companion program leaves it.
std::string CustomPaperPpd(const orvtest::ScratchDir& dir)
{
    std::string text = setuptest::ReadText(
        setuptest::WriteSamplePpd(dir, "GC7350", "base.ppd", "*OrvalenAttr Utility: \"OrvUtility\"\n"));
    const std::string close = "*CloseUI: *PageSize";
    text.insert(text.find(close),
                "*PageSize userpaper457/Label 100.0 x 150.0 mm: \"<</PageSize[283 425]/ImagingBBox null>>setpagedevice %% ID=457\"\n"
                "*PageSize userpaper458/Card 4.00 x 6.00 in: \"<</PageSize[288 432]/ImagingBBox null>>setpagedevice %% ID=458\"\n");
    text += "*ImageableArea userpaper457/Label 100.0 x 150.0 mm: \"12 12 271 413\"\n"
            "*PaperDimension userpaper457/Label 3.94 x 5.91 in: \"283 425\"\n"
            "*ImageableArea userpaper458/Card 101.6 x 152.4 mm: \"12 12 276 420\"\n"
            "*PaperDimension userpaper458/Card 4.00 x 6.00 in: \"288 432\"\n";
    return dir.WriteFile("custom.ppd", text);
}

const char* Texts(WORD id)
{
    switch (id) {
    case kIdsSameAsPaperSize:
        return "Same as Paper Size";
    case kIdsUnitMm:
        return "mm";
    case kIdsUnitInch:
        return "in.";
    default:
        return nullptr;
    }
}

struct PaperRows : ::testing::Test {
    InstallTree tree;
    orvtest::ScratchDir ppds;
    FakeCups cups{{{"colour", CustomPaperPpd(ppds)}}};
    CLoadedQueue queue{cups.Table()};

    void SetUp() override
    {
        ASSERT_TRUE(queue.Load("colour"));
        queue.SetCustomPapers({457, 458});
    }

    std::vector<PaperSizeRow> Rows(bool output)
    {
        return BuildPaperSizeRows(queue.DialogInfo(), &queue.DialogInfo()->psdm, output, !output, Texts);
    }
};

const PaperSizeRow* Find(const std::vector<PaperSizeRow>& rows, long value)
{
    auto it = std::find_if(rows.begin(), rows.end(), [&](const PaperSizeRow& r) { return r.value == value; });
    return it != rows.end() ? &*it : nullptr;
}

TEST_F(PaperRows, InputModeListsThePpdPapersAndTheCustomPapers)
{
    const std::vector<PaperSizeRow> rows = Rows(false);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(Find(rows, 0), nullptr) << "no \"Same as Paper Size\" in input mode";
    ASSERT_NE(Find(rows, 9), nullptr);
    EXPECT_EQ(Find(rows, 9)->text, "A4 (210 x 297 mm)") << "a standard paper shows its choice text";
    ASSERT_NE(Find(rows, 457), nullptr);
    EXPECT_EQ(Find(rows, 457)->text, "Label 100.0 x 150.0 mm");
    ASSERT_NE(Find(rows, 458), nullptr);
    EXPECT_EQ(Find(rows, 458)->text, "Card 4.00 x 6.00 in.") << "the unit word comes from the texts";
    // Rows follow the value list's order, and only papers with a "PageSize" choice appear.
    std::vector<long> listOrder;
    for (const tagVALUELIST* n = queue.DialogInfo()->pPaperList; n != nullptr; n = n->pNext) {
        listOrder.push_back(n->wValue);
    }
    size_t at = 0;
    for (const PaperSizeRow& row : rows) {
        auto it = std::find(listOrder.begin() + static_cast<long>(at), listOrder.end(), row.value);
        ASSERT_NE(it, listOrder.end()) << row.value << " out of order or not in the list";
        at = static_cast<size_t>(it - listOrder.begin()) + 1;
    }
}

TEST_F(PaperRows, OutputModeBeginsWithSameAsPaperSizeAndHonoursTheLayout)
{
    const std::vector<PaperSizeRow> normal = Rows(true);
    ASSERT_FALSE(normal.empty());
    EXPECT_EQ(normal[0].value, 0);
    EXPECT_EQ(normal[0].text, "Same as Paper Size");

    for (WORD layout : {WORD{1}, WORD{2}}) {
        queue.DialogInfo()->psdm.priv.dmLayoutPrint = layout;
        const std::vector<PaperSizeRow> limited = Rows(true);
        for (const PaperSizeRow& row : limited) {
            EXPECT_NE(Find(normal, row.value), nullptr) << "layout " << layout << " adds no paper: " << row.value;
        }
        EXPECT_LE(limited.size(), normal.size());
    }
}

TEST(CustomPaperIds, ReadsTheCustomPageSizesOfAPpdInOrder)
{
    orvtest::ScratchDir dir;
    const std::string custom = CustomPaperPpd(dir);
    EXPECT_EQ(ReadCustomPaperIds(custom.c_str()), (std::vector<WORD>{457, 458}));
    EXPECT_TRUE(fs_exists(custom)) << "the file is left in place";
    const std::string plain =
        setuptest::WriteSamplePpd(dir, "GC7350", "plain.ppd", "*OrvalenAttr Utility: \"OrvUtility\"\n");
    EXPECT_TRUE(ReadCustomPaperIds(plain.c_str()).empty());
    EXPECT_TRUE(ReadCustomPaperIds((dir / "missing.ppd").c_str()).empty());
    EXPECT_TRUE(ReadCustomPaperIds(nullptr).empty());
}

TEST(PaperRowsWithout, NoRecordOrSettingsGiveNoRows)
{
    DRVDEVMODE dm{};
    EXPECT_TRUE(BuildPaperSizeRows(nullptr, &dm, true, false, Texts).empty());
    tagDIALOGINFO info{};
    EXPECT_TRUE(BuildPaperSizeRows(&info, nullptr, true, false, Texts).empty());
}

}  // namespace

// The model-capability predicates on the sample models, with the installed options the model data
// gives by default and with the optional units installed.
//
// What the sample models hold (data/models):
//  - GM4150: sources 7, 1, 2, 4; duplex flags 0x7 (both modes, the first built in), no option
//    list, no finisher, no storage; booklet and pages-per-sheet records with flag 1; features 0x5.
//  - GC7350: sources 7, 1, 2, 4 plus the optional groups Tray 3 (source 3) and LCT (kind 5,
//    source 5); duplex flags 0x20D (both modes, the optional unit, no built-in one), both modes
//    requiring the duplex unit, with margins 98 and 250; booklet needing a duplex mode; finishers
//    99 (standard) and 1 (optional, punch word 0, stapler 1); hard disk base 0 + 1 (optional),
//    memory base 256 + 512 (optional); job kind 3 (74) requiring the hard disk, the other job
//    kinds and features offered with no requirements; covers with bit 9 in words 8 and 16;
//    option list 25, 26, 27, 35, 36.
//  - GM1000: papers and one source only.
#include "core/mdutil/MdUtil.h"
#include "core/model/SpcIds.h"
#include "core/printerinfo/PrinterInfoTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The predicates alone; the revise operations belong to another class.
class TestMdUtil : public CMdUtil {
public:
    using CMdUtil::CMdUtil;
    SHORT ReviseDevmodeByOptions(tagREVISEINFO*, DRVDEVMODE*) override { return 0; }
    SHORT FixDefaultDevmode(DRVDEVMODE*) override { return 0; }
    SHORT BuildOptionConstraints(CKinsokuList*) override { return 0; }
};

// One model with its installed options, and a way to install the optional units.
struct Queue {
    explicit Queue(const std::string& model)
        : data(pitest::LoadSampleModel(model)), handle(pitest::HandleOf(data.get())),
          options(std::make_unique<CInstallOption>("queue", &handle)), util(&handle, options.get())
    {
    }
    void Install(SHORT cap, SHORT item, LONG value = -1)
    {
        tagINSTALLENTRY* pEntry = options->Find(cap, item);
        ASSERT_NE(pEntry, nullptr) << cap << "/" << item;
        pEntry->lInstalled = value;
    }
    void InstallEverything()
    {
        Install(25, 25, 1);
        Install(26, 3);
        Install(26, 5);
        Install(27, 1);
        Install(35, 1);
        Install(36, 1);
    }

    pitest::SpcDataPtr data;
    tagMODELHANDLE handle;
    std::unique_ptr<CInstallOption> options;
    TestMdUtil util;
};

constexpr DWORD T = 0xFFFF;

TEST(MdUtilPredicates, AnswersOnTheSampleModels)
{
    struct Case {
        const char* name;
        std::function<DWORD(const CMdUtil&)> ask;
        DWORD gm4150, gc7350, gc7350Installed, gm1000;
    };
    const std::vector<Case> cases = {
        {"HasSource4", [](const CMdUtil& u) { return u.HasSource4(); }, T, T, T, 0},
        {"IsOptionItemFlagged(25)", [](const CMdUtil& u) { return u.IsOptionItemFlagged(25); }, 0, T, T, 0},
        {"IsOptionItemFlagged(30) unlisted", [](const CMdUtil& u) { return u.IsOptionItemFlagged(30); }, 0, 0, 0, 0},
        {"IsOptionBit0Set(27)", [](const CMdUtil& u) { return u.IsOptionBit0Set(27); }, 0, T, T, 0},
        {"TestCapability57Word8", [](const CMdUtil& u) { return u.TestCapability57Word8(0xFFFFFFFF); }, 0, 1, 1, 0},
        {"TestCapability57Word16", [](const CMdUtil& u) { return u.TestCapability57Word16(0xFFFFFFFF); }, 0, 1, 1, 0},
        {"HasCapability57", [](const CMdUtil& u) { return u.HasCapability57(); }, 0, T, T, 0},
        {"HasCapability79Bit3", [](const CMdUtil& u) { return u.HasCapability79Bit3(); }, 0, 0, 0, 0},
        {"HasCapability79Bits0to2", [](const CMdUtil& u) { return u.HasCapability79Bits0to2(); }, 0, 0, 0, 0},
        {"HasDuplexBit8", [](const CMdUtil& u) { return u.HasDuplexBit8(); }, 0, 0, 0, 0},
        {"HasDuplexBit4", [](const CMdUtil& u) { return u.HasDuplexBit4(); }, 0, 0, 0, 0},
        {"GetDuplexValue(true)", [](const CMdUtil& u) { return DWORD(u.GetDuplexValue(true)); }, 98, 98, 98, 200},
        {"GetDuplexValue(false)", [](const CMdUtil& u) { return DWORD(u.GetDuplexValue(false)); }, 250, 250, 250, 500},
        {"HasCapability21", [](const CMdUtil& u) { return u.HasCapability21(); }, 0, T, T, 0},
        {"IsCapability22Kind9Bit0Clear", [](const CMdUtil& u) { return u.IsCapability22Kind9Bit0Clear(); }, T, T, T, T},
        {"HasCapability39", [](const CMdUtil& u) { return u.HasCapability39(); }, 0, T, T, 0},
        {"HasFinisherWithoutStapler", [](const CMdUtil& u) { return u.HasFinisherWithoutStapler(); }, 0, 0, 0, 0},
        {"HasFinisherPunchWord0or2", [](const CMdUtil& u) { return u.HasFinisherPunchWord0or2(); }, 0, T, T, 0},
        {"HasCapability34Feature", [](const CMdUtil& u) { return u.HasCapability34Feature(); }, 0, 0, 0, 0},
        {"HasLargeCapacityGroup", [](const CMdUtil& u) { return u.HasLargeCapacityGroup(); }, 0, T, T, 0},
        {"IsCapability28Set", [](const CMdUtil& u) { return u.IsCapability28Set(); }, 1, 1, 1, 0},
        {"HasCapability38Bit1", [](const CMdUtil& u) { return u.HasCapability38Bit1(); }, 0, 0, 0, 0},
        {"IsDuplexMode1Capable", [](const CMdUtil& u) { return u.IsDuplexMode1Capable(); }, T, T, T, 0},
        {"IsDuplexMode2Capable", [](const CMdUtil& u) { return u.IsDuplexMode2Capable(); }, T, T, T, 0},
        {"IsDuplexCapable", [](const CMdUtil& u) { return u.IsDuplexCapable(); }, 1, 1, 1, 0},
        {"GetCapability36Word", [](const CMdUtil& u) { return u.GetCapability36Word(); }, 0, 0, 0, 0},
        {"GetCapability36StandardTotal", [](const CMdUtil& u) { return u.GetCapability36StandardTotal(); }, 0, 256, 256, 0},
        {"GetCapability36Total", [](const CMdUtil& u) { return u.GetCapability36Total(); }, 0, 256, 768, 0},
        {"GetCapability35Total", [](const CMdUtil& u) { return u.GetCapability35Total(); }, 0, 0, 1, 0},
        {"HasFinisher", [](const CMdUtil& u) { return u.HasFinisher(); }, 0, 0, T, 0},
        {"HasCapability36", [](const CMdUtil& u) { return u.HasCapability36(); }, 0, 0, T, 0},
        {"HasCapability35", [](const CMdUtil& u) { return u.HasCapability35(); }, 0, 0, T, 0},
        {"HasDuplexUnit", [](const CMdUtil& u) { return u.HasDuplexUnit(); }, T, 0, T, 0},
        {"IsCapability74Available", [](const CMdUtil& u) { return u.IsCapability74Available(); }, 0, 0, 1, 0},
        {"IsCapability73Available", [](const CMdUtil& u) { return u.IsCapability73Available(); }, 0, 1, 1, 0},
        {"IsCapability60Available", [](const CMdUtil& u) { return u.IsCapability60Available(); }, 0, 1, 1, 0},
        {"IsCapability62Available", [](const CMdUtil& u) { return u.IsCapability62Available(); }, 0, 1, 1, 0},
        {"IsCapability61Available", [](const CMdUtil& u) { return u.IsCapability61Available(); }, 0, 1, 1, 0},
        {"IsCapability38Available", [](const CMdUtil& u) { return u.IsCapability38Available(); }, 1, 1, 1, 0},
        // The duplex records ask nothing (mask 0): available as 0xFFFF, not 1.
        {"IsDuplexAvailable", [](const CMdUtil& u) { return u.IsDuplexAvailable(); }, T, 0, 1, 0},
        {"IsDuplexAvailable2", [](const CMdUtil& u) { return u.IsDuplexAvailable2(); }, T, 0, 1, 0},
        {"IsCapability29Available", [](const CMdUtil& u) { return u.IsCapability29Available(); }, 1, 0, 1, 0},
        {"IsSourceAvailable(1) standard", [](const CMdUtil& u) { return u.IsSourceAvailable(1); }, T, T, T, T},
        {"IsSourceAvailable(3) Tray 3", [](const CMdUtil& u) { return u.IsSourceAvailable(3); }, 0, 0, T, 0},
        {"IsSourceAvailable(5) LCT", [](const CMdUtil& u) { return u.IsSourceAvailable(5); }, 0, 0, T, 0},
        {"IsSourceAvailable(9) unknown", [](const CMdUtil& u) { return u.IsSourceAvailable(9); }, 0, 0, 0, 0},
    };
    Queue gm4150("GM4150");
    Queue gc7350("GC7350");
    Queue gc7350Installed("GC7350");
    gc7350Installed.InstallEverything();
    Queue gm1000("GM1000");
    ASSERT_TRUE(gm4150.data && gc7350.data && gm1000.data);
    for (const Case& c : cases) {
        EXPECT_EQ(c.ask(gm4150.util), c.gm4150) << c.name << " on GM4150";
        EXPECT_EQ(c.ask(gc7350.util), c.gc7350) << c.name << " on GC7350";
        EXPECT_EQ(c.ask(gc7350Installed.util), c.gc7350Installed) << c.name << " on GC7350 with its options";
        EXPECT_EQ(c.ask(gm1000.util), c.gm1000) << c.name << " on GM1000";
    }
}

TEST(MdUtilPredicates, RequirementMasks)
{
    const tagREQMINIMUMS zeroDisk = {kMinimum35Given, 0, 0};
    const tagREQMINIMUMS oneDisk = {kMinimum35Given, 0, 1};
    const tagREQMINIMUMS twoDisks = {kMinimum35Given, 0, 2};
    const tagREQMINIMUMS memory512 = {kMinimum36Given, 512, 0};
    const tagREQMINIMUMS memory768 = {kMinimum36Given, 768, 0};
    struct Case {
        const char* name;
        DWORD mask;
        const tagREQMINIMUMS* minimums;
        WORD plain, installed;
    };
    const std::vector<Case> cases = {
        {"nothing asked", 0, nullptr, 0xFFFF, 0xFFFF},
        {"duplex unit", kRequiresDuplexUnit, nullptr, 0, 1},
        {"hard disk", kRequiresCapability35, nullptr, 0, 1},
        {"a minimum of 0 disk is always met", kRequiresCapability35, &zeroDisk, 1, 1},
        {"one disk", kRequiresCapability35, &oneDisk, 0, 1},
        {"two disks", kRequiresCapability35, &twoDisks, 0, 0},
        {"memory", kRequiresCapability36, nullptr, 0, 1},
        {"512 of memory: the base 256 falls short", kRequiresCapability36, &memory512, 0, 1},
        {"768 of memory", kRequiresCapability36, &memory768, 0, 1},
        {"the other minimum does not count", kRequiresCapability36, &oneDisk, 0, 1},
        {"finisher", kRequiresFinisher, nullptr, 0, 1},
        {"everything", 0xF, nullptr, 0, 1},
        {"everything and two disks", 0xF, &twoDisks, 0, 0},
    };
    Queue plain("GC7350");
    Queue installed("GC7350");
    ASSERT_TRUE(plain.data);
    installed.InstallEverything();
    for (const Case& c : cases) {
        EXPECT_EQ(plain.util.AreRequirementsMet(c.mask, c.minimums), c.plain) << c.name;
        EXPECT_EQ(installed.util.AreRequirementsMet(c.mask, c.minimums), c.installed) << c.name;
    }
}

// The plain output tray (99) is standard but is no finisher.
TEST(MdUtilPredicates, HasFinisherIgnoresThePlainTray)
{
    Queue q("GC7350");
    ASSERT_TRUE(q.data);
    ASSERT_NE(q.options->Find(SPCID_FINISHER, 99), nullptr);
    q.Install(27, 99);
    EXPECT_EQ(q.util.HasFinisher(), 0);
    q.Install(27, 1, 0x20000);  // installed with a stapler
    EXPECT_EQ(q.util.HasFinisher(), 0xFFFF);
}

TEST(MdUtilPredicates, NoInstalledOptionsTableCountsOnlyStandardUnits)
{
    pitest::SpcDataPtr data = pitest::LoadSampleModel("GC7350");
    ASSERT_TRUE(data);
    tagMODELHANDLE handle = pitest::HandleOf(data.get());
    TestMdUtil util(&handle, nullptr);
    EXPECT_EQ(util.GetCapability36Total(), 256u);
    EXPECT_EQ(util.HasFinisher(), 0);
    EXPECT_EQ(util.HasDuplexUnit(), 0);
    EXPECT_EQ(util.IsSourceAvailable(3), 0);
    EXPECT_EQ(util.InstallFinisher(1, -1, -1), 0);
    TestMdUtil noModel(nullptr, nullptr);
    EXPECT_EQ(noModel.HasSource4(), 0);
    EXPECT_EQ(noModel.GetDuplexValue(true), 200);
    EXPECT_EQ(noModel.AreRequirementsMet(0, nullptr), 0xFFFF);
    EXPECT_EQ(noModel.IsDuplexAvailable(), 0);
}

// GC7350's finisher 1 always has a stapler (word 1) and leaves the puncher to the caller (word 0);
// the plain tray 99 never has either (words 0xFFFF).
TEST(MdUtilPredicates, InstallFinisherSetsThePartsTheUnitHas)
{
    constexpr LONG kPunch = 0x10000;
    constexpr LONG kStaple = 0x20000;
    struct Case {
        const char* name;
        SHORT item, punchDefault, stapleDefault;
        WORD result;
        LONG bits;  // the puncher and stapler bits of the installed word afterwards
    };
    const std::vector<Case> cases = {
        {"stapler always, puncher by default yes", 1, 1, 0, 0xFFFF, kPunch | kStaple},
        {"stapler always, puncher by default no", 1, 0, 1, 0xFFFF, kStaple},
        {"plain tray has neither whatever the defaults", 99, 1, 1, 0xFFFF, 0},
    };
    for (const Case& c : cases) {
        Queue q("GC7350");
        ASSERT_TRUE(q.data);
        q.Install(27, c.item, 0);
        EXPECT_EQ(q.util.InstallFinisher(c.item, c.punchDefault, c.stapleDefault), c.result) << c.name;
        const tagINSTALLENTRY* pEntry = q.options->Find(SPCID_FINISHER, c.item);
        ASSERT_NE(pEntry, nullptr);
        EXPECT_NE(pEntry->lInstalled, 0) << c.name << ": installed";
        EXPECT_EQ(pEntry->lInstalled & (kPunch | kStaple), c.bits) << c.name;
    }
    Queue q("GC7350");
    EXPECT_EQ(q.util.InstallFinisher(5, 1, 1), 0) << "no such finisher entry";
}

}  // namespace

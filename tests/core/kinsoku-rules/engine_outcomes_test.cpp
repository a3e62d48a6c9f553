// What a user of the sample colour model sees once the constraint list holds the model rules and
// the installed-option rules and has run once: the queue's PPD (data/ppd/GC7350.ppd) read through
// the real libcups, the model's default record with the settings the case asks for.
#include "core/kinsoku-rules/RulesTestSupport.h"

#include "core/kinsoku/MdUtilM2.h"
#include "core/kinsoku/ModelRules.h"
#include "core/printerinfo/InstallOption.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Marks = std::vector<std::pair<std::string, std::string>>;

const Marks kDuplexUnit = {{"OptionDuplexer", "Installed"}};

// The engine of one queue as the settings program and the revise build it: the list over the
// record, the model's links and rules, the option rules, then one full run over the record.
class Engine {
public:
    Engine(tagSPCDATA* pModel, const Marks& marks, DRVDEVMODE* pRecord)
        : m_queue(pModel, marks), m_options("queue", m_queue.Handle()), m_util(m_queue.Handle(), &m_options),
          m_list(m_queue.Handle(), nullptr, pRecord)
    {
        vLoadKinsokuLinks(m_queue.Handle(), &m_list);
        vKinsokuModelPreHook();
        bBuildModelKinsoku(m_queue.Handle(), &m_list, -1);
        bKinsokuModelHook(&m_list);
        m_util.BuildOptionConstraints(&m_list);
        bExecKinsoku(&m_list, pRecord, -1);
    }
    bool IsOpen() const { return m_queue.IsOpen(); }
    CKinsokuList& List() { return m_list; }

private:
    pitest::TestQueue m_queue;
    CInstallOption m_options;
    CMdUtilM2 m_util;
    CKinsokuList m_list;
};

class EngineOutcomeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_model = pitest::LoadSampleModel("GC7350");
        ASSERT_TRUE(m_model);
    }
    // The model's default record on A4 plain paper from automatic selection, one-sided, collated.
    // The media bit is what the revise pipeline sets once it has chosen a media.
    DRVDEVMODE Record()
    {
        DRVDEVMODE record = rulestest::DefaultRecord(m_model.get());
        record.dm.dmFields |= DM_MEDIATYPE;
        record.dm.dmPaperSize = 9;
        record.dm.dmPaperWidth = 2100;
        record.dm.dmPaperLength = 2970;
        record.dm.dmMediaType = 1;
        record.dm.dmDefaultSource = 7;
        record.dm.dmDuplex = 1;
        record.dm.dmCollate = 1;
        record.priv.dmLayoutPrint = 0;
        return record;
    }
    std::unique_ptr<Engine> Run(const Marks& marks, DRVDEVMODE* pRecord)
    {
        auto engine = std::make_unique<Engine>(m_model.get(), marks, pRecord);
        EXPECT_TRUE(engine->IsOpen());
        return engine;
    }

    pitest::SpcDataPtr m_model;
};

TEST_F(EngineOutcomeTest, MediaThePaperDoesNotAllowIsForbidden)
{
    DRVDEVMODE record = Record();
    auto engine = Run({}, &record);
    // A4 lists every medium but envelopes.
    EXPECT_EQ(engine->List().IsValueDisabled(2, 5), -1);
    for (LONG media : {1, 2, 3, 4, 6, 7, 8}) {
        EXPECT_EQ(engine->List().IsValueDisabled(2, media), 0) << media;
    }
    tagVALUELIST* pNodes = engine->List().GetValueList(2);
    ASSERT_NE(pNodes, nullptr);
    EXPECT_EQ(pNodes[4].wValue, 5);
    EXPECT_EQ(pNodes[4].lDisabled, -1);
    EXPECT_EQ(pNodes[0].lDisabled, 0);
}

TEST_F(EngineOutcomeTest, SettingsThatTheirNeighboursForbidAreRewritten)
{
    struct Case {
        const char* name;
        Marks marks;
        std::function<void(DRVDEVMODE&)> set;
        std::function<void(const DRVDEVMODE&)> check;
    };
    const Case cases[] = {
        {"thick media from tray 2 moves to the tray the media asks for",
         {},
         [](DRVDEVMODE& r) {
             r.dm.dmMediaType = 3;
             r.dm.dmDefaultSource = 2;
         },
         [](const DRVDEVMODE& r) {
             EXPECT_EQ(r.dm.dmDefaultSource, 1);
             EXPECT_EQ(r.dm.dmMediaType, 3u);
         }},
        {"duplex on a medium that forbids it falls back to one-sided", kDuplexUnit,
         [](DRVDEVMODE& r) {
             r.dm.dmMediaType = 3;
             r.dm.dmDefaultSource = 1;
             r.dm.dmDuplex = 2;
             r.priv.dmExtraFlag |= 0x1;
         },
         [](const DRVDEVMODE& r) {
             EXPECT_EQ(r.dm.dmDuplex, 1);
             EXPECT_EQ(r.priv.dmExtraFlag & 0x1, 0u);  // no duplex margin on one side
         }},
        {"pages per sheet on an envelope is cleared",
         {},
         [](DRVDEVMODE& r) {
             r.dm.dmPaperSize = 20;
             r.dm.dmPaperWidth = 1048;
             r.dm.dmPaperLength = 2413;
             r.dm.dmMediaType = 5;
             r.dm.dmDefaultSource = 1;
             r.priv.dmLayoutPrint = 0x1;
         },
         [](const DRVDEVMODE& r) { EXPECT_EQ(r.priv.dmLayoutPrint & 0x1, 0); }},
        {"poster forces one-sided and collated output", kDuplexUnit,
         [](DRVDEVMODE& r) {
             r.priv.dmLayoutPrint = 0x4;
             r.priv.dmPosterX = 2;
             r.priv.dmPosterY = 2;
             r.dm.dmDuplex = 2;
             r.dm.dmCollate = 0;
         },
         [](const DRVDEVMODE& r) {
             EXPECT_EQ(r.priv.dmLayoutPrint & 0x4, 0x4);
             EXPECT_EQ(r.dm.dmDuplex, 1);
             EXPECT_EQ(r.dm.dmCollate, 1);
         }},
        {"two-sided printing without the duplex unit is one-sided",
         {},
         [](DRVDEVMODE& r) { r.dm.dmDuplex = 2; },
         [](const DRVDEVMODE& r) { EXPECT_EQ(r.dm.dmDuplex, 1); }},
        {"the duplex unit from the PPD enables two-sided printing", kDuplexUnit,
         [](DRVDEVMODE& r) { r.dm.dmDuplex = 2; }, [](const DRVDEVMODE& r) { EXPECT_EQ(r.dm.dmDuplex, 2); }},
        {"a finishing mode without a finisher is cleared",
         {},
         [](DRVDEVMODE& r) { r.priv.dmFinisher = 1; },
         [](const DRVDEVMODE& r) { EXPECT_EQ(r.priv.dmFinisher, 0); }},
        {"dual stapling forces long-edge duplex",
         {{"OptionFinisher", "FN350"}, {"OptionDuplexer", "Installed"}},
         [](DRVDEVMODE& r) {
             r.priv.dmStaple = 3;
             r.dm.dmDuplex = 1;
         },
         [](const DRVDEVMODE& r) {
             EXPECT_EQ(r.priv.dmStaple, 3);
             EXPECT_EQ(r.dm.dmDuplex, 2);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DRVDEVMODE record = Record();
        c.set(record);
        auto engine = Run(c.marks, &record);
        c.check(record);
    }
}

TEST_F(EngineOutcomeTest, WithoutAFinisherNoStapleOrPunchIsOffered)
{
    DRVDEVMODE record = Record();
    auto engine = Run({}, &record);
    EXPECT_EQ(engine->List().GetValueList(6), nullptr);
    EXPECT_EQ(engine->List().GetValueList(5), nullptr);
    tagVALUELIST* pFinisher = engine->List().GetValueList(4);
    ASSERT_NE(pFinisher, nullptr);
    EXPECT_EQ(pFinisher[0].wValue, 0);
    EXPECT_EQ(pFinisher[0].pNext, nullptr);

    DRVDEVMODE stapled = Record();
    auto withFinisher = Run({{"OptionFinisher", "FN350"}}, &stapled);
    // Position 2 needs the duplex unit, which is not installed.
    EXPECT_EQ(rulestest::Selectable(withFinisher->List().GetItem(6)), (std::vector<LONG>{0, 1, 3}));
}

TEST_F(EngineOutcomeTest, TwoSidedModesAreOfferedOnlyWithTheDuplexUnit)
{
    DRVDEVMODE without = Record();
    auto engine = Run({}, &without);
    EXPECT_EQ(rulestest::Selectable(engine->List().GetItem(22)), std::vector<LONG>{1});
    DRVDEVMODE with = Record();
    auto withUnit = Run(kDuplexUnit, &with);
    EXPECT_EQ(rulestest::Selectable(withUnit->List().GetItem(22)), (std::vector<LONG>{1, 2, 3}));
}

}  // namespace

namespace {

// Every sample model, with its installed options at the model's defaults and no PPD: after the
// rules and one full run, the paper, media and source of the record are values the engine offers.
// The media comes from the run: the defaults leave it 0.
TEST(EngineOnSampleModels, TheRunEndsOnOfferedPaperMediaAndSource)
{
    for (const char* name : {"GM1000", "GM4150", "GC7350"}) {
        SCOPED_TRACE(name);
        pitest::SpcDataPtr model = pitest::LoadSampleModel(name);
        ASSERT_TRUE(model);
        tagMODELHANDLE handle = pitest::HandleOf(model.get());
        DRVDEVMODE record = rulestest::DefaultRecord(model.get());
        record.dm.dmFields |= DM_MEDIATYPE;
        CInstallOption options("queue", &handle);
        CMdUtilM2 util(&handle, &options);
        std::unique_ptr<CKinsokuList> list = rulestest::ModelList(&handle, record);
        ASSERT_EQ(util.BuildOptionConstraints(list.get()), -1);
        bExecKinsoku(list.get(), &record, -1);
        struct Field {
            SHORT item;
            LONG value;
        };
        const Field fields[] = {
            {1, record.dm.dmPaperSize}, {2, static_cast<LONG>(record.dm.dmMediaType)}, {3, record.dm.dmDefaultSource}};
        for (const Field& f : fields) {
            // A model without a list (the monochrome model has no media) offers nothing to check.
            if (!rulestest::Values(list->GetItem(f.item)).empty()) {
                EXPECT_EQ(list->IsValueDisabled(f.item, f.value), 0) << "item " << f.item << " = " << f.value;
            }
        }
    }
}

}  // namespace

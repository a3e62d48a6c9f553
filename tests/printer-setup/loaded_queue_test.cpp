// Loading a queue into the dialog-info record and saving it: over a fake CUPS system whose PPDs
// are the sample queue PPDs read by the real libcups, in a scratch install tree with the compiled
// sample models and a companion program that records its command line.
#include "gui/LoadedQueue.h"

#include "core/dialog/DevmodeFile.h"
#include "printer-setup/SetupTestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using setuptest::FakeCups;
using setuptest::InstallTree;
using setuptest::WriteSamplePpd;

const char kUtility[] = "*OrvalenAttr Utility: \"OrvUtility\"\n";

TEST(ModelRctFileName, FollowsTheNamingRule)
{
    struct Case {
        const char* capability;
        const char* expected;
    };
    const Case cases[] = {
        {"ABCD.RCT", "L_AB.RCT"},  // four letters, a dot, an extension
        {"ABCD", "L_AB.RCT"},      // no dot: its own last two characters go
        {"GC7350", "L_GC73.RCT"},
        {"A.B.C", "L_A.RCT"},      // only the last dot cuts
        {"", ""},                  // nothing left before ".RCT"
        {"x", "L.RCT"},
        {"ab/cdef", ""},           // never a path
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModelRctFileName(c.capability), c.expected) << c.capability;
    }
    EXPECT_EQ(ModelRctFileName(nullptr), "");
}

struct Fixture : ::testing::Test {
    InstallTree tree;
    orvtest::ScratchDir ppds;
    std::unique_ptr<FakeCups> cups;

    void SetUp() override
    {
        cups = std::make_unique<FakeCups>(std::vector<setuptest::FakeDest>{
            {"colour", WriteSamplePpd(ppds, "GC7350", "colour.ppd", kUtility)},
            {"mono", WriteSamplePpd(ppds, "GM4150", "mono.ppd", kUtility)},
        });
        ASSERT_NE(cups->Table()->handle, nullptr);
    }

    static void ExpectNothingLoaded(const CLoadedQueue& queue)
    {
        EXPECT_FALSE(queue.IsLoaded());
        EXPECT_EQ(queue.DialogInfo(), nullptr);
        EXPECT_EQ(queue.Name(), nullptr);
        EXPECT_EQ(queue.Ppd(), nullptr);
        EXPECT_EQ(queue.ModelHandle().pSpcData, nullptr);
        EXPECT_EQ(queue.ModelRctName(), "");
    }
};

using LoadedQueue = Fixture;

TEST_F(LoadedQueue, LoadsTheModelDefaultsAndThePpdChoices)
{
    CLoadedQueue queue(cups->Table());
    ASSERT_TRUE(queue.Load("colour"));
    EXPECT_TRUE(queue.IsLoaded());
    EXPECT_STREQ(queue.Name(), "colour");
    ASSERT_NE(queue.DialogInfo(), nullptr);
    EXPECT_EQ(queue.DialogInfo()->mh.pPpd, queue.Ppd());
    EXPECT_EQ(queue.ModelRctName(), "L_L_GC73.RCT") << "the model names \"L_GC7350\"";
    // The PPD's default page size is A4 (paper id 9).
    EXPECT_EQ(queue.Settings().dm.dmPaperSize, 9);
    EXPECT_EQ(queue.DialogInfo()->psdm.dm.dmPaperSize, 9);
    EXPECT_NE(queue.DialogInfo()->pPaperList, nullptr);
    EXPECT_EQ(cups->PpdCopiesLeft(), 0);

    ASSERT_TRUE(queue.Load("mono")) << "another queue replaces it";
    EXPECT_STREQ(queue.Name(), "mono");
    queue.Unload();
    ExpectNothingLoaded(queue);
    queue.Unload();  // twice is harmless
}

TEST_F(LoadedQueue, ASavedSettingsFileIsTheStartingPoint)
{
    CLoadedQueue queue(cups->Table());
    ASSERT_TRUE(queue.Load("colour"));
    DRVDEVMODE saved = queue.DialogInfo()->psdm;
    // A setting no PPD option carries, so the PPD's defaults leave it as saved.
    saved.priv.dmClrCtrl.sBrightness = 7;
    ASSERT_EQ(dwWriteDevmodeFile(nullptr, "colour", &saved), 0u);
    ASSERT_TRUE(queue.Load("colour"));
    EXPECT_EQ(queue.DialogInfo()->psdm.priv.dmClrCtrl.sBrightness, 7);
    ASSERT_TRUE(queue.Load("mono"));
    EXPECT_EQ(queue.DialogInfo()->psdm.priv.dmClrCtrl.sBrightness, 0) << "each queue has its own file";
}

TEST_F(LoadedQueue, AFailedLoadLeavesNothingLoaded)
{
    struct Case {
        const char* name;
        std::string ppd;  // "" : CUPS has none
    };
    std::string noSpc = ppds.WriteFile("nospc.ppd", [&] {
        std::string text = setuptest::ReadText(WriteSamplePpd(ppds, "GC7350", "tmp.ppd", kUtility));
        text.erase(text.find("*OrvalenAttr SPCFILE"), text.find('\n', text.find("*OrvalenAttr SPCFILE")) -
                                                          text.find("*OrvalenAttr SPCFILE") + 1);
        return text;
    }());
    auto withSpc = [&](const char* file, const char* value) {
        std::string text = setuptest::ReadText(WriteSamplePpd(ppds, "GC7350", "tmp.ppd", kUtility));
        const std::string from = "*OrvalenAttr SPCFILE: \"GC7350.pcsp\"";
        text.replace(text.find(from), from.size(), std::string("*OrvalenAttr SPCFILE: \"") + value + "\"");
        return ppds.WriteFile(file, text);
    };
    tree.Dir().WriteFile(tree.DataDir().substr(tree.Root().size() + 1) + "empty.pcsp", "");
    tree.Dir().WriteFile("usr/local/share/orvalen/printer/outside.pcsp", "x");
    const Case cases[] = {
        {"no-ppd", ""},
        {"not-a-ppd", ppds.WriteFile("bad.ppd", "garbage\n")},
        {"not-the-drivers", WriteSamplePpd(ppds, "GC7350", "foreign.ppd", "")},
        {"no-spcfile", noSpc},
        {"missing-model", withSpc("missing.ppd", "GX0000.pcsp")},
        {"empty-model", withSpc("empty.ppd", "empty.pcsp")},
        {"model-path", withSpc("path.ppd", "../outside.pcsp")},
    };
    for (const Case& c : cases) {
        cups.reset();
        cups = std::make_unique<FakeCups>(std::vector<setuptest::FakeDest>{
            {c.name, c.ppd}, {"colour", WriteSamplePpd(ppds, "GC7350", "c.ppd", kUtility)}});
        CLoadedQueue queue(cups->Table());
        ASSERT_TRUE(queue.Load("colour"));
        EXPECT_FALSE(queue.Load(c.name)) << c.name;
        ExpectNothingLoaded(queue);
        EXPECT_EQ(cups->PpdCopiesLeft(), 0) << c.name;
    }
    CLoadedQueue queue(cups->Table());
    EXPECT_FALSE(queue.Load(nullptr));
    ExpectNothingLoaded(queue);
    tagCUPSFUNC unbound{};
    CLoadedQueue noCups(&unbound);
    EXPECT_FALSE(noCups.Load("colour"));
    ExpectNothingLoaded(noCups);
}

TEST_F(LoadedQueue, SaveStoresThePpdOptionsThroughTheCompanionAndWritesTheSettingsFile)
{
    CLoadedQueue queue(cups->Table());
    ASSERT_TRUE(queue.Load("colour"));
    queue.DialogInfo()->psdm.dm.dmPaperSize = 1;  // Letter
    queue.DialogInfo()->psdm.dm.dmCopies = 3;
    queue.RunKinsoku(nullptr, 0);
    ASSERT_TRUE(queue.Save());

    const std::vector<std::string> args = tree.CompanionArgs();
    ASSERT_GE(args.size(), 5u);
    EXPECT_EQ(args[0], tree.Root() + "/usr/local/share/orvalen/printer/bin/L_QW7RMTEKB");
    EXPECT_EQ(args[1], "-S");
    EXPECT_EQ(args[2], "-pcolour");
    EXPECT_NE(std::find(args.begin(), args.end(), "-oPageSize=Letter"), args.end());
    // The copies are no PPD option: passed last, for the queue's job defaults.
    EXPECT_EQ(args.back(), "-ocopies=3");
    for (size_t i = 3; i < args.size(); ++i) {
        EXPECT_EQ(args[i].rfind("-o", 0), 0u) << args[i];
        EXPECT_NE(args[i].find('='), std::string::npos) << args[i];
        EXPECT_EQ(args[i].find("PageRegion"), std::string::npos) << "never passed: " << args[i];
    }

    DRVDEVMODE written{};
    ASSERT_EQ(dwReadDevmodeFile(nullptr, "colour", &written), 0u);
    EXPECT_EQ(std::memcmp(&written, &queue.DialogInfo()->psdm, sizeof written), 0);
}

TEST_F(LoadedQueue, ASaveFailsWhenTheCompanionFailsOrIsMissing)
{
    CLoadedQueue queue(cups->Table());
    ASSERT_TRUE(queue.Load("colour"));
    tree.SetCompanionStatus(3);
    EXPECT_FALSE(queue.Save());
    DRVDEVMODE written{};
    EXPECT_EQ(dwReadDevmodeFile(nullptr, "colour", &written), 0u) << "the record itself is still saved";

    tree.SetCompanionStatus(0);
    EXPECT_TRUE(queue.Save());
    fs::remove(tree.Root() + "/usr/local/share/orvalen/printer/bin/L_QW7RMTEKB");
    EXPECT_FALSE(queue.Save()) << "a companion that cannot start";
}

TEST_F(LoadedQueue, SavingWithNothingLoadedSucceedsAndRunsNothing)
{
    CLoadedQueue queue(cups->Table());
    EXPECT_TRUE(queue.Save());
    EXPECT_TRUE(tree.CompanionArgs().empty());
    EXPECT_FALSE(fs::exists(tree.ConfDir()));
    EXPECT_FALSE(queue.RestoreDefaults());
    EXPECT_FALSE(queue.SaveCustomPaper("/tmp/x.ppd"));
    queue.RunKinsoku(nullptr, 0);
    queue.TrackChange();
}

TEST_F(LoadedQueue, CustomPaperCommandLine)
{
    CLoadedQueue queue(cups->Table());
    ASSERT_TRUE(queue.Load("colour"));
    EXPECT_TRUE(queue.SaveCustomPaper("/tmp/orvalen-custom.ppd"));
    EXPECT_EQ(tree.CompanionArgs(),
              (std::vector<std::string>{tree.Root() + "/usr/local/share/orvalen/printer/bin/L_QW7RMTEKB", "-C",
                                        "-pcolour", "-c/tmp/orvalen-custom.ppd"}));
    tree.SetCompanionStatus(1);
    EXPECT_FALSE(queue.SaveCustomPaper("/tmp/orvalen-custom.ppd"));
}

TEST_F(LoadedQueue, RestoreDefaultsCopiesTheModelDefaults)
{
    CLoadedQueue queue(cups->Table());
    ASSERT_TRUE(queue.Load("colour"));
    tagDIALOGINFO* info = queue.DialogInfo();
    info->psdm.priv.dmTonerSave = info->dmDefault.priv.dmTonerSave == 1 ? 0 : 1;
    ASSERT_TRUE(queue.RestoreDefaults());
    EXPECT_EQ(std::memcmp(&info->psdm, &info->dmDefault, sizeof(DRVDEVMODE)), 0);
}

TEST_F(LoadedQueue, ReopeningThePpdSwapsTheHandleAndKeepsTheOldOneOnFailure)
{
    CLoadedQueue queue(cups->Table());
    ASSERT_TRUE(queue.Load("colour"));
    ppd_file_t* first = queue.Ppd();
    ASSERT_TRUE(queue.ReopenPpd());
    EXPECT_NE(queue.Ppd(), nullptr);
    EXPECT_EQ(queue.DialogInfo()->mh.pPpd, queue.Ppd()) << "the record follows the swap";
    // The record's handle must stay usable: the constraint engine reads the PPD through it.
    queue.RunKinsoku(nullptr, 1);

    cups->SetPpd("colour", "");
    ppd_file_t* kept = queue.Ppd();
    EXPECT_FALSE(queue.ReopenPpd());
    EXPECT_EQ(queue.Ppd(), kept);
    EXPECT_EQ(queue.DialogInfo()->mh.pPpd, kept);
    queue.RunKinsoku(nullptr, 1);
    (void)first;
}

TEST_F(LoadedQueue, CustomPaperNodesAreAppendedReplacedAndReleased)
{
    CLoadedQueue queue(cups->Table());
    ASSERT_TRUE(queue.Load("colour"));
    auto values = [&] {
        std::vector<int> v;
        for (const tagVALUELIST* n = queue.DialogInfo()->pPaperList; n != nullptr; n = n->pNext) {
            v.push_back(n->wValue);
        }
        return v;
    };
    const std::vector<int> standard = values();
    ASSERT_FALSE(standard.empty());

    queue.SetCustomPapers({457, 460});
    std::vector<int> expected = standard;
    expected.insert(expected.end(), {457, 460});
    EXPECT_EQ(values(), expected);

    queue.SetCustomPapers({458});  // the previous ones go
    expected = standard;
    expected.push_back(458);
    EXPECT_EQ(values(), expected);

    queue.RunKinsoku(nullptr, 1);  // the engine may hand out a fresh list
    queue.SetCustomPapers({});
    EXPECT_EQ(values(), standard);
    queue.SetCustomPapers({459});
    queue.Unload();  // under the sanitizers: nothing leaks, nothing is freed twice
}

}  // namespace

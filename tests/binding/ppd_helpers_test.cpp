#include "core/binding/PpdHelpers.h"

#include "binding/BindingTestSupport.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using orvtest::ScratchDir;

const std::string kPpdDir = ORV_BINDING_PPD_DIR;

// The real libcups, bound once for the whole suite.
class PpdHelpers : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        orvtest::PinRealLibcups();
        ASSERT_EQ(LoadCupsLibrary(&s_cups), 0);
    }
    static void TearDownTestSuite() { UnloadCupsLibrary(&s_cups); }

    ppd_file_t* Open(const char* name)
    {
        ppd_file_t* ppd = s_cups.ppdOpenFile((kPpdDir + "/" + name).c_str());
        EXPECT_NE(ppd, nullptr) << name;
        return ppd;
    }

    static tagCUPSFUNC s_cups;
};

tagCUPSFUNC PpdHelpers::s_cups {};

std::vector<std::string> Keywords(ppd_option_t** options, int count)
{
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        out.emplace_back(options[i]->keyword);
    }
    return out;
}

TEST_F(PpdHelpers, CollectPpdOptionsListsEveryOptionOfARealPpdButPageRegion)
{
    struct Case {
        const char* ppd;
        std::vector<std::string> keywords;
    };
    const Case cases[] = {
        // libcups reads *OpenSubGroup/*CloseSubGroup as no more than comments: the Finishing
        // options stay in General in file order, before OrvCollate.
        {"grouped.ppd", {"PageSize", "Duplex", "OrvStaple", "OrvPunch", "OrvCollate", "Resolution"}},
        // Options outside any group.
        {"no-maker-attr.ppd", {"PageSize"}},
    };
    for (const Case& c : cases) {
        ppd_file_t* ppd = Open(c.ppd);
        ASSERT_NE(ppd, nullptr);
        ppd_option_t** options = nullptr;
        int count = CollectPpdOptions(&s_cups, ppd, &options);
        EXPECT_EQ(Keywords(options, count), c.keywords) << c.ppd;
        free(options);
        ClosePpd(&s_cups, ppd);
    }
}

// A PPD structure built by hand, since libcups itself never fills in subgroups.
struct HandBuiltGroup {
    std::vector<ppd_option_t> options;
    std::vector<ppd_group_t> subgroups;
};

ppd_option_t Option(const char* keyword)
{
    ppd_option_t option {};
    std::snprintf(option.keyword, sizeof option.keyword, "%s", keyword);
    return option;
}

ppd_group_t Group(std::vector<ppd_option_t>& options, std::vector<ppd_group_t>& subgroups)
{
    ppd_group_t group {};
    group.num_options = static_cast<int>(options.size());
    group.options = options.empty() ? nullptr : options.data();
    group.num_subgroups = static_cast<int>(subgroups.size());
    group.subgroups = subgroups.empty() ? nullptr : subgroups.data();
    return group;
}

TEST(CollectPpdOptionsStructure, ListsNestedSubgroupOptionsAfterTheirParentGroupsOwn)
{
    // Group 1: A, PageRegion, B; subgroup 1.1: C, PageRegion with subgroup 1.1.1: D; subgroup 1.2:
    // E. Group 2: no options of its own, subgroup 2.1: F.
    std::vector<ppd_option_t> innermost {Option("D")};
    std::vector<ppd_group_t> none;
    std::vector<ppd_group_t> level3 {Group(innermost, none)};
    std::vector<ppd_option_t> sub11 {Option("C"), Option("PageRegion")};
    std::vector<ppd_option_t> sub12 {Option("E")};
    std::vector<ppd_group_t> subs1 {Group(sub11, level3), Group(sub12, none)};
    std::vector<ppd_option_t> own1 {Option("A"), Option("PageRegion"), Option("B")};
    std::vector<ppd_option_t> sub21 {Option("F")};
    std::vector<ppd_group_t> subs2 {Group(sub21, none)};
    std::vector<ppd_option_t> own2;
    std::vector<ppd_group_t> groups {Group(own1, subs1), Group(own2, subs2)};
    ppd_file_t ppd {};
    ppd.num_groups = static_cast<int>(groups.size());
    ppd.groups = groups.data();

    ppd_option_t** options = nullptr;
    int count = CollectPpdOptions(nullptr, &ppd, &options);
    EXPECT_EQ(Keywords(options, count), (std::vector<std::string>{"A", "B", "C", "D", "E", "F"}));
    free(options);

    ppd_file_t empty {};
    options = reinterpret_cast<ppd_option_t**>(&empty);  // must be reset
    EXPECT_EQ(CollectPpdOptions(nullptr, &empty, &options), 0);
    EXPECT_EQ(options, nullptr);
}

TEST_F(PpdHelpers, CollectPpdOptionsWithoutPpdOrOutputGivesZero)
{
    ppd_option_t** options = reinterpret_cast<ppd_option_t**>(this);  // must be reset
    EXPECT_EQ(CollectPpdOptions(&s_cups, nullptr, &options), 0);
    EXPECT_EQ(options, nullptr);
    ppd_file_t* ppd = Open("grouped.ppd");
    EXPECT_EQ(CollectPpdOptions(&s_cups, ppd, nullptr), 0);
    ClosePpd(&s_cups, ppd);
}

TEST_F(PpdHelpers, GetMakerPpdAttrReadsTheDriversOwnKeys)
{
    ppd_file_t* grouped = Open("grouped.ppd");
    ppd_file_t* other = Open("no-maker-attr.ppd");
    ASSERT_TRUE(grouped != nullptr && other != nullptr);
    struct Case {
        ppd_file_t* ppd;
        const char* key;
        const char* value;  // NULL: not found
    };
    const Case cases[] = {
        {grouped, "SPCFILE", "ORVTEST.SPC"},
        {grouped, "LIBJBIG", "liborvjbig"},
        {grouped, "Utility", "OrvUtility"},
        {grouped, "Missing", nullptr},
        {grouped, nullptr, nullptr},
        {other, "SPCFILE", nullptr},
        {nullptr, "SPCFILE", nullptr},
    };
    for (const Case& c : cases) {
        const char* got = GetMakerPpdAttr(&s_cups, c.ppd, c.key);
        if (c.value == nullptr) {
            EXPECT_EQ(got, nullptr) << (c.key ? c.key : "(null)");
        } else {
            EXPECT_STREQ(got, c.value) << c.key;
        }
    }
    EXPECT_STREQ(PPD_ORVALEN_ATTR, "OrvalenAttr");
    EXPECT_EQ(GetMakerPpdAttr(nullptr, grouped, "SPCFILE"), nullptr);
    ClosePpd(&s_cups, grouped);
    ClosePpd(&s_cups, other);
}

// --- OpenQueuePpd with the PPD fetch replaced by a copy into a scratch directory -------------

std::string g_fetchedCopy;       // what the replaced cupsGetPPD handed out last
std::string g_fetchSource;       // the file it copies
std::string g_fetchDir;          // where it puts the copy
std::string g_fetchedQueue;      // the queue it was asked for
std::vector<std::string> g_calls;
tagCUPSFUNC g_real {};

const char* FetchCopy(const char* queue)
{
    g_fetchedQueue = queue;
    g_fetchedCopy = g_fetchDir + "/fetched.ppd";
    std::filesystem::copy_file(g_fetchSource, g_fetchedCopy,
                               std::filesystem::copy_options::overwrite_existing);
    return g_fetchedCopy.c_str();
}

const char* FetchNothing(const char*)
{
    return nullptr;
}

int RecordLocalize(ppd_file_t* ppd)
{
    g_calls.push_back("ppdLocalize");
    return g_real.ppdLocalize(ppd);
}

void RecordMarkDefaults(ppd_file_t* ppd)
{
    g_calls.push_back("ppdMarkDefaults");
    g_real.ppdMarkDefaults(ppd);
}

int RecordMarkOptions(ppd_file_t* ppd, int count, cups_option_t* options)
{
    g_calls.push_back("cupsMarkOptions");
    return g_real.cupsMarkOptions(ppd, count, options);
}

class OpenQueuePpdTest : public PpdHelpers {
protected:
    void SetUp() override
    {
        g_real = s_cups;
        m_table = s_cups;
        m_table.cupsGetPPD = FetchCopy;
        m_table.ppdLocalize = RecordLocalize;
        m_table.ppdMarkDefaults = RecordMarkDefaults;
        m_table.cupsMarkOptions = RecordMarkOptions;
        g_fetchDir = m_scratch.path();
        g_fetchSource = kPpdDir + "/grouped.ppd";
        g_fetchedCopy.clear();
        g_calls.clear();
    }

    bool FetchedCopyExists() const
    {
        struct stat st {};
        return !g_fetchedCopy.empty() && lstat(g_fetchedCopy.c_str(), &st) == 0;
    }

    ScratchDir m_scratch;
    tagCUPSFUNC m_table {};
};

TEST_F(OpenQueuePpdTest, OpensTheFetchedCopyRemovesItAndMarksDefaultsThenOptions)
{
    cups_option_t* options = nullptr;
    int count = s_cups.cupsParseOptions("Duplex=DuplexTumble", 0, &options);
    ppd_file_t* ppd = OpenQueuePpd(&m_table, "office", count, options);
    ASSERT_NE(ppd, nullptr);
    EXPECT_EQ(g_fetchedQueue, "office");
    EXPECT_FALSE(FetchedCopyExists());
    EXPECT_EQ(g_calls, (std::vector<std::string>{"ppdLocalize", "ppdMarkDefaults", "cupsMarkOptions"}));
    EXPECT_TRUE(s_cups.ppdIsMarked(ppd, "Duplex", "DuplexTumble"));          // the option
    EXPECT_TRUE(s_cups.ppdIsMarked(ppd, "Resolution", "600dpi"));            // a default
    EXPECT_STREQ(GetMakerPpdAttr(&m_table, ppd, "SPCFILE"), "ORVTEST.SPC");
    ClosePpd(&m_table, ppd);
    s_cups.cupsFreeOptions(count, options);
}

TEST_F(OpenQueuePpdTest, AFetchedFileThatIsNoPpdIsStillRemoved)
{
    g_fetchSource = m_scratch.WriteFile("garbage.txt", "this is not a PPD\n");
    EXPECT_EQ(OpenQueuePpd(&m_table, "office", 0, nullptr), nullptr);
    EXPECT_FALSE(g_fetchedCopy.empty());
    EXPECT_FALSE(FetchedCopyExists());
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(OpenQueuePpdTest, NothingFetchedOrNothingToFetchGivesNull)
{
    EXPECT_EQ(OpenQueuePpd(&m_table, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(OpenQueuePpd(nullptr, "office", 0, nullptr), nullptr);
    tagCUPSFUNC unbound = m_table;
    unbound.handle = nullptr;
    EXPECT_EQ(OpenQueuePpd(&unbound, "office", 0, nullptr), nullptr);
    EXPECT_TRUE(g_fetchedCopy.empty());
    m_table.cupsGetPPD = FetchNothing;
    EXPECT_EQ(OpenQueuePpd(&m_table, "office", 0, nullptr), nullptr);
    ClosePpd(&m_table, nullptr);
    ClosePpd(nullptr, nullptr);
}

// --- CollectDestOptions with the saved destinations replaced --------------------------------

cups_option_t g_officeOptions[] = {{const_cast<char*>("Duplex"), const_cast<char*>("DuplexNoTumble")},
                                   {const_cast<char*>("PageSize"), const_cast<char*>("Letter")}};
cups_option_t g_draftOptions[] = {{const_cast<char*>("Resolution"), const_cast<char*>("300dpi")}};
cups_option_t g_otherOptions[] = {{const_cast<char*>("OrvStaple"), const_cast<char*>("TopLeft")}};
// Sorted by name, then instance (none first), as libcups keeps its destination list.
cups_dest_t g_dests[] = {
    {const_cast<char*>("office"), nullptr, 0, 2, g_officeOptions},
    {const_cast<char*>("office"), const_cast<char*>("draft"), 0, 1, g_draftOptions},
    {const_cast<char*>("other"), nullptr, 0, 1, g_otherOptions},
};
int g_getDestsCalls = 0;
int g_freedDests = -1;

int SavedDests(cups_dest_t** dests)
{
    ++g_getDestsCalls;
    *dests = g_dests;
    return 3;
}

void FreeSavedDests(int count, cups_dest_t* dests)
{
    EXPECT_EQ(dests, g_dests);
    g_freedDests = count;
}

class CollectDestOptionsTest : public PpdHelpers {
protected:
    void SetUp() override
    {
        m_table = s_cups;
        m_table.cupsGetDests = SavedDests;
        m_table.cupsFreeDests = FreeSavedDests;
        g_getDestsCalls = 0;
        g_freedDests = -1;
    }

    // name=value pairs in array order.
    static std::vector<std::string> Pairs(int count, cups_option_t* options)
    {
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            out.push_back(std::string(options[i].name) + "=" + options[i].value);
        }
        return out;
    }

    tagCUPSFUNC m_table {};
};

TEST_F(CollectDestOptionsTest, MergesTheQueuesSavedOptionsWithTheOptionStringWhichWins)
{
    struct Case {
        const char* queue;
        const char* optionString;
        std::vector<std::string> options;  // by name: libcups keeps them sorted
        int getDestsCalls;
    };
    const Case cases[] = {
        {"office", "PageSize=A4 copies=2", {"copies=2", "Duplex=DuplexNoTumble", "PageSize=A4"}, 1},
        {"office", nullptr, {"Duplex=DuplexNoTumble", "PageSize=Letter"}, 1},
        {"other", "", {"OrvStaple=TopLeft"}, 1},
        {"unknown", "Collate=true", {"Collate=true"}, 1},
        {nullptr, "number-up=2 Collate=false", {"Collate=false", "number-up=2"}, 0},
        {nullptr, nullptr, {}, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        cups_option_t* options = nullptr;
        int count = CollectDestOptions(&m_table, c.queue, c.optionString, &options);
        std::vector<std::string> got = Pairs(count, options);
        std::sort(got.begin(), got.end(), [](const std::string& a, const std::string& b) {
            return strcasecmp(a.c_str(), b.c_str()) < 0;
        });
        EXPECT_EQ(got, c.options) << (c.queue ? c.queue : "(no queue)");
        EXPECT_EQ(g_getDestsCalls, c.getDestsCalls);
        EXPECT_EQ(g_freedDests, c.getDestsCalls == 1 ? 3 : -1);
        if (count == 0) {
            EXPECT_EQ(options, nullptr);
        }
        s_cups.cupsFreeOptions(count, options);
    }
}

TEST_F(CollectDestOptionsTest, WithoutTableOrOutputGivesZero)
{
    cups_option_t* options = reinterpret_cast<cups_option_t*>(this);  // must be reset
    EXPECT_EQ(CollectDestOptions(nullptr, "office", "a=b", &options), 0);
    EXPECT_EQ(options, nullptr);
    EXPECT_EQ(CollectDestOptions(&m_table, "office", "a=b", nullptr), 0);
    EXPECT_EQ(g_getDestsCalls, 0);
}

TEST_F(PpdHelpers, AddCupsOptionAddsOnlyWithEverythingGiven)
{
    cups_option_t* options = nullptr;
    int count = AddCupsOption(&s_cups, "Duplex", "None", 0, &options);
    ASSERT_EQ(count, 1);
    EXPECT_STREQ(s_cups.cupsGetOption("Duplex", count, options), "None");
    EXPECT_EQ(AddCupsOption(&s_cups, "Duplex", nullptr, count, &options), 1);
    EXPECT_EQ(AddCupsOption(&s_cups, nullptr, "x", count, &options), 1);
    EXPECT_EQ(AddCupsOption(&s_cups, "a", "x", count, nullptr), 1);
    EXPECT_EQ(AddCupsOption(nullptr, "a", "x", count, &options), 1);
    EXPECT_EQ(AddCupsOption(&s_cups, "Duplex", "DuplexTumble", count, &options), 1);  // replaces
    EXPECT_STREQ(s_cups.cupsGetOption("Duplex", count, options), "DuplexTumble");
    s_cups.cupsFreeOptions(count, options);
}

}  // namespace

// The sample printer models of data/models: every capability answers in every view without
// damage, and each model holds what it is there to show.
#include "ModelTestSupport.h"

#include "core/model/SpcFrame.h"
#include "core/settings/DevModeService.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

using namespace modeltest;

namespace {

Bytes ReadSample(const std::string& name)
{
    std::string path = std::string(ORV_SAMPLE_MODEL_DIR) + name + ".pcsp";
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing compiled sample model " << path;
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The capabilities whose section-table entry is set.
std::set<int> PresentCapabilities(const Bytes& file)
{
    std::set<int> ids;
    for (int id = 1; id <= 102; ++id) {
        size_t at = kHandTableStart + 4 * (id - 1);
        uint32_t entry = file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (static_cast<uint32_t>(file[at + 3]) << 24);
        if (entry != 0) {
            ids.insert(id);
        }
    }
    return ids;
}

const char* const kSamples[] = {"GM4150", "GC7350", "GM1000"};
const SHORT kItems[] = {0, 1, 2, 3, 5, 7, 9, 12, 26, 99, 200, 205, 1000, -1, 32767};

TEST(SampleModels, EveryCapabilityAnswersEveryViewAndItemCleanly)
{
    for (const char* name : kSamples) {
        Bytes file = ReadSample(name);
        SpcDataPtr data = Load(file);
        ASSERT_TRUE(data) << name;
        std::set<int> present = PresentCapabilities(file);
        for (int cap = 0; cap <= 102; ++cap) {
            bool bAnswered = false;
            for (LONG view = 0; view <= 16; ++view) {
                for (SHORT item : kItems) {
                    // Ask checks the canary bytes behind every answer.
                    Answer a = Ask(data.get(), static_cast<SHORT>(cap), item, view);
                    EXPECT_TRUE(a.dwResult == ERROR_SUCCESS || a.dwResult == ERROR_NOT_SUPPORTED ||
                                a.dwResult == ERROR_NOT_FOUND)
                        << name << " capability " << cap << " view " << view << " item " << item << ": "
                        << a.dwResult;
                    bAnswered = bAnswered || a.dwResult == ERROR_SUCCESS;
                }
            }
            // A capability the model has answers some view; 99 never does.
            if (present.count(cap) != 0 && cap != 99) {
                EXPECT_TRUE(bAnswered) << name << " capability " << cap << " answers no view";
            }
        }
    }
}

TEST(SampleModels, CutSampleFilesNeverReadPastTheirEnd)
{
    Bytes file = ReadSample("GC7350");
    for (size_t length = 0; length < file.size(); length += 97) {
        Bytes cut(file.begin(), file.begin() + length);
        SpcDataPtr data = Load(cut);
        for (int cap = 1; cap <= 102; ++cap) {
            for (LONG view = 1; view <= 15; ++view) {
                DWORD cb = 0;
                DWORD dwResult = SpcQuery(data.get(), static_cast<SHORT>(cap), 0, view, nullptr, &cb, nullptr);
                if (dwResult == ERROR_SUCCESS && cb > 0 && cb < (1u << 20)) {
                    Bytes buffer(cb, 0);
                    SpcQuery(data.get(), static_cast<SHORT>(cap), 0, view, buffer.data(), &cb, nullptr);
                }
            }
        }
    }
}

TEST(SampleModels, MonochromeModelHasDuplexTraysPjlItemsAndKeepAlive)
{
    SpcDataPtr data = Load(ReadSample("GM4150"));
    Answer defaults = Ask(data.get(), SPCID_PAPERSIZE, 0, 1);
    EXPECT_EQ(I16(defaults.bytes, 0), 1);  // Letter in inch locales
    EXPECT_EQ(I16(defaults.bytes, 2), 9);  // A4 elsewhere
    Answer a4 = Ask(data.get(), SPCID_PAPERSIZE, 9, 4);
    EXPECT_EQ(I16(a4.bytes, 8), 2100);
    EXPECT_EQ(I16(a4.bytes, 10), 2970);
    EXPECT_GE(Ask(data.get(), SPCID_PAPERSIZE, 0, 3).dwCount, 8u);
    EXPECT_GE(Ask(data.get(), SPCID_MEDIATYPE, 0, 1).dwCount, 5u);
    EXPECT_GE(Ask(data.get(), SPCID_PAPERSOURCE, 0, 1).dwCount, 3u);
    EXPECT_EQ(Ask(data.get(), SPCID_COLOR, 0, 1).dwResult, ERROR_NOT_SUPPORTED);  // monochrome

    Answer duplex = Ask(data.get(), SPCID_DUPLEX, 0, 1);
    EXPECT_NE(U32(duplex.bytes, 0) & 0x3, 0u);
    EXPECT_NE(U32(duplex.bytes, 0) & 0xC, 0u);
    Answer keepAlive = Ask(data.get(), 19, 0, 4);
    EXPECT_EQ(U32(keepAlive.bytes, 20), 30u);

    Answer items = Ask(data.get(), SPCID_PJLITEMS, 0, 3);
    ASSERT_EQ(items.dwResult, ERROR_SUCCESS);
    EXPECT_GT(items.dwCount, 10u);
    Answer formats = Ask(data.get(), SPCID_PJLITEMS, 0, 4);
    for (size_t i = 0; i < formats.dwCount; ++i) {
        // Every PJL text of the sample models ends inside its 56-byte field.
        EXPECT_LT(Text(formats.bytes, 64 * i + 8, 56).size(), 56u) << i;
    }
    // 1200 dpi is the 1200 x 1200 mode, rendered at that resolution; there is no 1200 x 600 mode.
    Answer resolution = Ask(data.get(), SPCID_RESOLUTION, 4, 1);
    EXPECT_EQ(U32(resolution.bytes, 4), 1200u);
    EXPECT_EQ(U32(resolution.bytes, 8), 1200u);
    EXPECT_EQ(Ask(data.get(), SPCID_RESOLUTION, 3, 1).dwResult, ERROR_NOT_FOUND);

    Answer colourTable = Ask(data.get(), SPCID_COLORTABLE, 200, 1);
    EXPECT_EQ(Text(colourTable.bytes, 8, 16), "GM4150");
}

TEST(SampleModels, ColourModelHasOptionsFinisherAndJobKinds)
{
    SpcDataPtr data = Load(ReadSample("GC7350"));
    EXPECT_NE(U32(Ask(data.get(), SPCID_COLOR, 0, 1).bytes, 0), 0u);
    EXPECT_EQ(Text(Ask(data.get(), SPCID_COLORTABLE, 200, 1).bytes, 8, 16), "GC7350");

    // Installable options: the duplex unit, trays 3 and the large-capacity tray, the finishers,
    // the hard disk and the memory.
    Answer options = Ask(data.get(), SPCID_OPTIONLIST, 0, 2);
    ASSERT_EQ(options.dwResult, ERROR_SUCCESS);
    std::set<std::pair<int, int>> found;
    for (size_t i = 0; i < options.dwCount; ++i) {
        found.insert({I16(options.bytes, 16 * i), I16(options.bytes, 16 * i + 2)});
    }
    const std::pair<int, int> expected[] = {{25, 25}, {26, 3}, {26, 5}, {27, 99}, {27, 1}, {35, 1}, {36, 1}};
    for (const auto& option : expected) {
        EXPECT_EQ(found.count(option), 1u) << option.first << "/" << option.second;
    }
    Answer groups = Ask(data.get(), SPCID_SOURCEGROUP, 0, 1);
    bool bLargeCapacity = false;
    for (size_t i = 0; i < groups.dwCount; ++i) {
        bLargeCapacity = bLargeCapacity || I16(groups.bytes, 4 * i + 2) == 5;
    }
    EXPECT_TRUE(bLargeCapacity);

    Answer finisher = Ask(data.get(), SPCID_FINISHER, 1, 3);
    ASSERT_EQ(finisher.dwResult, ERROR_SUCCESS);
    EXPECT_GT(I16(finisher.bytes, 52), 0);  // punch modes
    EXPECT_GT(I16(finisher.bytes, 54), 0);  // staple modes
    EXPECT_GT(Ask(data.get(), SPCID_FINISHER, 1, 7).dwCount, 0u);  // staple positions per paper

    Answer custom = Ask(data.get(), SPCID_CUSTOMSIZE, 0, 1);
    EXPECT_EQ(U32(custom.bytes, 0) & 1, 1u);
    Answer band = Ask(data.get(), SPCID_RENDERPARAMS, 0, 3);
    EXPECT_EQ(I16(band.bytes, 4), 128);
    EXPECT_EQ(I16(band.bytes, 6), 64);
    EXPECT_EQ(U32(Ask(data.get(), SPCID_SECUREPRINT, 0, 1).bytes, 0) & 1, 1u);
    for (SHORT kind : {SPCID_JOBSPOOL1, SPCID_JOBSPOOL2, SPCID_JOBSPOOL3, SPCID_JOBSPOOL4, SPCID_JOBSPOOL5}) {
        EXPECT_EQ(U32(Ask(data.get(), kind, 0, 1).bytes, 0) & 1, 1u) << kind;
    }
    Answer qualities = Ask(data.get(), SPCID_RESOLUTION, 0, 1);
    EXPECT_EQ(qualities.dwCount, 4u);
    // The settings' dpi pair of each mode is what Ghostscript renders at: 1200 x 1200 as it is, 1200 x
    // 600 at 600 x 600 with every dot doubled across by the renderer.
    Answer fine = Ask(data.get(), SPCID_RESOLUTION, 4, 1);
    EXPECT_EQ(U32(fine.bytes, 4), 1200u);
    EXPECT_EQ(U32(fine.bytes, 8), 1200u);
    Answer wide = Ask(data.get(), SPCID_RESOLUTION, 3, 1);
    EXPECT_EQ(U32(wide.bytes, 4), 600u);
    EXPECT_EQ(U32(wide.bytes, 8), 600u);
    EXPECT_GT(Ask(data.get(), SPCID_DEPENDPAIRS, 0, 1).dwCount, 0u);
}

TEST(SampleModels, MinimalModelHoldsOnlyWhatTheDefaultsNeed)
{
    Bytes file = ReadSample("GM1000");
    EXPECT_EQ(PresentCapabilities(file), (std::set<int>{SPCID_PAPERSIZE, SPCID_PAPERSOURCE}));
    SpcDataPtr data = Load(file);
    EXPECT_EQ(Ask(data.get(), SPCID_PAPERSIZE, 0, 1).dwResult, ERROR_SUCCESS);
    EXPECT_EQ(Ask(data.get(), SPCID_PAPERSIZE, 9, 4).dwResult, ERROR_SUCCESS);
    EXPECT_EQ(Ask(data.get(), SPCID_PAPERSOURCE, 0, 2).dwResult, ERROR_SUCCESS);
}

// Sets an environment variable for one scope and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        const char* old = getenv(name);
        m_bHad = old != nullptr;
        if (m_bHad) {
            m_old = old;
        }
        setenv(name, value, 1);
    }
    ~ScopedVariable()
    {
        if (m_bHad) {
            setenv(m_name, m_old.c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    bool m_bHad = false;
    std::string m_old;
};

TEST(SampleModels, SettingsDefaultsBuildAValidRecordForEveryModel)
{
    ScopedVariable measurement("LC_MEASUREMENT", "de_DE.UTF-8");  // metric: A4
    struct Case {
        const char* name;
        SHORT source;
        SHORT color;
        bool bFinisher;
    };
    const Case cases[] = {{"GM4150", 7, 1, false}, {"GC7350", 7, 2, true}, {"GM1000", 1, 1, false}};
    for (const Case& c : cases) {
        SpcDataPtr data = Load(ReadSample(c.name));
        DRVDEVMODE dm;
        memset(&dm, 0, sizeof dm);
        dm.dm.dmSize = kDevmodePublicSize;
        dm.dm.dmDriverExtra = kDevmodePrivateSize;
        ASSERT_EQ(SpcDevmodeService(data.get(), nullptr, &dm, DEVMODE_SERVICE_DEFAULTS), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(dm.priv.dwPrivDATA, kDevmodeSignature) << c.name;
        EXPECT_EQ(dm.dm.dmPaperSize, 9) << c.name;
        EXPECT_EQ(dm.dm.dmPaperWidth, 2100) << c.name;
        EXPECT_EQ(dm.dm.dmPaperLength, 2970) << c.name;
        EXPECT_EQ(dm.dm.dmDefaultSource, c.source) << c.name;
        EXPECT_EQ(dm.dm.dmPrintQuality, 600) << c.name;  // the default resolution mode 2, or none at all
        EXPECT_EQ(dm.priv.dmQuality, 2) << c.name;
        EXPECT_EQ(dm.dm.dmColor, c.color) << c.name;
        // Punch, staple and finishing-mode lists only on the model with a finisher.
        EXPECT_EQ((dm.priv.dmFieldsExtra1 & 0x70000) == 0x70000, c.bFinisher) << c.name;

        DRVDEVMODE checked = dm;
        ASSERT_EQ(SpcDevmodeService(data.get(), &dm, &checked, DEVMODE_SERVICE_VALIDATE), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(memcmp(&checked, &dm, sizeof dm), 0) << c.name << ": the defaults pass their own validation";
    }
}

}  // namespace

// GDI job header lines and the job trailer.
#include "GdiTestSupport.h"

#include "filter/render/language/GdiCommands.h"
#include "filter/render/RendererJob.h"

#include <gtest/gtest.h>

namespace gditest {
namespace {

using rendertest::FakeModelData;

std::string JobHeader(FakeModelData& model, const DRVDEVMODE& settings, DWORD capabilityMask = 0)
{
    Context context;
    tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    options.dwCapabilityMask = capabilityMask;
    EXPECT_EQ(RendererBeginJob(&settings, context.get(), &options), FLAG_TRUE);
    return Drain(context.get());
}

TEST(GdiJobHeader, CollatedCopiesMadeByTheFilterLeaveOneCopyToThePrinter)
{
    struct Case {
        DWORD fields;
        SHORT collate;
        SHORT copies;
        const char* line;
    };
    const Case cases[] = {
        {DM_COPIES | DM_COLLATE, 1, 3, "@PJL SET COPIES=1\n"},
        {DM_COPIES | DM_COLLATE, 0, 3, "@PJL SET COPIES=3\n"},
        {DM_COPIES, 1, 3, "@PJL SET COPIES=3\n"},
        {DM_COLLATE, 1, 3, "@PJL SET COPIES=3\n"},
        {DM_COPIES | DM_COLLATE, 1, 1, "@PJL SET COPIES=1\n"},
    };
    for (const Case& c : cases) {
        FakeModelData model;
        JobFields fields;
        fields.copies = c.copies;
        DRVDEVMODE settings = MakeJobSettings(fields);
        settings.dm.dmFields = c.fields;
        settings.dm.dmCollate = c.collate;
        EXPECT_EQ(JobHeader(model, settings), c.line) << "fields " << c.fields << " collate " << c.collate;
    }
}

TEST(GdiJobHeader, EconomodeLineNeedsTheModelAndTheSetting)
{
    struct Case {
        DWORD mask;
        DWORD extra2;
        bool line;
    };
    const Case cases[] = {
        {RENDERCAPS_ECONOMODE, DMX2_TONER_SAVE, true}, {0, DMX2_TONER_SAVE, false}, {RENDERCAPS_ECONOMODE, 0, false}};
    for (const Case& c : cases) {
        FakeModelData model;
        DRVDEVMODE settings = MakeJobSettings({});
        settings.priv.dmFieldsExtra2 = c.extra2;
        EXPECT_EQ(JobHeader(model, settings, c.mask),
                  std::string("@PJL SET COPIES=1\n") + (c.line ? "@PJL SET ECONOMODE=OFF\n" : ""));
    }
}

TEST(GdiJobHeader, PjlLinesOfTheDuplexModeFromBothItems)
{
    FakeModelData model;
    model.Answer(65, 94, 4,
                 Join({PjlText(94, 1, "SET DUPLEX=OFF"), PjlText(94, 2, "SET DUPLEX=ON"), PjlText(94, 2, "SECOND")}),
                 3);
    model.Answer(65, 96, 4, Join({PjlText(96, 3, ""), PjlText(96, 2, "SET BINDING=LONGEDGE")}), 2);
    struct Case {
        SHORT duplex;
        const char* lines;
    };
    const Case cases[] = {
        {1, "@PJL SET DUPLEX=OFF\n"},
        {2, "@PJL SET DUPLEX=ON\n@PJL SET BINDING=LONGEDGE\n"},  // the first record of a key only
        {3, ""},                                                 // an empty text writes nothing
    };
    for (const Case& c : cases) {
        JobFields fields;
        fields.duplex = c.duplex;
        EXPECT_EQ(JobHeader(model, MakeJobSettings(fields)), std::string("@PJL SET COPIES=1\n") + c.lines)
            << "duplex " << c.duplex;
    }
}

TEST(GdiJobHeader, PjlTextThatFillsItsFieldIsCutAtTheField)
{
    FakeModelData model;
    const std::string text(56, 'X');  // no terminator within the record
    model.Answer(65, 94, 4, Join({PjlText(94, 1, text), PjlText(94, 2, "NEXT")}), 2);
    EXPECT_EQ(JobHeader(model, MakeJobSettings({})), "@PJL SET COPIES=1\n@PJL " + text + "\n");
}

TEST(GdiJobHeader, RecordCountBeyondTheAnswerIsNotRead)
{
    FakeModelData model;
    model.Answer(65, 94, 4, PjlText(94, 5, "ONLY"), 4);  // claims four records, holds one
    JobFields fields;
    fields.duplex = 2;
    EXPECT_EQ(JobHeader(model, MakeJobSettings(fields)), "@PJL SET COPIES=1\n");
}

TEST(GdiJobHeader, JobTrailerIsTheUel)
{
    FakeModelData model;
    Context context;
    const DRVDEVMODE settings = MakeJobSettings({});
    const tagRENDEROPTIONS options = MakeOptions(model, LANGTYPE_GDI, settings);
    EXPECT_EQ(RendererEndJob(context.get(), &options), FLAG_TRUE);
    EXPECT_EQ(Drain(context.get()), "\x1b%-12345X");
}

}  // namespace
}  // namespace gditest

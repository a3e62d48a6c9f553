// The page pass over documents of real producers (groff, Ghostscript's PostScript writer, CUPS's
// own PostScript filter), made at build time: the rewritten PostScript must run in Ghostscript
// without error, give the number of sheets the layout asks for, and leave each page's ink where
// the producer put it when no transform applies.
#include "PagePassFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using pagepasstest::InkBox;
using pagepasstest::PagePassRun;
using pagepasstest::ReadAll;

namespace {

struct Producer {
    const char* name;
    const char* path;
};

std::vector<Producer> Producers()
{
    std::vector<Producer> producers = {{"ps2write", ORV_PAGEPASS_PS2WRITE}};
#ifdef ORV_PAGEPASS_GROFF
    producers.push_back({"groff", ORV_PAGEPASS_GROFF});
#endif
#ifdef ORV_PAGEPASS_CUPS_PSTOPS
    producers.push_back({"CUPS pstops", ORV_PAGEPASS_CUPS_PSTOPS});
#endif
    return producers;
}

void ExpectSameInk(const InkBox& got, const InkBox& want, const std::string& what)
{
    EXPECT_NEAR(got.x0, want.x0, 0.5) << what;
    EXPECT_NEAR(got.y0, want.y0, 0.5) << what;
    EXPECT_NEAR(got.x1, want.x1, 0.5) << what;
    EXPECT_NEAR(got.y1, want.y1, 0.5) << what;
}

TEST(PagePassProducers, DriverCopiesRepeatEveryPageWithItsInkUnmoved)
{
    for (const Producer& producer : Producers()) {
        SCOPED_TRACE(producer.name);
        const std::string document = ReadAll(producer.path);
        ASSERT_FALSE(document.empty());
        PagePassRun run;
        const std::vector<InkBox> original = run.RenderText(document);
        ASSERT_EQ(run.GsStatus(), 0);
        ASSERT_GE(original.size(), 3u);

        // Two collated copies made by the driver. CUPS's filter asked for two copies itself, in a
        // comment the pass reads and in setup code the pass keeps from the interpreter.
        run.dm().dmCopies = 2;
        run.dm().dmCollate = 1;
        run.priv().dmCopiesByDriver = 1;
        ASSERT_EQ(run.Run(document), 0);
        ASSERT_EQ(run.records().size(), 1u);
        EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, original.size());
        const std::vector<InkBox> pages = run.Render();
        EXPECT_EQ(run.GsStatus(), 0);
        ASSERT_EQ(pages.size(), 2 * original.size());
        for (size_t i = 0; i < pages.size(); ++i) {
            ExpectSameInk(pages[i], original[i % original.size()], "page " + std::to_string(i + 1));
        }
    }
}

TEST(PagePassProducers, LayoutsGiveTheirSheetsAndEveryPageLeavesInk)
{
    struct Layout {
        const char* name;
        DWORD extra2;
        WORD layout;
        SHORT posterX, posterY;
        int sheetsPerPage;  // 0: booklet sides
    };
    const Layout layouts[] = {
        {"booklet", DMX2_BOOKLET, 2, 1, 1, 0},
        {"poster 2 x 2", DMX2_POSTER, 4, 2, 2, 4},
        {"zoom", DMX2_ZOOM, 16, 1, 1, 1},
        {"text as black", DMX2_ALL_TEXT_BLACK, 0, 1, 1, 1},
    };
    for (const Producer& producer : Producers()) {
        const std::string document = ReadAll(producer.path);
        PagePassRun probe;
        const size_t pageCount = probe.RenderText(document).size();
        ASSERT_GE(pageCount, 3u);
        for (const Layout& l : layouts) {
            SCOPED_TRACE(std::string(producer.name) + ", " + l.name);
            PagePassRun run;
            run.priv().dmFieldsExtra2 = l.extra2;
            run.priv().dmLayoutPrint = l.layout;
            run.priv().dmBookletBinding = 2;
            run.priv().dmPosterX = l.posterX;
            run.priv().dmPosterY = l.posterY;
            run.priv().dmScaleTo = 80;
            run.priv().dmAlign = 4;
            run.priv().dmAllTextBlack = 1;
            ASSERT_EQ(run.Run(document), 0);
            const std::vector<InkBox> sheets = run.Render();
            EXPECT_EQ(run.GsStatus(), 0);
            // Booklet: three or four pages make one folded sheet, two sides.
            const size_t expected = l.sheetsPerPage == 0 ? 2 * ((pageCount + 3) / 4) : pageCount * l.sheetsPerPage;
            ASSERT_EQ(sheets.size(), expected);
            ASSERT_EQ(run.records().size(), 1u);
            EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, expected);
            int inked = 0;
            for (const InkBox& sheet : sheets) {
                inked += sheet.Blank() ? 0 : 1;
            }
            if (l.sheetsPerPage == 4) {
                EXPECT_GE(inked, static_cast<int>(pageCount)) << "each poster page has ink on some tile";
            } else {
                EXPECT_EQ(inked, static_cast<int>(sheets.size()));
            }
        }
    }
}

}  // namespace

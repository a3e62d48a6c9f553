// The page pass over DSC documents: when it is needed, copies and the duplex blank page, the
// header comments it acts on, the settings record it sends, the page store and what it does with
// documents it cannot structure. Results are checked on the PostScript and, where pages are
// involved, by rendering the rewritten PostScript with Ghostscript.
#include "PagePassFixture.h"

#include "filter/pagepass/PagePass.h"
#include "filter/pagepass/PagePassSetup.h"
#include "filter/pagepass/PagePassRun.h"
#include "filter/pagepass/PagePassStore.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>
#include <cstring>

#include <string>
#include <vector>

using pagepasstest::CountOf;
using pagepasstest::InkBox;
using pagepasstest::MarkedDocument;
using pagepasstest::PageOfBox;
using pagepasstest::PagePassRun;

namespace {

// ----- When the pass runs ----------------------------------------------------------------------

TEST(NeedsPageProcessing, EachOfTheNineConditionsAloneTurnsThePassOn)
{
    struct Case {
        const char* name;
        DWORD extra2;
        WORD layout;
        SHORT binding, posterX, posterY;
        WORD textBlack;
        SHORT copies, duplex;
        DWORD duplexCaps, fields;
        bool expected;
    };
    const Case cases[] = {
        {"plain simplex job", 0, 0, 0, 1, 1, 0, 1, 1, 0, 0, false},
        {"booklet with binding", DMX2_BOOKLET, 2, 1, 1, 1, 0, 1, 1, 0, 0, true},
        {"booklet without binding", DMX2_BOOKLET, 2, 0, 1, 1, 0, 1, 1, 0, 0, false},
        {"booklet the model lacks", 0, 2, 1, 1, 1, 0, 1, 1, 0, 0, false},
        {"poster 2 x 1", DMX2_POSTER, 4, 0, 2, 1, 0, 1, 1, 0, 0, true},
        {"poster 1 x 2", DMX2_POSTER, 4, 0, 1, 2, 0, 1, 1, 0, 0, true},
        {"poster 1 x 1", DMX2_POSTER, 4, 0, 1, 1, 0, 1, 1, 0, 0, false},
        {"zoom", DMX2_ZOOM, 16, 0, 1, 1, 0, 1, 1, 0, 0, true},
        {"zoom bit with fit layout", DMX2_ZOOM, 8, 0, 1, 1, 0, 1, 1, 0, 0, false},
        {"fit to output paper", DMX2_FIT, 8, 0, 1, 1, 0, 1, 1, 0, 0, true},
        {"pages per sheet", DMX2_NUP, 1, 0, 1, 1, 0, 1, 1, 0, 0, true},
        {"text as black", DMX2_ALL_TEXT_BLACK, 0, 0, 1, 1, 1, 1, 1, 0, 0, true},
        {"text as black off", DMX2_ALL_TEXT_BLACK, 0, 0, 1, 1, 0, 1, 1, 0, 0, false},
        {"two copies", 0, 0, 0, 1, 1, 0, 2, 1, 0, 0, true},
        {"duplex, printer adds blank sides", 0, 0, 0, 1, 1, 0, 1, 2, 0x200, 0, true},
        {"duplex, no such printer", 0, 0, 0, 1, 1, 0, 1, 2, 0, 0, false},
        {"simplex asked for explicitly", 0, 0, 0, 1, 1, 0, 1, 1, 0, DM_DUPLEX, true},
        {"duplex asked for explicitly", 0, 0, 0, 1, 1, 0, 1, 2, 0, DM_DUPLEX, false},
    };
    for (const Case& c : cases) {
        tagJOBINFO job{};
        job.devmode.priv.dmFieldsExtra2 = c.extra2;
        job.devmode.priv.dmLayoutPrint = c.layout;
        job.devmode.priv.dmBookletBinding = c.binding;
        job.devmode.priv.dmPosterX = c.posterX;
        job.devmode.priv.dmPosterY = c.posterY;
        job.devmode.priv.dmAllTextBlack = c.textBlack;
        job.devmode.dm.dmCopies = c.copies;
        job.devmode.dm.dmDuplex = c.duplex;
        job.devmode.dm.dmFields = c.fields;
        job.dwDuplexCaps = c.duplexCaps;
        EXPECT_EQ(NeedsPageProcessing(&job), c.expected ? -1 : 0) << c.name;
    }
}

// ----- Copies and the duplex blank page --------------------------------------------------------

TEST(PagePassCopies, TwoPagesInThreeDriverCopySetsAreLabelledByCopySet)
{
    PagePassRun run;
    run.dm().dmCopies = 3;
    run.dm().dmCollate = 1;
    run.priv().dmCopiesByDriver = 1;
    ASSERT_EQ(run.Run(MarkedDocument(2)), 0);

    const std::string& ps = run.ps();
    size_t at = 0;
    for (int set = 1; set <= 3; ++set) {
        for (int page = 1; page <= 2; ++page) {
            const std::string comment = "%%Page: (" + std::to_string(set) + ") " + std::to_string(page) + "\n";
            const size_t found = ps.find(comment, at);
            ASSERT_NE(found, std::string::npos) << comment;
            at = found + 1;
        }
    }
    EXPECT_EQ(CountOf(ps, "%%Page:"), 6);
    EXPECT_NE(ps.find("%%Pages: 6\n"), std::string::npos) << "the trailer counts the pages fed";

    const std::vector<InkBox> pages = run.Render();
    ASSERT_EQ(pages.size(), 6u);
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(PageOfBox(pages[i]), static_cast<int>(i % 2) + 1) << i;
    }

    ASSERT_EQ(run.records().size(), 1u);
    EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, 2u) << "pages of one copy set";
}

TEST(PagePassCopies, OddDuplexCopySetsGetABlankBackUnlessThePrinterAddsIt)
{
    struct Case {
        const char* name;
        int pages;
        SHORT duplex;
        DWORD duplexCaps;
        bool blank;
    };
    const Case cases[] = {
        {"three pages, long edge", 3, 2, 0, true},
        {"three pages, printer adds the side", 3, 2, 0x200, false},
        {"two pages, long edge", 2, 2, 0, false},
        {"three pages, simplex", 3, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PagePassRun run;
        run.dm().dmCopies = 2;
        run.dm().dmCollate = 1;
        run.dm().dmDuplex = c.duplex;
        run.priv().dmCopiesByDriver = 1;
        run.job()->dwDuplexCaps = c.duplexCaps;
        ASSERT_EQ(run.Run(MarkedDocument(c.pages)), 0);

        const std::string blankComment = "%%Page: Duplex Add " + std::to_string(c.pages + 1) + "\n";
        EXPECT_EQ(CountOf(run.ps(), blankComment), c.blank ? 2 : 0);
        ASSERT_EQ(run.records().size(), 1u);
        EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, static_cast<DWORD>(c.pages + (c.blank ? 1 : 0)));

        // Each copy set fills whole sheets: page 4 and page 8 come out blank.
        const std::vector<InkBox> pages = run.Render();
        const int perSet = c.pages + (c.blank ? 1 : 0);
        ASSERT_EQ(pages.size(), static_cast<size_t>(2 * perSet));
        for (int set = 0; set < 2; ++set) {
            for (int k = 1; k <= c.pages; ++k) {
                EXPECT_EQ(PageOfBox(pages[static_cast<size_t>(set * perSet + k - 1)]), k);
            }
            if (c.blank) {
                EXPECT_TRUE(pages[static_cast<size_t>(set * perSet + c.pages)].Blank());
            }
        }
    }
}

TEST(PagePassCopies, OnePageWithCollatedCopiesIsSentSimplexAndUncollated)
{
    PagePassRun run;
    run.dm().dmCopies = 4;
    run.dm().dmCollate = 1;
    run.dm().dmDuplex = 2;
    ASSERT_EQ(run.Run(MarkedDocument(1)), 0);
    ASSERT_EQ(run.records().size(), 1u);
    EXPECT_EQ(run.records()[0].devmode.dm.dmDuplex, 1);
    EXPECT_EQ(run.records()[0].devmode.dm.dmCollate, 0);
    EXPECT_EQ(run.records()[0].devmode.dm.dmCopies, 4) << "the printer makes the copies";
    EXPECT_EQ(run.Render().size(), 1u);
}

// ----- Header comments -------------------------------------------------------------------------

TEST(PagePassComments, RequirementsTurnASimplexJobToDuplex)
{
    struct Case {
        const char* comment;
        SHORT duplexBefore;
        SHORT expected;
    };
    const Case cases[] = {
        {"%%Requirements: duplex\n", 1, 2},
        {"%%Requirements: duplex(tumble)\n", 1, 3},
        {"%%Requirements: color duplex collate\n", 1, 2},
        {"%%Requirements: duplex \n", 1, 2},
        {"%%Requirements: duplexer\n", 1, 1},
        {"%%Requirements: color\n", 1, 1},
        {"%%Requirements: duplex(tumble)\n", 2, 2},
    };
    for (const Case& c : cases) {
        PagePassRun run;
        run.dm().dmDuplex = c.duplexBefore;
        run.dm().dmCopies = 2;  // any reason for the pass
        ASSERT_EQ(run.Run(MarkedDocument(2, c.comment)), 0);
        ASSERT_EQ(run.records().size(), 1u) << c.comment;
        EXPECT_EQ(run.records()[0].devmode.dm.dmDuplex, c.expected) << c.comment;
    }
}

TEST(PagePassComments, CopyCountCommentIsKeptToTheModelsRange)
{
    // The sample model allows 1 to 999 copies.
    struct Case {
        const char* comment;
        SHORT expected;
    };
    const Case cases[] = {
        {"%RBINumCopies: 5\n", 5},       {"%RBINumCopies: 999\n", 999}, {"%RBINumCopies: 1000\n", 999},
        {"%RBINumCopies: 70000\n", 999}, {"%RBINumCopies: 0\n", 1},     {"%RBINumCopies: -4\n", 1},
        {"%RBINumCopies: many\n", 1},
    };
    for (const Case& c : cases) {
        PagePassRun run;
        run.dm().dmCopies = 2;
        ASSERT_EQ(run.Run(MarkedDocument(1, c.comment)), 0);
        ASSERT_EQ(run.records().size(), 1u) << c.comment;
        EXPECT_EQ(run.records()[0].devmode.dm.dmCopies, c.expected) << c.comment;
    }
}

TEST(PagePassComments, HeaderIsRewrittenAndEndsAtTheFirstStructureCommentWithoutEndComments)
{
    // No %%EndComments: the header still ends at %%Page:, so the page is stored as a page and not
    // fed as a comment.
    PagePassRun run;
    run.dm().dmCopies = 2;
    const std::string doc =
        "%!PS-Adobe-3.0\n%%Title: no end comments\n%%BoundingBox: 0 0 595 842\n%%Pages: 1\n%cupsRotation: 0\n"
        "%%Page: 1 1\n100 100 moveto 40 0 rlineto 0 20 rlineto -40 0 rlineto closepath fill\nshowpage\n%%EOF\n";
    ASSERT_EQ(run.Run(doc), 0);
    const std::string& ps = run.ps();
    EXPECT_EQ(ps.rfind("%!PS-Adobe-3.0\n%%Title: no end comments\n%%Pages: (atend)\n%%BoundingBox: (atend)\n"
                       "%%EndComments\n",
                       0),
              0u)
        << ps.substr(0, 200);
    EXPECT_EQ(CountOf(ps, "%cups"), 0);
    EXPECT_EQ(CountOf(ps, "%%Page: 1 1"), 0);
    EXPECT_EQ(CountOf(ps, "%%Page: (1) 1\n"), 1);
    ASSERT_EQ(run.records().size(), 1u);
    EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, 1u);
    const std::vector<InkBox> pages = run.Render();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(PageOfBox(pages[0]), 1);
}

// ----- Prolog and setup ------------------------------------------------------------------------

TEST(PagePassProlog, TextAsBlackPaintsTextBlackAndLeavesTheJobsOwnNamesAlone)
{
    // The job paints red text and keeps its own r, g and b; after the text it draws a box only if
    // its b still holds 7.
    const std::string doc =
        "%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%BeginProlog\n/r 1 def /g 2 def /b 7 def\n%%EndProlog\n"
        "%%Page: 1 1\n/Helvetica findfont 72 scalefont setfont 1 0 0 setrgbcolor 100 400 moveto (HHH) show\n"
        "b 7 eq { 0 0 1 setrgbcolor 100 100 moveto 50 0 rlineto 0 50 rlineto -50 0 rlineto closepath fill } if\n"
        "showpage\n%%EOF\n";
    PagePassRun run;
    run.priv().dmFieldsExtra2 = DMX2_ALL_TEXT_BLACK;
    run.priv().dmAllTextBlack = 1;
    ASSERT_EQ(run.Run(doc), 0);
    EXPECT_EQ(CountOf(run.ps(), "userdict/ORVshow/show load put\n"), 1);
    EXPECT_EQ(CountOf(run.ps(), "userdict/ORVglyphshow/glyphshow load put\n"), 1);

    const std::string ppm = run.dir() / "black.ppm";
    const std::string psPath = run.dir().WriteFile("black.ps", run.ps());
    const std::string cmd =
        "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r36 -dFIXEDMEDIA -dDEVICEWIDTHPOINTS=595 "
        "-dDEVICEHEIGHTPOINTS=842 -sOutputFile=" +
        ppm + " " + psPath + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const pagepasstest::Pnm image = pagepasstest::ReadPnm(ppm);
    ASSERT_EQ(image.channels, 3);
    ASSERT_GT(image.width, 0);
    int black = 0, red = 0, blue = 0;
    for (size_t i = 0; i + 2 < image.pixels.size(); i += 3) {
        const unsigned char r = image.pixels[i], g = image.pixels[i + 1], b = image.pixels[i + 2];
        if (r < 64 && g < 64 && b < 64) {
            ++black;
        }
        if (r > 192 && g < 64 && b < 64) {
            ++red;
        }
        if (r < 64 && g < 64 && b > 192) {
            ++blue;
        }
    }
    EXPECT_GT(black, 100) << "the text is painted black";
    EXPECT_EQ(red, 0) << "no red text is left";
    EXPECT_GT(blue, 100) << "the job's own b survived, and the colour after the text is the job's";
}

TEST(PagePassSetup, NonPpdFeatureLinesNeverReachTheInterpreter)
{
    const std::string setup =
        "%%BeginFeature: *InputSlot Tray1\n/tray-one-marker pop\n%%EndFeature\n"
        "%RBIBeginNonPPDFeature: *Watermark Secret\n/non-ppd-marker pop\n%RBIEndNonPPDFeature\n"
        "/after-marker pop\n";
    PagePassRun run;
    run.dm().dmCopies = 2;
    ASSERT_EQ(run.Run(MarkedDocument(1, "", setup)), 0);
    EXPECT_EQ(CountOf(run.ps(), "non-ppd-marker"), 0);
    EXPECT_EQ(CountOf(run.ps(), "NonPPDFeature"), 0);
    EXPECT_EQ(CountOf(run.ps(), "/tray-one-marker pop\n"), 1);
    EXPECT_EQ(CountOf(run.ps(), "/after-marker pop\n"), 1);
    EXPECT_NE(run.ps().find("userdict/setpagedevice{pop}bind put\n%%EndSetup\n"), std::string::npos);
}

TEST(PagePassSetup, PageSizeFeatureIsReplacedByTheOutputPapersCode)
{
    // A4 job printed on Letter: the job's A4 feature becomes the PPD's Letter code.
    const std::string setup = "%%BeginFeature: *PageSize A4\n<</PageSize[595 842]>>setpagedevice\n%%EndFeature\n";
    PagePassRun run;
    run.priv().dmFieldsExtra2 = DMX2_FIT;
    run.priv().dmLayoutPrint = 8;
    run.priv().dmOutputPaperSize = 1;  // Letter
    ASSERT_EQ(run.Run(MarkedDocument(1, "", setup)), 0);
    EXPECT_NE(run.ps().find("%%BeginFeature: *PageRegion Letter\n"
                            "<</PageSize[612 792]/ImagingBBox null>>setpagedevice %% ID=1\n%%EndFeature\n"),
              std::string::npos)
        << run.ps();
    EXPECT_EQ(CountOf(run.ps(), "[595 842]"), 0);
}

// ----- The settings record ----------------------------------------------------------------------

struct OrderProbe {
    std::string text;
    std::string pipePath;
    off_t pipeSizeAtFirstPage = -1;
};

int ProbeFeed(void* context, const char* text, size_t length)
{
    OrderProbe* probe = static_cast<OrderProbe*>(context);
    probe->text.append(text, length);
    if (probe->pipeSizeAtFirstPage < 0 && probe->text.find("%%Page:") != std::string::npos) {
        struct stat st {};
        stat(probe->pipePath.c_str(), &st);
        probe->pipeSizeAtFirstPage = st.st_size;
    }
    return -1;
}

TEST(PagePassSettingsRecord, WrittenOnceBeforeTheFirstPageIsFed)
{
    PagePassRun run;
    run.dm().dmCopies = 2;
    run.dm().dmCollate = 1;
    run.priv().dmCopiesByDriver = 1;
    const std::string path = run.dir().WriteFile("doc.ps", MarkedDocument(3));
    cups_file_t* in = run.job()->cups.cupsFileOpen(path.c_str(), "r");
    ASSERT_NE(in, nullptr);
    char line[kDocLineSize];
    const int length = static_cast<int>(run.job()->cups.cupsFileGetLine(in, line, sizeof line));
    OrderProbe probe;
    probe.pipePath = run.dir() / "order-pipe.bin";
    const int fd = open(probe.pipePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    tagPAGEPASSIO io{in, ProbeFeed, &probe, fd};
    EXPECT_EQ(RunPagePass(run.job(), &io, line, length, sizeof line), 0);
    close(fd);
    run.job()->cups.cupsFileClose(in);

    EXPECT_EQ(probe.pipeSizeAtFirstPage, 14 + 1232) << "the record is on the pipe before the first page";
    size_t trailing = 0;
    const auto records = pagepasstest::ParsePipe(pagepasstest::ReadAll(probe.pipePath), &trailing);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(trailing, 0u);
    EXPECT_TRUE(records[0].headerOk);
    EXPECT_EQ(records[0].devmode.dm.dmSize, 96);
    EXPECT_EQ(records[0].devmode.dm.dmDriverExtra, 1136);
    EXPECT_EQ(records[0].devmode.priv.dwPrivDATA, kDevmodeSignature);
    EXPECT_EQ(records[0].devmode.priv.dmTotalPages, 3u);
}

// ----- Documents the pass cannot structure -------------------------------------------------------

TEST(PagePassUnstructured, DocumentsWithoutPageCommentsAreFedUnchangedAndSendNoRecord)
{
    struct Case {
        const char* name;
        WORD layout;
        DWORD extra2;
        std::string document;
    };
    const std::string twoShowpages =
        "100 100 moveto 40 0 rlineto 0 20 rlineto -40 0 rlineto closepath fill showpage\n"
        "100 100 moveto 40 0 rlineto 0 40 rlineto -40 0 rlineto closepath fill showpage\n";
    const Case cases[] = {
        {"no comments at all, booklet", 2, DMX2_BOOKLET, "%!PS-Adobe-3.0\n" + twoShowpages},
        {"prolog without pages, poster", 4, DMX2_POSTER,
         "%!PS-Adobe-3.0\n%%Title: t\n%%EndComments\n%%BeginProlog\n/x 1 def\n" + twoShowpages},
        {"setup and trailer without pages, copies", 0, 0,
         "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n%%EndSetup\n" + twoShowpages + "%%Trailer\n%%EOF\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PagePassRun run;
        run.dm().dmCopies = 2;
        run.priv().dmLayoutPrint = c.layout;
        run.priv().dmFieldsExtra2 = c.extra2;
        run.priv().dmBookletBinding = 1;
        run.priv().dmPosterX = 2;
        run.priv().dmPosterY = 2;
        ASSERT_EQ(run.Run(c.document), 0);
        EXPECT_EQ(run.ps(), c.document);
        EXPECT_TRUE(run.records().empty());
        const std::vector<InkBox> pages = run.Render();
        ASSERT_EQ(pages.size(), 2u);
        EXPECT_EQ(PageOfBox(pages[0]), 1);
        EXPECT_EQ(PageOfBox(pages[1]), 2);
    }
}

TEST(PagePassUnstructured, MissingOutputPaperPrintsTheDocumentUnchanged)
{
    PagePassRun run;
    run.priv().dmFieldsExtra2 = DMX2_FIT;
    run.priv().dmLayoutPrint = 8;
    run.priv().dmOutputPaperSize = 333;  // no such PageSize choice
    const std::string doc = MarkedDocument(2);
    ASSERT_EQ(run.Run(doc), 0);
    EXPECT_EQ(run.ps(), doc);
    EXPECT_TRUE(run.records().empty());
    EXPECT_NE(run.log().find("ERROR: "), std::string::npos);
}

// ----- Page store --------------------------------------------------------------------------------

TEST(ParsePageLabel, TakesTheLabelUpToWhiteSpaceOutsideParentheses)
{
    struct Case {
        std::string text;
        const char* label;
        bool good;
    };
    const Case cases[] = {
        {" 1 1\n", "1", true},
        {" (Title page) 3\n", "(Title page)", true},
        {" (a (nested) b) 2\n", "(a (nested) b)", true},
        {" iv 4", "iv", true},
        {"\t\\1234 5\n", "\\1234", true},
        {" x\n", "x", false},
        {" 3 x\n", "3", false},
        {" (open 3\n", "(open 3", false},
        {" " + std::string(254, 'L') + " 1\n", nullptr, true},
        {" " + std::string(255, 'L') + " 1\n", "", false},
        {" " + std::string(400, 'L') + " 1\n", "", false},
    };
    for (const Case& c : cases) {
        char label[kPageLabelSize];
        std::memset(label, 'Z', sizeof label);
        const char* rest = nullptr;
        EXPECT_EQ(ParsePageLabel(c.text.c_str(), &rest, label), c.good) << c.text;
        const std::string expected = c.label != nullptr ? c.label : std::string(254, 'L');
        EXPECT_EQ(std::string(label), expected) << c.text;
    }
}

TEST(PagePassStore, PageCommentsAndFeaturesOfThePageAreDroppedAndClipQueriesAnswerTheInputPaper)
{
    const std::string longTail(3000, 'x');
    const std::string doc =
        "%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%Page: 1 1\n%%PageBoundingBox: 1 2 3 4\n%%PageMedia: plain\n"
        "%%BeginPageSetup\n%%BeginFeature: *InputSlot Tray2\n/page-tray pop\n%%EndFeature\n/setup-kept pop\n"
        "%%PageBoundingBox: 5 6 7 8\n%%EndPageSetup\n"
        "clippath pathbbox /ury exch def /urx exch def /lly exch def /llx exch def % " +
        longTail +
        "\n"
        "clippath pathbbox pop pop pop pop\n/body-kept pop\nclippath pathbbox pop pop pop pop\nshowpage\n%%EOF\n";
    PagePassRun run;
    run.dm().dmCopies = 2;
    ASSERT_EQ(run.Run(doc), 0);
    const std::string& ps = run.ps();
    EXPECT_EQ(CountOf(ps, "%%PageBoundingBox"), 0);
    EXPECT_EQ(CountOf(ps, "%%PageMedia"), 0);
    EXPECT_EQ(CountOf(ps, "/page-tray pop"), 0);
    // The feature's lines go, its end comment stays.
    EXPECT_EQ(CountOf(ps, "%%BeginPageSetup\n%%EndFeature\n/setup-kept pop\n%%EndPageSetup\n"), 1);
    // A4 input: the leading clip queries answer 595 x 842, however long the line; later ones stay.
    EXPECT_EQ(
        CountOf(ps, "0 0 595.00 842.00 /ury exch def /urx exch def /lly exch def /llx exch def % " + longTail + "\n"),
        1);
    EXPECT_EQ(CountOf(ps, "0 0 595.00 842.00 pop pop pop pop\n/body-kept pop\nclippath pathbbox pop pop pop pop\n"), 1);
}

TEST(PagePassStore, EmbeddedDocumentsKeepTheirPageCommentsInsideThePage)
{
    const std::string embedded =
        "%%BeginDocument: inner.eps\n%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n%%EndComments\n"
        "%%Page: 1 1\n%%Trailer\n%%EOF\n%%EndDocument\n";
    std::string doc = MarkedDocument(2);
    const size_t body = doc.find("save\n20 box");
    ASSERT_NE(body, std::string::npos);
    doc.insert(body, embedded);
    PagePassRun run;
    run.dm().dmCopies = 2;
    run.dm().dmCollate = 1;
    run.priv().dmCopiesByDriver = 1;
    ASSERT_EQ(run.Run(doc), 0);
    ASSERT_EQ(run.records().size(), 1u);
    EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, 2u);
    EXPECT_EQ(CountOf(run.ps(), embedded), 2) << "the embedded document stays whole in each copy of page 1";
    const std::vector<InkBox> pages = run.Render();
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(PageOfBox(pages[2]), 1);
    EXPECT_EQ(PageOfBox(pages[3]), 2);
}

TEST(PagePassStore, CountedBinaryDataIsTakenWholeWhenItsCountHoldsAndReadAsLinesOtherwise)
{
    // The page reads 18 bytes through currentfile; the counted section is its reading line and
    // those bytes. In the first case the bytes hold a line that looks like a page comment.
    const std::string dsc("\x01\x02\n%%Page: 9 9\n\xff\xfe\x00", 18);
    const std::string plain("\x01\x02\x03 binary \xff\xfe\xfd data", 18);
    const std::string reader = "currentfile 18 string readstring\n";
    struct Case {
        const char* name;
        std::string document;
        int pages;
    };
    auto doc = [&reader](const std::string& count, const std::string& data) {
        std::ostringstream ps;
        ps << "%!PS-Adobe-3.0\n%%Pages: 2\n%%EndComments\n%%Page: 1 1\n"
           << "%%BeginBinary: " << count << "\n"
           << reader << data << "\n%%EndBinary\npop pop\n"
           << "100 100 moveto 40 0 rlineto 0 20 rlineto -40 0 rlineto closepath fill showpage\n"
           << "%%Page: 2 2\n100 100 moveto 40 0 rlineto 0 40 rlineto -40 0 rlineto closepath fill showpage\n"
           << "%%Trailer\n%%EOF\n";
        return ps.str();
    };
    const std::string exact = std::to_string(reader.size() + dsc.size());
    const Case cases[] = {
        {"count holds, data hides a page comment", doc(exact, dsc), 2},
        {"count runs past the input", doc("999999", plain), 2},
        {"count runs past the end comment", doc(std::to_string(reader.size() + plain.size() + 40), plain), 2},
        {"count too short", doc("10", plain), 2},
        {"count not a number", doc("many", plain), 2},
        {"hex data is read as lines", doc(exact + " Hex Bytes", plain), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PagePassRun run;
        run.dm().dmCopies = 2;
        run.dm().dmCollate = 1;
        run.priv().dmCopiesByDriver = 1;
        ASSERT_EQ(run.Run(c.document), 0);
        ASSERT_EQ(run.records().size(), 1u);
        EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, static_cast<DWORD>(c.pages));
        const std::vector<InkBox> pages = run.Render();
        ASSERT_EQ(pages.size(), static_cast<size_t>(2 * c.pages)) << run.ps();
        for (size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(PageOfBox(pages[i]), static_cast<int>(i % 2) + 1) << i;
        }
    }
}

TEST(PagePassStore, ManyCountsThatDoNotHoldGoThroughInOneReadingOfTheDocument)
{
    // A count that does not hold puts the bytes after it back to be read as lines. Read again for
    // every such line (and a large count first taking its announced size in memory), a document of
    // such lines a few hundred kilobytes long kept the pass busy for hours. The pages come out as
    // for any document, and sections that hold inside put-back bytes are still taken whole: in the
    // last row each hides a page comment in its data.
    auto repeat = [](const std::string& text, int times) {
        std::string out;
        for (int i = 0; i < times; ++i) {
            out += text;
        }
        return out;
    };
    const std::string pastTheEnd = "%%BeginBinary: 60000000\n";
    const std::string hidden = "(\n%%Page: 9 9\n) pop";
    const std::string holds = "%%BeginBinary: " + std::to_string(hidden.size()) + "\n" + hidden + "\n%%EndBinary\n";
    struct Case {
        const char* name;
        std::string body;  // lines at the top of the first page
    } cases[] = {
        {"counts far past a short input", repeat(pastTheEnd, 1000)},
        {"counts past the input over megabytes of such lines", repeat(pastTheEnd, 200000)},
        {"one count that does not hold before many sections that do", pastTheEnd + repeat(holds, 20000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string doc = "%!PS-Adobe-3.0\n%%Pages: 2\n%%EndComments\n%%Page: 1 1\n" + c.body +
                                "100 100 moveto 40 0 rlineto 0 20 rlineto -40 0 rlineto closepath fill showpage\n"
                                "%%Page: 2 2\n"
                                "100 100 moveto 40 0 rlineto 0 40 rlineto -40 0 rlineto closepath fill showpage\n"
                                "%%Trailer\n%%EOF\n";
        PagePassRun run;
        run.dm().dmCopies = 2;
        run.dm().dmCollate = 1;
        run.priv().dmCopiesByDriver = 1;
        ASSERT_EQ(run.Run(doc), 0);
        ASSERT_EQ(run.records().size(), 1u);
        EXPECT_EQ(run.records()[0].devmode.priv.dmTotalPages, 2u);
        const std::vector<InkBox> pages = run.Render();
        ASSERT_EQ(pages.size(), 4u);
        for (size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(PageOfBox(pages[i]), static_cast<int>(i % 2) + 1) << i;
        }
    }
}

TEST(PagePassStore, TrailerReportsThePagesFedAndDropsTheInputsCounts)
{
    PagePassRun run;
    run.dm().dmCopies = 2;
    run.dm().dmCollate = 1;
    run.priv().dmCopiesByDriver = 1;
    std::string doc = MarkedDocument(2);
    doc.insert(doc.find("%%EOF"), "%%BoundingBox: 1 1 2 2\n/trailer-kept pop\n");
    ASSERT_EQ(run.Run(doc), 0);
    const std::string& ps = run.ps();
    const size_t trailer = ps.find("%%Trailer\n");
    ASSERT_NE(trailer, std::string::npos);
    EXPECT_EQ(ps.substr(trailer), "%%Trailer\n/trailer-kept pop\n%%Pages: 4\n%%BoundingBox: 12 830 583 12\n%%EOF\n");
}

}  // namespace

namespace {

// ----- Damaged input -----------------------------------------------------------------------------

TEST(PagePassDamage, EveryCutOfADocumentGoesThroughWithoutHarm)
{
    // A document with every kind of section the pass treats specially, cut after every byte: the
    // pass never fails, and what it feeds never holds more pages than the document's copy sets.
    const std::string data("\x01\x02\n%%Page: 9 9\n\xff\xfe\x00", 18);
    const std::string doc =
        "%!PS-Adobe-3.0\n%%Requirements: duplex(tumble)\n%RBINumCopies: 2\n%%EndComments\n%%BeginProlog\n"
        "userdict/ESPshowpage/showpage load put\n%%EndProlog\n%%BeginSetup\n"
        "%RBIBeginNonPPDFeature: *NumCopies 2\n2 dict\n%RBIEndNonPPDFeature\n%%EndSetup\n"
        "%%Page: (one) 1\n%%BeginPageSetup\n%%BeginFeature: *InputSlot x\n%%EndFeature\n%%EndPageSetup\n"
        "clippath pathbbox pop pop pop pop\n%%BeginBinary: 51\ncurrentfile 18 string readstring\n" +
        data +
        "\n%%EndBinary\npop pop\n%%BeginDocument: x.eps\n%%Page: 1 1\n%%EndDocument\nshowpage\n"
        "%%Page: (two) 2\nshowpage\n%%Trailer\n%%Pages: 2\n%%EOF\n";
    PagePassRun run;
    run.dm().dmCollate = 1;
    run.priv().dmCopiesByDriver = 1;
    run.priv().dmFieldsExtra2 = DMX2_ALL_TEXT_BLACK;
    run.priv().dmAllTextBlack = 1;
    for (size_t cut = 15; cut <= doc.size(); ++cut) {
        run.dm().dmCopies = 1;
        run.dm().dmDuplex = 1;
        ASSERT_EQ(run.Run(doc.substr(0, cut)), 0) << cut;
        EXPECT_LE(CountOf(run.ps(), "\n%%Page: ("), 4) << cut;
        EXPECT_LE(run.records().size(), 1u) << cut;
        if (run.records().empty()) {
            EXPECT_EQ(run.ps(), doc.substr(0, cut)) << "a document without a page goes through unchanged, cut " << cut;
        }
    }
}

}  // namespace

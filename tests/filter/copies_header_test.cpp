// Copies, every way they can be made, seen in what the printer gets: the job header's COPIES and
// QTY lines and the pages in the stream. Whoever makes the copies, the printer prints the document
// exactly as many times as the job asked: the sets in the stream times the copies the header asks
// the printer for.
#include "FilterInstall.h"

#include "core/settings/DevMode.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using filtertest::FilterInstall;
using filtertest::FilterRun;
using filtertest::RunFilterProgram;

namespace {

// The number of a "@PJL SET <name>=<n>" line of the job header, or -1 when there is none.
long PjlNumber(const orvdecode::DecodedStream& stream, const std::string& name)
{
    const std::string prefix = "@PJL SET " + name + "=";
    for (const orvdecode::StreamEvent& event : stream.events) {
        if (event.kind == orvdecode::EventKind::PjlLine && event.text.compare(0, prefix.size(), prefix) == 0) {
            return std::strtol(event.text.c_str() + prefix.size(), nullptr, 10);
        }
    }
    return -1;
}

// The model's default settings for alice's queue "office", copies made by the driver or not.
void SaveSettings(const FilterInstall& install, const char* pszModel, bool bDriverCopies)
{
    DRVDEVMODE record;
    ASSERT_TRUE(install.ModelDefaults(pszModel, &record)) << pszModel;
    record.priv.dmCopiesByDriver = bDriverCopies ? 1 : 0;
    install.WriteSavedSettings("alice", "office", &record, sizeof record);
}

TEST(Copies, PrinterIsAskedForTheCopiesTheStreamDoesNotHold)
{
    struct Case {
        const char* what;
        const char* pszDocument;
        long documentPages;
        const char* pszCopies;
        const char* pszOptions;
        bool bDriverCopies;
        long copiesLine;   // COPIES=
        long quantity;     // QTY=, -1 none
        long streamPages;  // pages in the stream
    } cases[] = {
        {"one copy", "two-pages-letter.ps", 2, "1", "PageSize=Letter Collate=True", false, 1, -1, 2},
        {"printer collates", "two-pages-letter.ps", 2, "2", "PageSize=Letter Collate=True", false, 1, 2, 2},
        {"printer copies each page", "two-pages-letter.ps", 2, "2", "PageSize=Letter Collate=False", false, 2, -1, 2},
        {"driver makes the sets", "two-pages-letter.ps", 2, "2", "PageSize=Letter Collate=True", true, 1, 1, 4},
        {"driver copies uncollated: the printer", "two-pages-letter.ps", 2, "2", "PageSize=Letter Collate=False", true,
         2, -1, 2},
        {"one page: the printer copies it", "one-page-a4.ps", 1, "3", "Collate=True", true, 3, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FilterInstall install;
        SaveSettings(install, "GM4150", c.bDriverCopies);
        const std::string document = std::string(ORV_FILTER_SAMPLE_DIR) + c.pszDocument;
        FilterRun run = RunFilterProgram({"gdi-filter", "42", "alice", "sample", c.pszCopies, c.pszOptions, document},
                                         install.QueueEnv(FilterInstall::SamplePpd("GM4150")));
        ASSERT_EQ(run.iStatus, 0) << run.stderrText;
        orvdecode::DecodedStream printed =
            orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(run.stdoutBytes.data()), run.stdoutBytes.size());
        ASSERT_TRUE(printed.ok()) << printed.error->message;

        const long copiesLine = PjlNumber(printed, "COPIES");
        const long quantity = PjlNumber(printed, "QTY");
        const long pages = static_cast<long>(printed.pages.size());
        EXPECT_EQ(copiesLine, c.copiesLine);
        EXPECT_EQ(quantity, c.quantity);
        EXPECT_EQ(pages, c.streamPages);
        // What the printer puts out: every page of the stream, as often as the header asks.
        EXPECT_EQ(pages * copiesLine * (quantity < 0 ? 1 : quantity), c.documentPages * std::atol(c.pszCopies));
    }
}

}  // namespace

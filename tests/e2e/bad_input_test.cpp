// Bad input: documents that cannot print, a queue whose model data is missing, a damaged saved
// settings file. A job that cannot print ends with a clear error in CUPS's log and never leaves a
// partial stream that looks like a good job; the scheduler keeps running and the next job prints.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/InstallPaths.h"
#include "e2e/E2eSupport.h"

namespace orve2e {
namespace {

enum class Outcome {
    Fails,        // the job must not complete as a good one
    Prints,       // the job prints the document in full
    EitherClean,  // prints in full, or fails with an error; never half a job
};

struct BadCase {
    const char* name;
    const char* queue;
    Outcome outcome;
};

class BadInput : public ::testing::TestWithParam<BadCase> {
protected:
    void SetUp() override
    {
        ORV_REQUIRE_PRINTING_FILTER();
        std::string error;
        m_scheduler = Scheduler(&error);
        ASSERT_NE(nullptr, m_scheduler) << error;
    }

    std::string WriteInput(const std::string& name, const std::string& bytes) const
    {
        const std::string path = m_scheduler->ScratchPath(name);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file != nullptr) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        return path;
    }

    // The document, options and queue set-up of each case; the document that should have printed.
    std::string Prepare(const BadCase& c, std::vector<std::string>* options, std::string* reference)
    {
        const std::string colour = ReadFileText(Document("colour-pages.ps"));
        const std::string name = c.name;
        if (name == "EmptyFile") {
            return WriteInput("empty.ps", "");
        }
        if (name == "TruncatedPostScript") {
            return WriteInput("truncated.ps", colour.substr(0, colour.find("%%Page: 2")  + 200));
        }
        if (name == "PostScriptErrorInPageTwo") {
            std::string broken = colour;
            broken.replace(broken.find("%ORV-ERROR-HERE"), 15, "1 0 orvnosuchoperator div");
            return WriteInput("error-on-page-2.ps", broken);
        }
        if (name == "PdfGivenAsPostScript") {
            options->push_back("document-format=application/postscript");
            const std::string pdf = m_scheduler->ScratchPath("colour-pages.pdf");
            const RunResult converted = orve2e::Run({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pdfwrite",
                                             "-sOutputFile=" + pdf, Document("colour-pages.ps")});
            EXPECT_EQ(0, converted.status) << converted.output;
            *reference = Document("colour-pages.ps");
            return pdf;
        }
        if (name == "MissingModelData") {
            // A queue whose PPD names a model data file that is not installed.
            std::string ppd = ReadFileText(m_scheduler->InstalledPpd("GC7350.ppd"));
            const std::string key = "*OrvalenAttr SPCFILE: \"GC7350.pcsp\"";
            ppd.replace(ppd.find(key), key.size(), "*OrvalenAttr SPCFILE: \"NotInstalled.pcsp\"");
            const std::string path = WriteInput("missing-model.ppd", ppd);
            std::string error;
            EXPECT_TRUE(m_scheduler->AddQueue(c.queue, path, "", {}, &error)) << error;
            return Document("colour-pages.ps");
        }
        if (name == "DamagedSavedSettings") {
            // The user's saved settings for the queue: the right header, then garbage. The filter
            // falls back to the model's defaults.
            std::string error;
            EXPECT_TRUE(m_scheduler->AddQueue(c.queue, m_scheduler->InstalledPpd("GC7350.ppd"), "", {}, &error)) << error;
            const std::string dir = m_scheduler->Root() + orv::kConfDir + SubmittingUser();
            std::filesystem::create_directories(dir);
            std::string damaged("\x10\x00\x00\x00" "DEMK" "\x01\x00\x00\x00" "\xd0\x04\x00\x00", 16);
            for (int i = 0; i < 1232; ++i) {
                damaged.push_back(static_cast<char>((i * 151 + 7) & 0xFF));
            }
            WriteInput("damaged.dm", damaged);
            std::filesystem::copy_file(m_scheduler->ScratchPath("damaged.dm"), dir + "/" + c.queue + ".dm",
                                       std::filesystem::copy_options::overwrite_existing);
            *reference = Document("colour-pages.ps");
            return Document("colour-pages.ps");
        }
        ADD_FAILURE() << "no such case " << name;
        return std::string();
    }

    PrivateScheduler* m_scheduler = nullptr;
};

TEST_P(BadInput, FailsClearlyAndTheNextJobPrints)
{
    const BadCase& c = GetParam();
    std::vector<std::string> options;
    std::string reference;
    const std::string input = Prepare(c, &options, &reference);
    ASSERT_FALSE(input.empty());

    const PrintedJob job = PrintAndWait(c.queue, input, options, c.name);
    const bool completedWell = job.state == JobState::Completed && job.LooksPrinted();
    if (c.outcome == Outcome::Prints || (c.outcome == Outcome::EitherClean && completedWell)) {
        ASSERT_TRUE(completedWell) << job.Summary();
        ExpectPagesMatch(job, reference, kA4Width, kA4Height);
    } else if (job.id != 0) {
        // lp may refuse some inputs outright, which is a clear error too.
        EXPECT_FALSE(completedWell) << "a job that could not print looks like a good one\n" << job.Summary();
        EXPECT_TRUE(job.Logged('E', "")) << "no error in the log\n" << job.Summary();
    }

    // The scheduler is still there, and the next job on a sound queue prints.
    const PrintedJob next = PrintAndWait("gc", Document("probe.ps"));
    EXPECT_EQ(JobState::Completed, next.state) << next.Summary();
    EXPECT_EQ(1u, next.decoded.pages.size()) << next.Summary();
}

INSTANTIATE_TEST_SUITE_P(, BadInput,
                         ::testing::Values(BadCase{"EmptyFile", "gc", Outcome::Fails},
                                           BadCase{"TruncatedPostScript", "gc", Outcome::Fails},
                                           BadCase{"PostScriptErrorInPageTwo", "gc", Outcome::Fails},
                                           BadCase{"PdfGivenAsPostScript", "gc", Outcome::EitherClean},
                                           BadCase{"MissingModelData", "gcnomodel", Outcome::Fails},
                                           BadCase{"DamagedSavedSettings", "gcdamaged", Outcome::Prints}),
                         [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orve2e

// A secure-print job: the user's saved settings ask for secure print, so the job's printer stream
// goes into the secure-print spool under the user's and the queue's names instead of to the
// device, with its final name once it is complete.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/InstallPaths.h"
#include "core/dialog/DevmodeFile.h"
#include "core/model/SpcData.h"
#include "core/settings/DevModeService.h"
#include "e2e/E2eSupport.h"
#include "support/ScratchDir.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

namespace orve2e {
namespace {

TEST(SecurePrint, JobGoesIntoTheUsersSpoolDirectoryNotToThePrinter)
{
    ORV_REQUIRE_PRINTING_FILTER();
    std::string error;
    PrivateScheduler* scheduler = Scheduler(&error);
    ASSERT_NE(nullptr, scheduler) << error;
    ASSERT_TRUE(scheduler->AddQueue("gcsecure", scheduler->InstalledPpd("GC7350.ppd"), "", {}, &error)) << error;

    // The model's defaults with secure print asked for, saved for the submitting user.
    const std::string root = scheduler->Root();
    tagSPCDATA* model = SpcLoadFile((root + orv::kModelDataDir).c_str(), "GC7350.pcsp");
    ASSERT_NE(nullptr, model);
    DRVDEVMODE record {};
    record.dm.dmSize = sizeof(DEVMODE);
    record.dm.dmDriverExtra = sizeof(PRIVDM);
    ASSERT_EQ(0u, SpcDefaultDevmode(model, nullptr, &record, DEVMODE_SERVICE_DEFAULTS));
    std::free(model);
    record.priv.dmJobSpool = 6;
    // Saved as the settings program saves it, into the staged install the filter reads.
    const std::string user = SubmittingUser();
    {
        orvtest::ScopedInstallRoot packageRoot(root);
        ASSERT_EQ(0u, dwWriteDevmodeFile(user.c_str(), "gcsecure", &record));
    }

    const PrintedJob job = PrintAndWait("gcsecure", Document("colour-pages.ps"));
    ASSERT_EQ(JobState::Completed, job.state) << job.Summary();
    EXPECT_TRUE(job.decoded.pages.empty()) << "the printer itself gets no pages\n" << job.Summary();

    const std::string spool = root + orv::kSpoolDir + orv::kSecurePrintSubdir + user + "/gcsecure";
    std::vector<std::string> finished;
    ASSERT_TRUE(std::filesystem::is_directory(spool)) << spool << " was not made";
    for (const auto& entry : std::filesystem::directory_iterator(spool)) {
        const std::string name = entry.path().filename();
        EXPECT_EQ(".prn", entry.path().extension()) << name << " is left unfinished";
        finished.push_back(entry.path());
    }
    ASSERT_EQ(1u, finished.size());
    const std::string stream = ReadFileText(finished[0]);
    const orvdecode::DecodedStream decoded =
        orvdecode::DecodeStream(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
    ASSERT_TRUE(decoded.ok()) << decoded.error->message;
    PrintedJob spooled = job;
    spooled.stream = stream;
    spooled.decoded = decoded;
    ExpectPagesMatch(spooled, Document("colour-pages.ps"), kA4Width, kA4Height);
}

}  // namespace
}  // namespace orve2e

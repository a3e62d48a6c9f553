// A secure-print job: the user's saved settings ask for secure print, so the job's printer stream
// goes into the secure-print spool under the user's and the queue's names instead of to the
// device, with its final name once it is complete.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/InstallPaths.h"
#include "core/model/SpcData.h"
#include "core/settings/DevModeService.h"
#include "e2e/E2eSupport.h"
#include "tools/stream-decoder/lib/StreamDecoder.h"

namespace orve2e {
namespace {

// The saved-settings file as the settings program leaves it: a header of four little-endian
// words {16, "DEMK", 1, 1232} and the 1232-byte settings record.
std::string SavedSettingsFile(const DRVDEVMODE& record)
{
    std::string bytes;
    for (uint32_t word : {16u, 0x4B4D4544u, 1u, uint32_t(sizeof record)}) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<char>((word >> shift) & 0xFF));
        }
    }
    bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    return bytes;
}

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
    const std::string user = SubmittingUser();
    const std::string confDir = root + orv::kConfDir + user;
    std::filesystem::create_directories(confDir);
    const std::string settings = SavedSettingsFile(record);
    {
        std::FILE* file = std::fopen((confDir + "/gcsecure.dm").c_str(), "wb");
        ASSERT_NE(nullptr, file);
        ASSERT_EQ(settings.size(), std::fwrite(settings.data(), 1, settings.size(), file));
        std::fclose(file);
    }
    chmod((confDir + "/gcsecure.dm").c_str(), 0644);

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

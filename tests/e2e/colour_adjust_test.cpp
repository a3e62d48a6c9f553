// The colour adjustment dialog end to end: in the installed printer-setup, driven through its
// window on the private scheduler, the user opens Detail... on the Quality page, chooses RGB
// Balance, turns red up and saves. The next colour job prints the same patch with less cyan than
// a job printed before, the way the dialog's preview turned it redder.
#include "core/InstallPaths.h"
#include "core/dialog/DevmodeFile.h"
#include "e2e/E2eSupport.h"
#include "gui/dlgcoloradj/PreviewRender.h"
#include "support/ScratchDir.h"
#include "support/Xvfb.h"

#include <bitset>
#include <filesystem>

namespace orve2e {
namespace {

namespace fs = std::filesystem;

#ifdef ORV_SETUP_DRIVER_MODULE

// The patch of colour-patch.ps, as bytes.
constexpr BYTE kPatch[3] = {102, 153, 204};
constexpr SHORT kRed = 40;

// Dots printed on a plane of the page.
long Dots(const orvdecode::DecodedPage& page, int plane)
{
    long dots = 0;
    if (page.planes[plane]) {
        for (uint8_t byte : *page.planes[plane]) {
            dots += static_cast<long>(std::bitset<8>(byte).count());
        }
    }
    return dots;
}

// The patch as the dialog's preview shows it for the colour-control block.
void Preview(const CLRCTRL& sliders, BYTE out[3])
{
    const tagPREVIEWPICTURES pictures{kPatch, out, 1, 1, 3};
    ASSERT_TRUE(RenderColorPreview(sliders, pictures));
}

TEST(ColourAdjust, RedBalanceSavedInTheDialogPrintsLessCyanAsThePreviewShows)
{
    std::string error;
    PrivateScheduler* scheduler = Scheduler(&error);
    ASSERT_NE(scheduler, nullptr) << error;
    const std::string program = scheduler->Root() + orv::kUserProgramDir + "printer-setup";
    ASSERT_TRUE(fs::exists(program)) << "the install target installs " << program;
    ORV_REQUIRE_PRINTING_FILTER();
    orvtest::ScopedXvfb xvfb;
    ASSERT_TRUE(xvfb.Start(&error)) << error;

    // The preview's direction: red up, green and blue as they were.
    CLRCTRL neutral{};
    neutral.wType = 2;
    CLRCTRL redder = neutral;
    redder.sRed = kRed;
    BYTE shownNeutral[3] = {};
    BYTE shownRedder[3] = {};
    Preview(neutral, shownNeutral);
    Preview(redder, shownRedder);
    ASSERT_GT(shownRedder[0], shownNeutral[0] + 10);
    ASSERT_EQ(shownRedder[1], shownNeutral[1]);
    ASSERT_EQ(shownRedder[2], shownNeutral[2]);

    // Before any saved settings: the model's defaults, no adjustment.
    const PrintedJob before = PrintAndWait("gc", Document("colour-patch.ps"));
    ASSERT_EQ(JobState::Completed, before.state) << before.Summary();
    ASSERT_EQ(1u, before.decoded.pages.size()) << before.Summary();

    const std::string user = SubmittingUser();
    const std::string log = scheduler->ScratchPath("colour-adjust-drive.log");
    const RunResult run = orve2e::Run(
        {"timeout", "60", program},
        {"CUPS_SERVER=" + scheduler->Socket(), "ORVALEN_TEST_ROOT=" + scheduler->Root(), "DISPLAY=" + xvfb.Display(),
         "GTK_MODULES=" ORV_SETUP_DRIVER_MODULE, "LANG=C", "LOGNAME=" + user, "USER=" + user,
         "ORV_SETUP_DRIVE=select=gc;tab=Quality;open=Detail...;wait=500;tab=Adjustment;pick=RGB Balance;"
         "spin=Red:" + std::to_string(kRed) + ";dialog-ok;ok",
         "ORV_SETUP_DRIVE_LOG=" + log});
    const std::string drive = ReadFileText(log);
    ASSERT_EQ(run.status, 0) << run.output << "\n" << drive;
    EXPECT_EQ(drive.find("not found"), std::string::npos) << drive;
    EXPECT_EQ(drive.find("(no "), std::string::npos) << drive;
    EXPECT_EQ(drive.find("message:"), std::string::npos) << drive;

    DRVDEVMODE saved{};
    {
        orvtest::ScopedInstallRoot root(scheduler->Root());
        ASSERT_EQ(dwReadDevmodeFile(user.c_str(), "gc", &saved), 0u) << run.output;
    }
    EXPECT_EQ(saved.priv.dmClrCtrl.wType, 2);
    EXPECT_EQ(saved.priv.dmClrCtrl.sRed, kRed);

    const PrintedJob after = PrintAndWait("gc", Document("colour-patch.ps"));
    ASSERT_EQ(JobState::Completed, after.state) << after.Summary();
    ASSERT_EQ(1u, after.decoded.pages.size()) << after.Summary();
    const orvdecode::DecodedPage& plain = before.decoded.pages[0];
    const orvdecode::DecodedPage& adjusted = after.decoded.pages[0];
    ASSERT_TRUE(plain.IsColour());
    ASSERT_TRUE(adjusted.IsColour());
    ASSERT_EQ(plain.width, adjusted.width);
    ASSERT_EQ(plain.height, adjusted.height);

    // More red is less cyan; magenta and yellow, the inks of green and blue, barely move.
    const long cyanBefore = Dots(plain, 1);
    const long cyanAfter = Dots(adjusted, 1);
    ASSERT_GT(cyanBefore, 0);
    EXPECT_LT(cyanAfter, cyanBefore * 9 / 10) << cyanBefore << " -> " << cyanAfter;
    for (int plane : {2, 3}) {
        const long was = Dots(plain, plane);
        const long is = Dots(adjusted, plane);
        EXPECT_LT(std::abs(is - was), std::abs(cyanAfter - cyanBefore) / 2)
            << orvdecode::PlaneName(static_cast<uint16_t>(plane)) << ": " << was << " -> " << is;
    }
}

#else

TEST(ColourAdjust, RedBalanceSavedInTheDialogPrintsLessCyanAsThePreviewShows)
{
    GTEST_SKIP() << "the settings program is not built (no GTK 2)";
}

#endif

}  // namespace
}  // namespace orve2e

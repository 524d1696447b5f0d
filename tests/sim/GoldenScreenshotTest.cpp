// The demo's pictures against committed ones: the overlay over a WhatsApp message and the
// panel WhatsApp presents, as a person sees them. Fonts may differ by a shade from machine
// to machine, so a few slightly different pixels pass; a moved, missing or recoloured
// view does not. A failure leaves a diff beside the actual picture, and names them.

#include "sim/render/PictureComparison.h"
#include "sim/render/Screenshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

constexpr double DifferingShareAllowed = 0.005; // of all pixels

testing::AssertionResult looksLikeGolden(const std::filesystem::path& actualFile,
                                         const std::filesystem::path& goldenFile) {
    auto actual = sim::render::readPicture(actualFile.string());
    if (!actual)
        return testing::AssertionFailure() << "the demo wrote no picture: " << actual.error();
    auto golden = sim::render::readPicture(goldenFile.string());
    if (!golden)
        return testing::AssertionFailure()
               << golden.error() << "; if " << actualFile << " is right, copy it there";
    auto size = [](cairo_surface_t* picture) {
        return std::to_string(cairo_image_surface_get_width(picture)) + "x" +
               std::to_string(cairo_image_surface_get_height(picture));
    };
    if (size(actual->get()) != size(golden->get()))
        return testing::AssertionFailure()
               << actualFile << " is " << size(actual->get()) << " pixels, the golden " << goldenFile << " "
               << size(golden->get());
    auto difference = sim::render::comparePictures(actual->get(), golden->get());
    auto diffFile = std::filesystem::path(actualFile).replace_extension(".diff.png");
    if (difference.share() <= DifferingShareAllowed) {
        std::error_code ignored; // an earlier failure's diff would only mislead now
        std::filesystem::remove(diffFile, ignored);
        return testing::AssertionSuccess();
    }
    auto written = sim::writePicture(difference.diff.get(), diffFile.string());
    return testing::AssertionFailure()
           << difference.differing << " pixels (" << difference.share() * 100 << "%) of " << actualFile
           << " differ from " << goldenFile << " by more than " << sim::render::ChannelTolerance
           << " in a channel; "
           << (written ? "they are red in " + diffFile.string()
                       : "no diff could be written: " + written.error())
           << ". If the change is meant, copy the actual picture over the golden one.";
}

} // namespace

TEST(GoldenScreenshots, TheDemoDrawsTheOverlayThePanelSheetAndTheShareSheetAsCommitted) {
    // In the build tree, not a temporary folder: a failure's pictures stay to be looked at.
    const std::filesystem::path out = LEXORNA_GOLDEN_ACTUAL;
    std::string command = std::string(LEXORNA_SIM) + " demo --out " + out.string() + " >/dev/null";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

    const std::filesystem::path golden = LEXORNA_GOLDEN;
    EXPECT_TRUE(looksLikeGolden(out / "whatsapp-inline.png", golden / "whatsapp-inline.png"));
    EXPECT_TRUE(looksLikeGolden(out / "whatsapp-panel.png", golden / "whatsapp-panel.png"));
    EXPECT_TRUE(looksLikeGolden(out / "whatsapp-share.png", golden / "whatsapp-share.png"));
    // Colour emoji, Chinese, Japanese and Korean beside Latin text.
    EXPECT_TRUE(looksLikeGolden(out / "messages-inline.png", golden / "messages-inline.png"));
}

// The demo's pictures against committed ones: the overlay over a WhatsApp message and the
// panel WhatsApp presents, as a person sees them. Fonts may differ by a shade from machine
// to machine, so a few slightly different pixels pass; a moved, missing or recoloured
// view does not. A failure leaves the actual picture and a diff beside it, and names them.

#include "PngImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

constexpr int ChannelTolerance = 8;             // of 255, per channel
constexpr double DifferingShareAllowed = 0.005; // of all pixels

int channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

bool differs(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16, 24})
        if (std::abs(channel(a, shift) - channel(b, shift)) > ChannelTolerance)
            return true;
    return false;
}

// The actual picture faded to a ghost, with every pixel that differs in solid red.
PngImage diffImage(const PngImage& actual, const PngImage& golden) {
    PngImage diff = actual;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            std::uint32_t& pixel = diff.pixels[static_cast<std::size_t>(y) * actual.width + x];
            if (differs(actual.at(x, y), golden.at(x, y))) {
                pixel = 0xFFFF0000;
                continue;
            }
            int grey = (channel(pixel, 16) + channel(pixel, 8) + channel(pixel, 0)) / 3;
            auto faded = static_cast<std::uint32_t>(192 + grey / 4);
            pixel = 0xFF000000 | faded << 16 | faded << 8 | faded;
        }
    }
    return diff;
}

testing::AssertionResult looksLikeGolden(const std::filesystem::path& actualFile,
                                         const std::filesystem::path& goldenFile) {
    auto actual = PngImage::read(actualFile);
    if (!actual)
        return testing::AssertionFailure() << "the demo wrote no picture at " << actualFile;
    auto golden = PngImage::read(goldenFile);
    if (!golden)
        return testing::AssertionFailure() << "no golden picture at " << goldenFile << "; if " << actualFile
                                           << " is right, copy it there";
    if (actual->width != golden->width || actual->height != golden->height)
        return testing::AssertionFailure()
               << actualFile << " is " << actual->width << "x" << actual->height << " pixels, the golden "
               << goldenFile << " " << golden->width << "x" << golden->height;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < actual->pixels.size(); ++i)
        differing += differs(actual->pixels[i], golden->pixels[i]);
    const double share = static_cast<double>(differing) / static_cast<double>(actual->pixels.size());
    auto diffFile = std::filesystem::path(actualFile).replace_extension(".diff.png");
    if (share <= DifferingShareAllowed) {
        std::error_code ignored; // an earlier failure's diff would only mislead now
        std::filesystem::remove(diffFile, ignored);
        return testing::AssertionSuccess();
    }

    bool written = diffImage(*actual, *golden).write(diffFile);
    return testing::AssertionFailure()
           << differing << " pixels (" << share * 100 << "%) of " << actualFile << " differ from "
           << goldenFile << " by more than " << ChannelTolerance << " in a channel; "
           << (written ? "they are red in " + diffFile.string()
                       : "no diff could be written at " + diffFile.string())
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

// Images: PNG files at device paths, the system's image cache, and files that are missing
// or are not pictures.

#include "FileBytes.h"
#include "PngImage.h"
#include "TestDevice.h"

#include "uikit/UIImage.h"

#include "device/Device.h"
#include "device/Instruments.h"
#include "foundation/NSString.h"

#include <gtest/gtest.h>

#include <filesystem>

using objc::send;

namespace {

// A 3 by 2 picture: opaque red at the top left, half-transparent white at the bottom
// right, transparent elsewhere.
std::string writePng(const std::string& devicePath) {
    auto path = device::Device::resolve(devicePath);
    std::filesystem::create_directories(path.parent_path());
    EXPECT_TRUE((PngImage{3, 2, {0xFFFF0000, 0, 0, 0, 0, 0x80808080}}.write(path)));
    return devicePath;
}

UIImage* imageNamed(const std::string& path) {
    return send<UIImage*>(UIImage::staticClass(), "imageNamed:", NSString::make(path));
}

int opensOf(const std::string& path) {
    const auto& opens = device::Instruments::shared().fileOpens();
    auto it = opens.find(path);
    return it == opens.end() ? 0 : it->second;
}

} // namespace

TEST(UIImage, LoadsAPngAtItsPixelSizeWithItsBitmap) {
    objc::AutoreleasePool pool;
    std::string path = writePng("/Library/Application Support/Images.bundle/Share.png");
    UIImage* image = imageNamed(path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(send<CGSize>(image, "size"), (CGSize{3, 2}));
    EXPECT_EQ(send<double>(image, "scale"), 1);

    auto* bitmap = send<CGImage*>(image, "CGImage");
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(bitmap->width(), 3u);
    ASSERT_EQ(bitmap->height(), 2u);
    const auto& pixels = bitmap->pixels();
    EXPECT_EQ(pixels[0], 0xFFFF0000u) << "opaque red";
    EXPECT_EQ(pixels[1], 0x00000000u);
    std::uint32_t halfWhite = pixels[5];
    EXPECT_NEAR(halfWhite >> 24, 0x80, 1) << "half transparent";
    EXPECT_EQ((halfWhite >> 16) & 0xFF, halfWhite >> 24) << "premultiplied white";
}

TEST(UIImage, TheCacheOpensAFileOncePerProcessButEveryFailedAttemptAgain) {
    objc::AutoreleasePool pool;
    std::string path = writePng("/var/mobile/cache-test.png");
    UIImage* first = imageNamed(path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(imageNamed(path), first);
    EXPECT_EQ(opensOf(path), 1);

    const std::string missing = "/Library/Application Support/Missing.bundle/Share.png";
    EXPECT_EQ(imageNamed(missing), nullptr);
    EXPECT_EQ(imageNamed(missing), nullptr);
    EXPECT_EQ(opensOf(missing), 2) << "failures are not cached";
    writePng(missing);
    EXPECT_NE(imageNamed(missing), nullptr) << "a file that appears later loads";
}

TEST(UIImage, FileThatIsNotAReadablePngGivesNil) {
    objc::AutoreleasePool pool;
    putDeviceFile("/var/mobile/text.png", "this is not a picture");
    EXPECT_EQ(imageNamed("/var/mobile/text.png"), nullptr);

    std::string bytes = contentsOf(device::Device::resolve(writePng("/var/mobile/whole.png")));
    ASSERT_GT(bytes.size(), 24u);
    putDeviceFile("/var/mobile/truncated.png", bytes.substr(0, bytes.size() / 2));
    EXPECT_EQ(imageNamed("/var/mobile/truncated.png"), nullptr);

    // A header that claims a picture far larger than a phone could hold is refused
    // before anything is decoded.
    std::string huge = bytes;
    huge.replace(16, 8, std::string("\x00\x01\x00\x00\x00\x01\x00\x00", 8));
    putDeviceFile("/var/mobile/huge.png", huge);
    EXPECT_EQ(imageNamed("/var/mobile/huge.png"), nullptr);

    std::filesystem::create_directories(device::Device::resolve("/var/mobile/folder.png"));
    EXPECT_EQ(imageNamed("/var/mobile/folder.png"), nullptr);
    EXPECT_EQ(imageNamed("Share.png"), nullptr) << "apps here have no bundle resources";
    EXPECT_EQ(send<id>(UIImage::staticClass(), "imageNamed:", nullptr), nullptr);
}

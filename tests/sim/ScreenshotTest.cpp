// Screenshots, probed pixel by pixel where a drawing fault would show: rounded and
// square corners, clipping, hidden views, where text lands, and pictures from PNG files;
// the file holds every pixel as drawn; assertScreenshot against saved pictures.
// Presentations are drawn into the committed golden pictures.

#include "PngImage.h"
#include "Simulator.h"
#include "TemporaryFolder.h"

#include "sim/render/Screenshot.h"

#include "device/Device.h"
#include "objc/Autorelease.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

namespace {

constexpr double Scale = 2;

struct Pixel {
    int red, green, blue;
    bool operator==(const Pixel&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pixel& pixel) {
    return out << "rgb(" << pixel.red << ", " << pixel.green << ", " << pixel.blue << ")";
}

constexpr Pixel White{255, 255, 255};
constexpr Pixel Red{255, 0, 0};
constexpr Pixel Blue{0, 0, 255};
constexpr Pixel Green{0, 255, 0};

// A written screenshot, read back for probing at points (not pixels).
struct Picture {
    PngImage image;

    Pixel at(double x, double y) const {
        return pixel(static_cast<int>(x * Scale), static_cast<int>(y * Scale));
    }
    Pixel pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= image.width || y >= image.height)
            return {-1, -1, -1}; // no such pixel, or no picture
        std::uint32_t argb = image.at(x, y);
        return {static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF),
                static_cast<int>(argb & 0xFF)};
    }

    // The bounds, in points, of every pixel darker than mid grey.
    std::optional<CGRect> darkBounds() const {
        int minX = image.width, minY = image.height, maxX = -1, maxY = -1;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (Pixel p = pixel(x, y); p.red + p.green + p.blue < 3 * 128) {
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        if (maxX < 0)
            return std::nullopt;
        return CGRectMake(minX / Scale, minY / Scale, (maxX + 1 - minX) / Scale, (maxY + 1 - minY) / Scale);
    }
};

UIColor* color(const Pixel& pixel) {
    return UIColor::colorWithRed(pixel.red / 255.0, pixel.green / 255.0, pixel.blue / 255.0, 1);
}

UIView* coloredView(CGRect frame, const Pixel& pixel) {
    UIView* view = UIView::make(frame);
    view->setBackgroundColor(color(pixel));
    return view;
}

class ScreenshotTest : public testing::Test {
protected:
    void SetUp() override { window_ = makeWindow(); }

    UIWindow* makeWindow() {
        UIWindow* window = UIWindow::make(CGRectMake(0, 0, 100, 100));
        window->setBackgroundColor(color(White));
        return window;
    }

    // The window drawn at 2x and read back.
    std::unique_ptr<Picture> shoot(UIWindow* window, const char* name = "shot.png") {
        std::string error;
        EXPECT_TRUE(sim::renderScreenshot(window, (folder_.path() / name).string(), Scale, &error)) << error;
        auto image = PngImage::read(folder_.path() / name);
        EXPECT_TRUE(image);
        return std::make_unique<Picture>(Picture{image.value_or(PngImage{})});
    }

    objc::AutoreleasePool pool_;
    TemporaryFolder folder_;
    UIWindow* window_ = nullptr;
};

} // namespace

TEST_F(ScreenshotTest, RoundsOnlyTheMaskedCornersAndDrawsAtTheScale) {
    UIView* card = coloredView(CGRectMake(10, 10, 60, 60), Blue);
    card->layer()->setCornerRadius(20);
    card->layer()->setMaskedCorners(1 | 2); // the top corners
    window_->addSubview(card);

    auto picture = shoot(window_);
    EXPECT_EQ(picture->image.width, 200);
    EXPECT_EQ(picture->image.height, 200);
    EXPECT_EQ(picture->at(11, 11), White);
    EXPECT_EQ(picture->at(68, 11), White);
    EXPECT_EQ(picture->at(11, 68), Blue);
    EXPECT_EQ(picture->at(68, 68), Blue);
}

TEST_F(ScreenshotTest, ClipsSubviewsOnlyWhenTheParentClips) {
    UIWindow* unclipped = makeWindow();
    for (UIWindow* window : {window_, unclipped}) {
        UIView* parent = coloredView(CGRectMake(10, 10, 40, 40), Blue);
        parent->addSubview(coloredView(CGRectMake(20, 20, 60, 60), Red));
        parent->setClipsToBounds(window == window_);
        window->addSubview(parent);
    }

    auto clipped = shoot(window_, "clipped.png");
    EXPECT_EQ(clipped->at(45, 45), Red);
    EXPECT_EQ(clipped->at(70, 70), White);
    EXPECT_EQ(shoot(unclipped, "unclipped.png")->at(70, 70), Red);
}

TEST_F(ScreenshotTest, LeavesOutHiddenTransparentAndUnplacedViews) {
    UIView* hidden = coloredView(CGRectMake(0, 0, 30, 30), Red);
    hidden->setHidden(true);
    hidden->addSubview(coloredView(CGRectMake(0, 0, 10, 10), Blue));
    UIView* transparent = coloredView(CGRectMake(30, 30, 30, 30), Red);
    transparent->setAlpha(0);
    UIView* unplaced = coloredView(CGRectNull, Red);
    unplaced->addSubview(coloredView(CGRectMake(70, 70, 10, 10), Blue));
    UIView* nowhere = coloredView(CGRectMake(std::nan(""), 0, 100, 100), Red);
    for (UIView* view : {hidden, transparent, unplaced, nowhere})
        window_->addSubview(view);

    auto picture = shoot(window_);
    for (CGPoint point : {CGPoint{5, 5}, CGPoint{15, 15}, CGPoint{45, 45}, CGPoint{75, 75}})
        EXPECT_EQ(picture->at(point.x, point.y), White) << point.x << ", " << point.y;
}

TEST_F(ScreenshotTest, DrawsLabelTextInsideItsFrameAsAligned) {
    UILabel* centred = UILabel::make(CGRectMake(10, 30, 80, 40));
    centred->setText(NSString::make("Hello"));
    centred->setFont(UIFont::systemFontOfSize(14));
    centred->setTextAlignment(NSTextAlignmentCenter);
    window_->addSubview(centred);

    auto text = shoot(window_)->darkBounds();
    ASSERT_TRUE(text);
    EXPECT_GE(text->minX(), 10);
    EXPECT_LE(text->maxX(), 90);
    EXPECT_GE(text->minY(), 30);
    EXPECT_LE(text->maxY(), 70);
    EXPECT_NEAR(text->midX(), 50, 3);
    EXPECT_NEAR(text->midY(), 50, 4);
    // Point size in points: five letters of a 14-point font are about 35 points wide.
    EXPECT_NEAR(text->size.width, 35, 8);
}

TEST_F(ScreenshotTest, ShadesATextViewsSelectionOnly) {
    UITextView* textView = UITextView::make(CGRectMake(0, 0, 100, 40));
    textView->setText(NSString::make("MMM MMM"));
    textView->setFont(UIFont::systemFontOfSize(10));
    window_->addSubview(textView);
    textView->setSelectedRange(NSMakeRange(4, 3));

    auto picture = shoot(window_);
    auto bluish = [&](double fromX, double toX) {
        int count = 0;
        for (double x = fromX; x < toX; x += 0.5)
            for (double y = 8; y < 20; y += 0.5)
                if (Pixel p = picture->at(x, y); p.blue > p.red + 20)
                    ++count;
        return count;
    };
    // Ten-point capitals: the first word lies about 5 to 31 points in, the second 34 to 60.
    EXPECT_EQ(bluish(5, 30), 0) << "the first word is not selected";
    EXPECT_GT(bluish(37, 57), 50) << "the second word is";
}

TEST_F(ScreenshotTest, StartsRightToLeftTextAtTheRightEdge) {
    UILabel* label = UILabel::make(CGRectMake(0, 40, 100, 20));
    label->setText(NSString::make("שלום"));
    label->setFont(UIFont::systemFontOfSize(12));
    window_->addSubview(label);

    auto text = shoot(window_)->darkBounds();
    ASSERT_TRUE(text);
    EXPECT_GT(text->minX(), 50);
}

TEST_F(ScreenshotTest, ShowsAnImageViewsPicture) {
    device::Device::setRoot(folder_.path());
    ASSERT_TRUE(
        (PngImage{4, 4, std::vector<std::uint32_t>(16, 0xFF0080FF)}.write(folder_.path() / "picture.png")));

    UIImageView* imageView = UIImageView::make(UIImage::imageNamed("/picture.png"));
    ASSERT_TRUE(imageView->image());
    imageView->setFrame(CGRectMake(20, 20, 60, 60));
    window_->addSubview(imageView);

    auto picture = shoot(window_);
    EXPECT_EQ(picture->at(21, 21), (Pixel{0, 128, 255}));
    EXPECT_EQ(picture->at(50, 50), (Pixel{0, 128, 255}));
    EXPECT_EQ(picture->at(85, 85), White);
}

TEST_F(ScreenshotTest, ReportsWhatItCannotDrawAndNeverWritesThroughALink) {
    std::string error;
    EXPECT_FALSE(
        sim::renderScreenshot(window_, (folder_.path() / "missing" / "shot.png").string(), Scale, &error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    EXPECT_FALSE(sim::renderScreenshot(window_, (folder_.path() / "zero.png").string(), 0, &error));
    EXPECT_FALSE(sim::renderScreenshot(nullptr, (folder_.path() / "none.png").string(), Scale, &error));
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "zero.png"));

    // A link of its name is replaced, not written through.
    TemporaryFolder elsewhere;
    elsewhere.write("precious", "keep");
    std::filesystem::create_symlink(elsewhere.path() / "precious", folder_.path() / "linked.png");
    EXPECT_TRUE(sim::renderScreenshot(window_, (folder_.path() / "linked.png").string(), Scale, &error))
        << error;
    EXPECT_EQ(elsewhere.read("precious"), "keep");
    EXPECT_TRUE(
        std::filesystem::is_regular_file(std::filesystem::symlink_status(folder_.path() / "linked.png")));
}

TEST_F(ScreenshotTest, WritesEveryPixelAsDrawn) {
    // Anti-aliased corners and text, a selection, a translucent view: many shades.
    UIView* card = coloredView(CGRectMake(5, 5, 90, 50), Blue);
    card->layer()->setCornerRadius(13);
    card->setAlpha(0.6);
    window_->addSubview(card);
    UITextView* textView = UITextView::make(CGRectMake(0, 50, 100, 50));
    textView->setText(NSString::make("Pixel for pixel, 12 Harbour Street"));
    textView->setSelectedRange(NSMakeRange(6, 3));
    window_->addSubview(textView);

    auto drawn = sim::drawScreen(window_, Scale);
    ASSERT_TRUE(drawn) << drawn.error();
    const auto file = folder_.path() / "drawn.png";
    auto written = sim::writePicture(drawn->get(), file.string());
    ASSERT_TRUE(written) << written.error();
    // Read back by libpng, through cairo, not by the writer's own code.
    auto image = PngImage::read(file);
    ASSERT_TRUE(image);
    cairo_surface_t* surface = drawn->get();
    ASSERT_EQ(image->width, cairo_image_surface_get_width(surface));
    ASSERT_EQ(image->height, cairo_image_surface_get_height(surface));
    std::size_t differing = 0;
    for (int y = 0; y < image->height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                                 y * cairo_image_surface_get_stride(surface));
        for (int x = 0; x < image->width; ++x)
            differing += (row[x] & 0xFFFFFF) != (image->at(x, y) & 0xFFFFFF);
    }
    EXPECT_EQ(differing, 0u);
}

// The overlay's corners, rounded by 7 points, squared off in its saved picture: filled
// with the overlay's own colour.
void squareTheCorners(const std::filesystem::path& file) {
    auto image = PngImage::read(file);
    ASSERT_TRUE(image);
    const int corner = static_cast<int>(7 * Scale);
    const std::uint32_t fill = image->at(2, image->height / 2);
    for (int y = 0; y < corner; ++y)
        for (int x = 0; x < corner; ++x)
            for (auto [px, py] : {std::pair{x, y},
                                  {image->width - 1 - x, y},
                                  {x, image->height - 1 - y},
                                  {image->width - 1 - x, image->height - 1 - y}})
                image->pixels[static_cast<std::size_t>(py) * image->width + px] = fill;
    ASSERT_TRUE(image->write(file));
}

TEST(AssertScreenshot, WritesThePictureFirstPassesOnItFailsOnASquareCornerAndUpdates) {
    // The flow and its pictures in the simulator's own temporary folder, never the source tree.
    Simulator simulator;
    const auto& folder = simulator.folder();
    folder.write("flow.yaml", R"(app: whatsapp
settings:
  values: {Aw: true, WhatsApp: true}
content:
  messages: ["Are we still on for tonight?", "Yes! Table for four at 8"]
---
- launch
- assertScreenshot: chat
- doubleTapOn: {id: message-2}
- assertScreenshot: {name: overlay, in: {class: UITextView}}
)");
    const auto saved = folder.path() / "overlay.png";
    auto run = [&](const std::string& arguments = "") { return simulator.runFlows("flow.yaml", arguments); };
    auto overlayStep = [](const Simulated& outcome) { return outcome.launch()["steps"][3]; };

    auto first = run();
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_NE(first.out.find("wrote chat.png"), std::string::npos) << first.out;
    EXPECT_EQ(overlayStep(first)["wrote"], "overlay.png");
    const std::string rounded = contentsOf(saved);
    // A picture of the overlay alone: 2x its frame, not the screen.
    auto written = PngImage::read(saved);
    ASSERT_TRUE(written);
    EXPECT_LT(written->width, 390 * Scale);

    auto same = run();
    EXPECT_EQ(same.status, 0) << same.out;
    EXPECT_EQ(same.out.find("wrote"), std::string::npos) << same.out;
    EXPECT_FALSE(overlayStep(same).contains("wrote"));

    squareTheCorners(saved);
    auto squared = run();
    EXPECT_EQ(squared.status, 1);
    const Json step = overlayStep(squared);
    EXPECT_FALSE(step["ok"].get<bool>());
    EXPECT_NE(step.value("error", "").find("differ from overlay.png"), std::string::npos) << step;
    for (const char* kind : {"expected", "actual", "diff"}) {
        const std::string picture = step["pictures"][kind].get<std::string>();
        EXPECT_EQ(picture, std::string("overlay-") + kind + ".png");
        EXPECT_TRUE(PngImage::read(folder.path() / picture)) << picture;
        EXPECT_NE(folder.read("report.html").find("src=\"" + picture + "\""), std::string::npos) << picture;
    }
    EXPECT_EQ(folder.read("overlay-expected.png"), contentsOf(saved));

    auto updated = run("--update-screenshots");
    EXPECT_EQ(updated.status, 0) << updated.out;
    EXPECT_EQ(overlayStep(updated)["wrote"], "overlay.png");
    EXPECT_EQ(contentsOf(saved), rounded);
}

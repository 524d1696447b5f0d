#include "sim/play/ScreenshotAssertion.h"
#include "sim/play/Selectors.h"
#include "sim/render/PictureComparison.h"
#include "sim/render/Screenshot.h"
#include "sim/report/OutputFile.h"

#include "uikit/UIWindow.h"

#include <cstdio>
#include <fstream>

namespace sim {

namespace {

std::string percent(double share) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f%%", share * 100);
    return text;
}

std::string sizeText(cairo_surface_t* picture) {
    return std::to_string(cairo_image_surface_get_width(picture)) + "x" +
           std::to_string(cairo_image_surface_get_height(picture));
}

// The saved picture as it is, beside the others, so that the output folder shows what
// was compared.
support::Expected<void, std::string> copyFile(const std::string& from, const std::filesystem::path& to) {
    std::ifstream in(from, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return support::Unexpected("cannot read " + from);
    return writeOutputFile(to, bytes);
}

} // namespace

StepResult assertScreenshot(const Step& step, UIWindow* window, const SessionContext& context) {
    const std::string name(step.name());
    const auto& expectation = std::get<ScreenshotExpectation>(step.argument);
    std::optional<CGRect> area;
    if (expectation.in) {
        auto view = findShownView(window, *expectation.in);
        if (!view)
            return StepResult::failed(name, view.error());
        area = (*view)->frameInWindow();
    }
    auto actual = drawScreen(window, context.scale, area);
    if (!actual)
        return StepResult::failed(name, actual.error());

    std::error_code error;
    if (context.updateScreenshots || !std::filesystem::exists(expectation.saved, error)) {
        if (auto written = writePicture(actual->get(), expectation.saved); !written)
            return StepResult::failed(name, written.error());
        StepResult result = StepResult::passed(name);
        result.wrote = expectation.saved;
        return result;
    }
    auto expected = render::readPicture(expectation.saved);
    if (!expected)
        return StepResult::failed(name, expected.error() + " (--update-screenshots writes it anew)");

    const std::string what = expectation.in ? "the view" : "the screen";
    std::optional<render::PictureDifference> difference;
    std::string why;
    if (sizeText(actual->get()) != sizeText(expected->get())) {
        why = what + " is " + sizeText(actual->get()) + " pixels, " + expectation.saved + " " +
              sizeText(expected->get()) + " (saved at another --scale or screen size?)";
    } else {
        difference = render::comparePictures(actual->get(), expected->get());
        if (difference->share() <= expectation.tolerance)
            return StepResult::passed(name);
        why = std::to_string(difference->differing) + " of " + std::to_string(difference->pixels) +
              " pixels (" + percent(difference->share()) + ") of " + what + " differ from " +
              expectation.saved + " by more than " + std::to_string(render::ChannelTolerance) +
              " of 255 in a channel, " + percent(expectation.tolerance) + " may";
    }

    ComparedPictures pictures{expectation.name + "-expected.png", expectation.name + "-actual.png",
                              std::nullopt};
    const auto& out = context.outputFolder;
    std::filesystem::create_directories(out, error);
    auto written = copyFile(expectation.saved, out / pictures.expected);
    if (written)
        written = writePicture(actual->get(), (out / pictures.actual).string());
    if (written && difference) {
        pictures.diff = expectation.name + "-diff.png";
        written = writePicture(difference->diff.get(), (out / *pictures.diff).string());
    }
    if (!written)
        return StepResult::failed(name, why + "; " + written.error());
    StepResult result =
        StepResult::failed(name, why + "; see " + pictures.expected + ", " + pictures.actual +
                                     (pictures.diff ? " and " + *pictures.diff : "") + " in " + out.string());
    result.pictures = std::move(pictures);
    return result;
}

} // namespace sim

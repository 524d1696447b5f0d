#include "sim/play/AppSession.h"
#include "sim/play/Assertions.h"
#include "sim/play/PresentationLog.h"
#include "sim/play/ScreenshotAssertion.h"
#include "sim/play/TouchSteps.h"
#include "sim/render/Screenshot.h"
#include "sim/report/ViewTreeJson.h"

#include "apps/App.h"
#include "apps/AppLaunch.h"
#include "apps/HostDrift.h"
#include "device/Device.h"
#include "device/Instruments.h"
#include "objc/Autorelease.h"
#include "substrate/Loader.h"
#include "uikit/LayoutPass.h"
#include "uikit/UIApplication.h"
#include "uikit/UIPasteboard.h"
#include "uikit/UIWindow.h"

namespace sim {

namespace {

// The dynamic loader names files by their host paths; the device's own names them as
// the device does.
std::string onDevice(std::string text) {
    const std::string root = device::Device::root().string() + "/";
    for (std::size_t at = 0; (at = text.find(root, at)) != std::string::npos; ++at)
        text.replace(at, root.size(), "/");
    return text;
}

} // namespace

support::Expected<void, std::string> AppSession::launch(const Flow& flow) {
    if (auto system = LaunchSession::launch(flow); !system)
        return system;
    const apps::AppDescription* app = apps::findApp(flow.app);
    if (!app)
        return support::Unexpected("no simulated app has the bundle identifier " + flow.app);

    UIScreen::setMainScreenSize({flow.screen.width, flow.screen.height});
    if (auto registered = apps::registerAppClasses(*app, flow.content); !registered)
        return registered;
    substrate::LoadResult load = substrate::loadInjectedLibraries();
    loaded_ = load.loaded;
    for (const auto& failure : load.failures)
        device::Instruments::shared().log("MobileSubstrate: cannot load " + failure.path + ": " +
                                          onDevice(failure.reason));
    // A filter left behind by a library that is not installed only costs a line in the
    // log, as on a device; Lexorna installed and not loading cannot play the flow.
    if (flow.install && !load.failures.empty())
        return support::Unexpected("the loader could not load " + load.failures.front().path + ": " +
                                   onDevice(load.failures.front().reason));
    PresentationLog::shared(); // the report names who presented, from the app's first presentation on
    apps::startApp(*app, flow.content);
    endRunLoopTurn();
    return {};
}

StepResult AppSession::run(const Step& step) {
    StepResult result = [&] {
        objc::AutoreleasePool pool;
        return play(step);
    }();
    endRunLoopTurn();
    return result;
}

StepResult AppSession::play(const Step& step) {
    UIWindow* window = keyWindow();
    switch (step.kind) {
    case StepKind::Layout:
        layoutEverything(window);
        return StepResult::passed(std::string(step.name()));
    case StepKind::TapOn:
    case StepKind::DoubleTapOn:
    case StepKind::LongPressOn:
        return playTouchStep(step, window);
    case StepKind::SelectText:
    case StepKind::Copy:
    case StepKind::InputText:
        return text_.play(step, window);
    case StepKind::AssertVisible:
    case StepKind::AssertNotVisible:
    case StepKind::AssertPasteboard:
    case StepKind::AssertPresented:
    case StepKind::AssertNotPresented:
        return playAssertion(step, window);
    case StepKind::AssertScreenshot:
        return assertScreenshot(step, window, context());
    case StepKind::TakeScreenshot:
        return takeScreenshot(step, window);
    default:
        return LaunchSession::run(step);
    }
}

StepResult AppSession::takeScreenshot(const Step& step, UIWindow* window) {
    std::string name(step.name());
    std::error_code error;
    std::filesystem::create_directories(context().outputFolder, error);
    if (error)
        return StepResult::failed(name, "cannot make the output folder " + context().outputFolder.string() +
                                            ": " + error.message());
    std::string why;
    auto file = context().outputFolder / (step.text() + ".png");
    if (!renderScreenshot(window, file.string(), context().scale, &why))
        return StepResult::failed(name, why);
    return StepResult::passed(name);
}

std::optional<std::string> AppSession::screenshotAtFailure(const Step& step) {
    UIWindow* window = keyWindow();
    std::error_code error;
    if (!window || (std::filesystem::create_directories(context().outputFolder, error), error))
        return std::nullopt;
    std::string name = std::filesystem::path(flow().file).stem().string() + "-line-" +
                       std::to_string(step.line) + "-failed.png";
    if (!renderScreenshot(window, (context().outputFolder / name).string(), context().scale, nullptr))
        return std::nullopt;
    return name;
}

void AppSession::endRunLoopTurn() {
    objc::AutoreleasePool pool;
    layoutIfNeeded(keyWindow());
}

UIWindow* AppSession::keyWindow() const {
    return UIApplication::sharedApplication()->keyWindow();
}

Json AppSession::snapshot(const std::string& label) {
    Json json = LaunchSession::snapshot(label);
    objc::AutoreleasePool pool;
    UIWindow* window = keyWindow();
    json["window"] = windowJson(window);
    json["presented"] = presentedJson(window);
    NSString* pasteboard = UIPasteboard::generalPasteboard()->string();
    json["pasteboard"] = pasteboard ? Json(pasteboard->utf8()) : Json();
    return json;
}

Json AppSession::finish() {
    Json json = LaunchSession::finish();
    json["loaded"] = loaded_;
    return json;
}

} // namespace sim

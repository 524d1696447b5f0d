#include "sim/play/DeviceSteps.h"
#include "sim/play/DevicePaths.h"
#include "sim/play/DevicePreparation.h"

#include "device/Device.h"
#include "device/Files.h"

namespace sim {

namespace {

// Bigger files are not what a flow compares against a text.
constexpr std::size_t MaxComparedBytes = 16 << 20;

std::string shownText(const std::string& text) {
    constexpr std::size_t shown = 200;
    std::string json = jsonText(Json(text.size() > shown ? text.substr(0, shown) : text));
    return text.size() > shown ? json + "…" : json;
}

StepResult assertFile(const Step& step, const FileExpectation& expected, const std::string& home) {
    // The simulator looks at the disk as an observer: its reads are not the app's file
    // opens, so they bypass the instruments. A link is looked at, never followed.
    const std::string devicePath = devicePathIn(expected.path, home);
    auto kind = device::entryKind(devicePath);
    // Named as the flow names it, and where it lies on this machine.
    auto fail = [&](std::string why) {
        return StepResult::failed(std::string(step.name()), expected.path + " (" +
                                                                device::Device::resolve(devicePath).string() +
                                                                ") " + why);
    };
    if (!kind)
        return fail("cannot be looked at: " + kind.error().reason);
    bool exists = *kind != device::EntryKind::Missing;

    if (!expected.text) {
        if (exists != expected.exists)
            return fail(exists ? "exists" : "does not exist");
        return StepResult::passed(std::string(step.name()));
    }
    if (!exists)
        return fail("does not exist");
    if (*kind != device::EntryKind::File)
        return fail(*kind == device::EntryKind::Link ? "is a symbolic link, not a file" : "is not a file");
    auto text = device::readFileUnrecorded(devicePath, MaxComparedBytes);
    if (!text)
        return fail(text.error().reason == "file too large" ? "is larger than any expected text"
                                                            : "cannot be read: " + text.error().reason);
    if (*text != *expected.text)
        return fail("holds " + shownText(*text) + ", expected " + shownText(*expected.text));
    return StepResult::passed(std::string(step.name()));
}

} // namespace

std::string devicePathIn(const std::string& path, const std::string& home) {
    if (path == "~")
        return home;
    if (path.starts_with("~/"))
        return home + path.substr(1);
    return path;
}

std::optional<StepResult> playDeviceStep(const Step& step, const std::string& home) {
    switch (step.kind) {
    case StepKind::SetSettings: {
        auto written = replaceDeviceFile(SettingsPath, step.text());
        if (!written)
            return StepResult::failed(std::string(step.name()), written.error());
        return StepResult::passed(std::string(step.name()));
    }
    case StepKind::AssertFile:
        return assertFile(step, std::get<FileExpectation>(step.argument), home);
    default:
        return std::nullopt;
    }
}

} // namespace sim

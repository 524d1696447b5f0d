#include "DeviceSteps.h"
#include "DevicePaths.h"
#include "DevicePreparation.h"

#include "device/Device.h"

#include <fstream>

namespace sim {

namespace {

// Bigger files are not what a flow compares against a text.
constexpr std::uintmax_t MaxComparedBytes = 16 << 20;

std::string shownText(const std::string& text) {
    constexpr std::size_t shown = 200;
    std::string json = jsonText(Json(text.size() > shown ? text.substr(0, shown) : text));
    return text.size() > shown ? json + "…" : json;
}

std::string devicePathIn(const std::string& path, const std::string& home) {
    if (path == "~")
        return home;
    if (path.starts_with("~/"))
        return home + path.substr(1);
    return path;
}

StepResult assertFile(const Step& step, const FileExpectation& expected, const std::string& home) {
    // The simulator looks at the disk as an observer: its reads are not the app's file
    // opens, so they bypass the instruments.
    auto path = device::Device::resolve(devicePathIn(expected.path, home));
    std::error_code error;
    auto status = std::filesystem::symlink_status(path, error);
    bool exists = std::filesystem::exists(status);
    auto fail = [&](std::string why) {
        return StepResult::failed(std::string(step.name()), expected.path + " " + why);
    };

    if (!expected.text) {
        if (exists != expected.exists)
            return fail(exists ? "exists" : "does not exist");
        return StepResult::passed(std::string(step.name()));
    }
    if (!exists)
        return fail("does not exist");
    if (!std::filesystem::is_regular_file(status))
        return fail("is not a file");
    if (std::filesystem::file_size(path, error) > MaxComparedBytes)
        return fail("is larger than any expected text");
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof())
        return fail("cannot be read");
    if (text != *expected.text)
        return fail("holds " + shownText(text) + ", expected " + shownText(*expected.text));
    return StepResult::passed(std::string(step.name()));
}

} // namespace

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

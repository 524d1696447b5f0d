#include "sim/play/LaunchSession.h"
#include "sim/play/DeviceSteps.h"

#include "device/Device.h"
#include "device/Files.h"
#include "device/Instruments.h"
#include "foundation/NSBundle.h"
#include "foundation/NSPathUtilities.h"
#include "foundation/SystemVersion.h"

#include <map>

namespace sim {

namespace {

// Larger files show only their size in a snapshot.
constexpr std::size_t MaxShownBytes = 64 << 10;

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// Every file in the app's home directory, as "~/Library/Lexorna": its size, and its
// text when it is small UTF-8.
Json homeFiles(const std::string& home) {
    std::map<std::string, Json> files; // sorted, so snapshots compare across runs
    // A home reached through a link lies off the device, where nothing is written either:
    // the entry at its path must be the folder itself, with no link above it.
    if (auto kind = device::entryKind(home); !kind || *kind != device::EntryKind::Folder)
        return Json::object();
    auto root = device::Device::resolve(home);
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        // A link is not a file of the app's: what it points to may lie off the device.
        if (!std::filesystem::is_regular_file(it->symlink_status(error)))
            continue;
        std::string relative = it->path().lexically_relative(root).generic_string();
        auto size = it->file_size(error);
        Json utf8 = nullptr;
        if (size <= MaxShownBytes)
            if (auto text = device::readFileUnrecorded(home + "/" + relative, MaxShownBytes);
                text && isValidUtf8(*text))
                utf8 = std::move(*text);
        files["~/" + relative] = {{"size", size}, {"utf8", utf8}};
    }
    Json out = Json::object();
    for (auto& [path, file] : files)
        out[path] = std::move(file);
    return out;
}

Json runtimeCallJson(const device::RuntimeCall& call) {
    Json json = {{"call", call.call}};
    json["class"] = call.className ? Json(*call.className) : Json();
    json["selector"] = call.selector;
    if (call.types)
        json["types"] = *call.types;
    // An addition answers YES or NO; a hook tells what it found.
    if (call.result == "true" || call.result == "false")
        json["result"] = call.result == "true";
    else
        json["result"] = call.result;
    return json;
}

} // namespace

support::Expected<void, std::string> LaunchSession::launch(const Flow& flow) {
    flow_ = &flow;
    device::Device::setRoot(context_.deviceRoot);
    NSBundle::setMainBundleIdentifier(flow.app);
    home_ = device::containerPath(flow.app);
    // The container and its folders are made at the app's first launch, as installing the
    // app makes them; a later launch finds them as the app, or a test, left them.
    auto container = device::entryKind(home_);
    if (!container)
        return support::Unexpected("cannot look at the app's container: " + container.error().reason);
    if (*container == device::EntryKind::Missing)
        for (const char* folder : {"Library", "Documents", "tmp"})
            if (auto made = device::makeFolders(home_ + "/" + folder); !made)
                return support::Unexpected("cannot make the app's " + std::string(folder) +
                                           " folder: " + made.error().reason);
    device::DeviceFaults faults = flow.faults;
    for (auto& folder : faults.readOnly)
        folder = devicePathIn(folder, home_);
    device::Device::setFaults(std::move(faults));
    setHomeDirectory(home_);
    setRunningSystemVersion(OperatingSystemVersion::parse(flow.ios));
    return {};
}

std::optional<std::string> LaunchSession::screenshotAtFailure(const Step&) {
    return std::nullopt;
}

StepResult LaunchSession::run(const Step& step) {
    if (auto result = playDeviceStep(step, home_))
        return *result;
    if (step.kind == StepKind::Dump) {
        snapshots_.push_back(snapshot(step.text()));
        return StepResult::passed(std::string(step.name()));
    }
    return StepResult::failed(std::string(step.name()), "not available yet");
}

Json LaunchSession::snapshot(const std::string& label) {
    return {{"label", label},
            {"window", nullptr},
            {"presented", Json::array()},
            {"pasteboard", nullptr},
            {"files", homeFiles(home_)}};
}

Json LaunchSession::finish() {
    const auto& instruments = device::Instruments::shared();
    Json runtime = Json::array();
    for (const auto& call : instruments.runtimeCalls())
        runtime.push_back(runtimeCallJson(call));
    Json fileOpens = Json::object();
    for (const auto& [path, count] : instruments.fileOpens())
        fileOpens[path] = count;
    return {{"bundleId", flow_ ? flow_->app : ""},
            {"home", home_},
            {"loaded", Json::array()},
            {"runtime", std::move(runtime)},
            {"fileOpens", std::move(fileOpens)},
            {"log", instruments.logLines()},
            {"crash", nullptr},
            {"snapshots", snapshots_}};
}

} // namespace sim

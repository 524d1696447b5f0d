#include "sim/cli/Prefs.h"
#include "sim/flow/PaneSwitches.h"
#include "sim/play/DevicePaths.h"
#include "sim/play/DevicePreparation.h"
#include "sim/report/PropertyListJson.h"

#include "device/Device.h"
#include "device/Files.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

#include <charconv>
#include <regex>

namespace sim {

using support::Unexpected;

namespace {

struct SettingsFile {
    objc::Ref<NSMutableDictionary> values; // empty when there is no file
    PropertyListFormat format = PropertyListFormat::Xml;
};

// The settings file as the device names it, and where it lies on this machine.
std::string settingsFileName() {
    return std::string(SettingsPath) + " (" + device::Device::resolve(SettingsPath).string() + ")";
}

support::Expected<SettingsFile, std::string> loadSettings() {
    SettingsFile file;
    file.values = NSMutableDictionary::make();
    if (auto kind = device::entryKind(SettingsPath); kind && *kind == device::EntryKind::Missing)
        return file;
    PropertyListLimits limits;
    auto bytes = device::readFile(SettingsPath, limits.maxBytes);
    if (!bytes)
        return support::Unexpected(settingsFileName() + ": " + bytes.error().reason);
    auto* root = objc::dynCast<NSDictionary>(propertyListFromBytes(*bytes, limits));
    if (!root)
        return support::Unexpected(
            settingsFileName() +
            ": not a property list with a dictionary at its root (remove it to start afresh)");
    for (const auto& [key, value] : *root)
        file.values->setObjectForKey(value.get(), key.get());
    if (bytes->starts_with("bplist"))
        file.format = PropertyListFormat::Binary;
    return file;
}

support::Expected<void, std::string> saveSettings(id values, PropertyListFormat format) {
    std::string bytes = serializePropertyList(values, format);
    if (bytes.empty())
        return support::Unexpected(std::string("the settings have no property-list form"));
    // A host reads a larger file as no settings at all, every switch off.
    if (std::size_t bound = PropertyListLimits{}.maxBytes; bytes.size() > bound)
        return support::Unexpected("the settings would take " + std::to_string(bytes.size()) +
                                   " bytes, more than the " + std::to_string(bound) + " a host reads");
    return replaceDeviceFile(SettingsPath, bytes);
}

} // namespace

id settingValueFromArgument(std::string_view text) {
    static const std::regex integer("[-+]?[0-9]+");
    static const std::regex real("[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][-+]?[0-9]+)?");
    if (text == "true" || text == "false")
        return NSNumber::numberWithBool(text == "true");
    std::string digits(text.starts_with('+') ? text.substr(1) : text);
    if (std::regex_match(std::string(text), integer)) {
        long long value = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error == std::errc() && end == digits.data() + digits.size())
            return NSNumber::numberWithLongLong(value);
    }
    if (std::regex_match(std::string(text), real)) {
        double value = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error == std::errc() && end == digits.data() + digits.size())
            return NSNumber::numberWithDouble(value);
    }
    if (text.size() >= 2 &&
        ((text.front() == '"' && text.back() == '"') || (text.front() == '\'' && text.back() == '\'')))
        return NSString::make(text.substr(1, text.size() - 2));
    return NSString::make(text);
}

support::Expected<objc::Ref<objc::Object>, std::string> settingValueFor(std::string_view key,
                                                                        std::string_view text) {
    if (!isPaneSwitch(key))
        return objc::Ref<objc::Object>(settingValueFromArgument(text));
    auto on = switchValueFromText(text);
    if (!on)
        return support::Unexpected(std::string(key) + " is a switch of the settings pane: expected yes or no, " +
                                   "true or false, 1 or 0, not `" + std::string(text) + "`");
    return objc::Ref<objc::Object>(NSNumber::numberWithBool(*on));
}

support::Expected<objc::Ref<objc::Object>, std::string> readSetting(std::string_view key) {
    auto file = loadSettings();
    if (!file)
        return support::Unexpected(file.error());
    return objc::Ref<objc::Object>(file->values->objectForKey(key));
}

support::Expected<void, std::string> writeSetting(std::string_view key, id value, PropertyListFormat format) {
    auto file = loadSettings();
    if (!file)
        return support::Unexpected(file.error());
    file->values->setObjectForKey(value, NSString::make(key));
    return saveSettings(file->values.get(), format);
}

support::Expected<void, std::string> removeSetting(std::string_view key) {
    auto file = loadSettings();
    if (!file)
        return support::Unexpected(file.error());
    if (!file->values->objectForKey(key))
        return {};
    std::vector<NSDictionary::Entry> kept;
    for (const auto& entry : *file->values)
        if (utf8Of(entry.first.get()) != key)
            kept.push_back(entry);
    return saveSettings(NSDictionary::make(std::move(kept)), file->format);
}

std::string settingText(id value) {
    if (auto* string = objc::dynCast<NSString>(value))
        return string->utf8();
    return jsonText(jsonFromPropertyList(value));
}

} // namespace sim

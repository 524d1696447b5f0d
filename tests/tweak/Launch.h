#pragma once

// One launch of a simulated host app with Lexorna, in a child process of its own: the
// child registers the app's classes, maps the library in, starts the app, and checks
// what an observer of the process saw.

#include "BinaryPlist.h"
#include "device/Instruments.h"
#include "uikit/UIView.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launch {

inline constexpr const char* WhatsAppId = "net.whatsapp.WhatsApp";
inline constexpr const char* InstagramId = "com.burbn.instagram";
inline constexpr const char* SettingsPath = "/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist";
inline constexpr const char* FilterPath = "/Library/MobileSubstrate/DynamicLibraries/Lexorna.plist";

// A property list in XML around `body`, such as "<dict><key>Aw</key><true/></dict>".
std::string xmlPlist(std::string_view body);
// A settings file with these keys set to true.
std::string settingsWithTrue(std::initializer_list<const char*> keys);
// A filter list whose "Filter"/"Bundles" holds these identifiers.
std::string filterListing(std::initializer_list<const char*> bundles);

struct Setup {
    std::optional<std::string> settings; // bytes of the settings file
    std::optional<std::string> filter;   // bytes of the filter list
    std::optional<std::string> bundleIdentifier = WhatsAppId;
    const char* app = "whatsapp";      // whose classes are registered and started; nil: none
    std::string content = "{}";        // what its screens show, as a flow's `content` in JSON
    std::function<void()> prepareHost; // more host changes, before the mark
};

struct Observed {
    std::vector<device::RuntimeCall> calls;
    std::map<std::string, int, std::less<>> fileOpens;
    std::vector<std::string> log;
    bool exportsBundleCheck = false;
    std::string crash;

    int opens(const std::string& path) const {
        auto it = fileOpens.find(path);
        return it == fileOpens.end() ? 0 : it->second;
    }
};

// Launches in a forked child on a fresh device: writes the device files, sets the bundle
// identifier, registers the app's classes, maps the library, starts the app, then runs
// `check` there on what was observed. The child's failures fail the calling test.
void inLaunch(const Setup& setup, const std::function<void(const Observed&)>& check);

// The first view of that runtime class in the tree, the view itself included, or nil.
inline UIView* findViewOfClass(UIView* view, const char* className) {
    if (view->isa()->name == className)
        return view;
    for (const auto& subview : view->subviews())
        if (UIView* match = findViewOfClass(subview.get(), className))
            return match;
    return nullptr;
}

} // namespace launch

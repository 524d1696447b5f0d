#pragma once

#include <span>
#include <string>
#include <string_view>

namespace sim {

// A simulated host app, as flows name it and as `lexorna-sim apps` lists it.
struct AppInfo {
    std::string_view name;     // what a flow's `app` says: "whatsapp"
    std::string_view bundleId; // "net.whatsapp.WhatsApp"
    std::string_view root;     // the root controller's chain
    std::string_view screen;   // the views that show the content, with their ids
    std::string_view text;     // where the host keeps each item's text
};

// The five apps, in the order the library takes its host groups.
std::span<const AppInfo> simulatedApps();

// The app a flow names, by name or bundle identifier; nothing for another app.
const AppInfo* findApp(std::string_view nameOrBundleId);

// "whatsapp, youtube, ..." for messages.
std::string appNames();

} // namespace sim

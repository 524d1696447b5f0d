#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

class UIViewController;

namespace apps {

// One property the library asks on its way from the triggering view to the text, and
// the class whose instances answer it (a host class, or a system one such as
// NSAttributedString).
struct TextChainLink {
    std::string owner;
    std::string property;
};

// One simulated host app: who it is, what it shows, and how it starts. An app knows
// only the platform; it registers its classes under the names the real app uses and
// builds its screen from the flow's `content`.
struct AppDescription {
    std::string name;                      // short name used by flows, e.g. "whatsapp"
    std::string bundleIdentifier;          // e.g. "net.whatsapp.WhatsApp"
    std::string screen;                    // what the one screen shows, for people
    std::vector<std::string> viewIds;      // accessibility identifiers; "N" stands for 1, 2, ...
    std::vector<std::string> hostClasses;  // the runtime classes the app registers
    std::vector<TextChainLink> textChain;  // from the triggering view to the text
    std::string chatController;            // the controller whose view shows the messages
    std::vector<std::string> contentLists; // the lists of `content` it shows, such as "messages"
    // Registers the host classes in the runtime; running it again changes nothing.
    void (*registerClasses)();
    // The window's root controller, built from the flow's content (the classes must be
    // registered first).
    UIViewController* (*makeRootViewController)(const nlohmann::json& content);
};

// Keys of `content` that every app reads, besides its own lists: what the root presents
// (a list of controller classes) and how its classes drifted (see HostDrift).
inline constexpr const char* RootPresentsKey = "rootPresents";
inline constexpr const char* DriftKey = "drift";

const std::vector<AppDescription>& allApps();
// By short name (any letter case) or by exact bundle identifier; nil when unknown.
const AppDescription* findApp(std::string_view nameOrBundleIdentifier);

} // namespace apps

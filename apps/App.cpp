#include "App.h"
#include "HostApps.h"

#include <algorithm>
#include <cctype>

namespace apps {

const std::vector<AppDescription>& allApps() {
    static const std::vector<AppDescription> list{whatsAppDescription(), youTubeDescription(),
                                                  twitterDescription(), instagramDescription(),
                                                  messagesDescription()};
    return list;
}

const AppDescription* findApp(std::string_view nameOrBundleIdentifier) {
    auto sameName = [&](const std::string& name) {
        return std::ranges::equal(name, nameOrBundleIdentifier, [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    for (const auto& app : allApps())
        if (sameName(app.name) || app.bundleIdentifier == nameOrBundleIdentifier)
            return &app;
    return nullptr;
}

} // namespace apps

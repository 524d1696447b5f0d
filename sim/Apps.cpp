#include "Apps.h"

#include "apps/App.h"

namespace sim {

namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items)
        out += (out.empty() ? "" : ", ") + item;
    return out;
}

} // namespace

std::string appNames() {
    std::vector<std::string> names;
    for (const auto& app : apps::allApps())
        names.push_back(app.name);
    return joined(names);
}

void printApps(std::ostream& out) {
    constexpr std::size_t NameColumn = 11;
    for (const auto& app : apps::allApps()) {
        out << app.name << std::string(NameColumn - std::min(app.name.size(), NameColumn - 1), ' ')
            << app.bundleIdentifier << '\n'
            << "           screen:  " << app.screen << '\n'
            << "           views:   " << joined(app.viewIds) << " (N = 1, 2, ...)\n"
            << "           classes: " << joined(app.hostClasses) << '\n';
    }
}

} // namespace sim

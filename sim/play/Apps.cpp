#include "sim/play/Apps.h"

#include "apps/App.h"

namespace sim {

namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items)
        out += (out.empty() ? "" : ", ") + item;
    return out;
}

// What Lexorna, once installed, answers in each app: its gesture on an item and what
// takes the inline overlay away. The apps themselves know nothing of Lexorna.
std::string_view lexornaGesture(const std::string& app) {
    static const std::pair<std::string_view, std::string_view> gestures[] = {
        {"whatsapp", "double tap on a message; a double tap on the chat dismisses"},
        {"youtube", "double tap on a comment; the engagement panel's close button dismisses"},
        {"twitter", "single tap on a message; a double tap on the conversation dismisses"},
        {"instagram", "long press (0.4 s) on a comment; the overlay's \"X\" dismisses"},
        {"messages", "single tap on a balloon; a double tap on the transcript dismisses"},
    };
    for (auto [name, gesture] : gestures)
        if (name == app)
            return gesture;
    return "none";
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
            << "           classes: " << joined(app.hostClasses) << '\n'
            << "           lexorna: " << lexornaGesture(app.name) << '\n';
    }
}

} // namespace sim

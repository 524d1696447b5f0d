#include "HostDrift.h"

#include <algorithm>

namespace apps {

namespace {

using nlohmann::json;
using support::Unexpected;

std::optional<HostDrift>& driftStorage() {
    static std::optional<HostDrift> drift;
    return drift;
}

std::string linkNames(const AppDescription& app) {
    std::string names;
    for (std::size_t i = 0; i < app.textChain.size(); ++i)
        names += (i ? ", " : "") + std::to_string(i + 1) + " " + app.textChain[i].property;
    return names;
}

bool isHostClass(const AppDescription& app, const std::string& name) {
    return std::ranges::find(app.hostClasses, name) != app.hostClasses.end();
}

} // namespace

support::Expected<std::optional<HostDrift>, std::string> driftOf(const AppDescription& app,
                                                                 const json& content) {
    auto found = content.is_object() ? content.find(DriftKey) : content.end();
    if (!content.is_object() || found == content.end())
        return std::optional<HostDrift>();
    const json& drift = *found;
    std::string usage = "content.drift: expected {link: N, answers: missing|nil|number} (links of " +
                        app.name + ": " + linkNames(app) + ") or {view: nil}";
    if (drift.is_object() && drift.size() == 1 && drift.contains("view") && drift["view"].is_null())
        return std::optional<HostDrift>(HostDrift{app.chatController, "view", DriftAnswer::Nil});
    if (!drift.is_object() || drift.size() != 2 || !drift.contains("link") || !drift.contains("answers") ||
        !drift["link"].is_number_integer() || !drift["answers"].is_string())
        return support::Unexpected(usage);

    long long link = drift["link"].get<long long>();
    if (link < 1 || static_cast<std::size_t>(link) > app.textChain.size())
        return support::Unexpected("content.drift: " + app.name + " has no link " + std::to_string(link) +
                                   " (links: " + linkNames(app) + ")");
    const TextChainLink& chosen = app.textChain[static_cast<std::size_t>(link) - 1];
    if (!isHostClass(app, chosen.owner))
        return support::Unexpected("content.drift: link " + std::to_string(link) + " of " + app.name +
                                   " is " + chosen.owner + "'s " + chosen.property +
                                   ", a system class that an app update does not change");

    static const std::pair<const char*, DriftAnswer> answers[] = {
        {"missing", DriftAnswer::Missing}, {"nil", DriftAnswer::Nil}, {"number", DriftAnswer::Number}};
    for (const auto& [name, answer] : answers)
        if (drift["answers"] == name)
            return std::optional<HostDrift>(HostDrift{chosen.owner, chosen.property, answer});
    return support::Unexpected(usage);
}

void setHostDrift(std::optional<HostDrift> drift) {
    driftStorage() = std::move(drift);
}

const std::optional<HostDrift>& hostDrift() {
    return driftStorage();
}

support::Expected<void, std::string> registerAppClasses(const AppDescription& app, const json& content) {
    auto drift = driftOf(app, content);
    if (!drift)
        return support::Unexpected(drift.error());
    setHostDrift(*drift);
    app.registerClasses();
    return {};
}

} // namespace apps

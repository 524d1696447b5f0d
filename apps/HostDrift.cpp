#include "HostDrift.h"
#include "HostClass.h"

#include "objc/Runtime.h"

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

// The ancestor of the class whose own method answers the property, when the class
// answers it without a getter of its own; nothing when it does not answer it.
std::optional<std::string> inheritedFrom(Class cls, const std::string& property) {
    SEL getter = sel_registerName(property.c_str());
    const objc::Method* method = class_getInstanceMethod(cls, getter);
    if (!method)
        return std::nullopt;
    Class declaring = cls;
    while (Class above = class_getSuperclass(declaring))
        if (class_getInstanceMethod(above, getter) == method)
            declaring = above;
        else
            break;
    return std::string(class_getName(declaring));
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
    // A property the host class inherits from UIKit stays while the superclass does: an
    // update could drop it only with a different superclass, an app this one is not.
    if (const auto& shipped = *drift; shipped && shipped->answer == DriftAnswer::Missing)
        if (auto from = inheritedFrom(hostClass(shipped->className.c_str()), shipped->property))
            return support::Unexpected("content.drift: " + shipped->className + " inherits " +
                                       shipped->property + " from " + *from +
                                       ", so an update that keeps its superclass cannot " +
                                       "take it away; use answers: nil or number for this link");
    return {};
}

} // namespace apps

#pragma once

#include "App.h"

#include "support/Expected.h"

#include <optional>
#include <string>

namespace apps {

// A host class as an app update may ship it: one property of the text chain gone,
// answering nil, or answering a number where an object of another kind was; or the chat
// controller's `view` answering nil. Only the message the library sends changes; the
// app's own code keeps reaching its storage directly, as compiled code does.
enum class DriftAnswer { Missing, Nil, Number };

struct HostDrift {
    std::string className;
    std::string property;
    DriftAnswer answer = DriftAnswer::Nil;
};

// The drift that a flow's `content.drift` asks of an app: `{link: N, answers:
// missing|nil|number}` for the app's text chain, or `{view: nil}`. Nothing when the
// content has none; an error that names what may drift when it cannot be shipped.
support::Expected<std::optional<HostDrift>, std::string> driftOf(const AppDescription& app,
                                                                 const nlohmann::json& content);

// The process's one drift, which declareHostClass applies as it declares the class.
// Set before the app registers its classes.
void setHostDrift(std::optional<HostDrift> drift);
const std::optional<HostDrift>& hostDrift();

// Registers the app's classes as the flow's content ships them; an error when the drift
// asks for what the classes cannot ship, such as an inherited property gone.
support::Expected<void, std::string> registerAppClasses(const AppDescription& app,
                                                        const nlohmann::json& content);

} // namespace apps

#pragma once

#include <ostream>
#include <string>

namespace sim {

// The simulated apps come from the apps' own registry (apps::allApps), so that what
// flows may name and what `lexorna-sim apps` lists are what the apps are.

// "whatsapp, youtube, ..." for messages.
std::string appNames();

// `lexorna-sim apps`: each app's name and bundle identifier, what its screen shows, its
// view identifiers and the host classes it registers.
void printApps(std::ostream& out);

} // namespace sim

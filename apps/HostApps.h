#pragma once

#include "App.h"

// The five apps, each defined in its own file.
namespace apps {

AppDescription whatsAppDescription();
AppDescription youTubeDescription();
AppDescription twitterDescription();
AppDescription instagramDescription();
AppDescription messagesDescription();

} // namespace apps

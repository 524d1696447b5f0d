#pragma once

#include "App.h"

class UIWindow;

namespace apps {

// Starts an app as the system does once its process runs: the key window over the
// whole screen, the app's root controller in it, the controllers that
// `content.rootPresents` names presented one over the other, then the first layout
// pass. The app's classes must be registered before (the loader maps injected
// libraries in between).
//
// Each name in `rootPresents` is a view controller class: one the process already has,
// or else a plain subclass of UIViewController registered under that name. A name
// that is not a string, or that names a class of another kind, raises
// NSInvalidArgumentException, as presenting such an object would.
UIWindow* startApp(const AppDescription& app, const nlohmann::json& content);

} // namespace apps

#include "panel/LexornaViewController.h"
#include "ui/VDManager.h"

namespace {

// The library's own classes exist as soon as it is loaded, whatever the settings say, as
// the runtime registers an image's classes before its initializers run; this runs before
// the load-time constructor that installs the hooks.
[[gnu::constructor(101)]] void registerLibraryClasses() {
    VDManagerClass();
    LexornaViewControllerClass();
}

} // namespace

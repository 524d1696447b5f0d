#pragma once

#include "NSObject.h"

#include <optional>
#include <string>

// The running app's bundle. The system sets the main bundle's identifier when it
// launches the app, before any of the app's code runs.
class NSBundle : public NSObject {
    OBJC_NATIVE_CLASS(NSBundle) : NSObject(isa) {}

    static NSBundle* mainBundle();
    // The launching system's side: nothing for a process without a bundle identifier.
    static void setMainBundleIdentifier(std::optional<std::string> identifier);

    const std::optional<std::string>& bundleIdentifier() const { return identifier_; }

private:
    std::optional<std::string> identifier_;
};

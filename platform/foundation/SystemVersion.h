#pragma once

#include <string>
#include <string_view>

// The running system's version ("14.4"), set by the system before the app starts.
struct OperatingSystemVersion {
    long majorVersion = 14;
    long minorVersion = 4;
    long patchVersion = 0;

    static OperatingSystemVersion parse(std::string_view text);
    std::string text() const;
};

const OperatingSystemVersion& runningSystemVersion();
void setRunningSystemVersion(OperatingSystemVersion version);
// What `@available(iOS major.minor, *)` tests.
bool isOperatingSystemAtLeast(long major, long minor);

#include "SystemVersion.h"

#include <charconv>

namespace {
OperatingSystemVersion& versionStorage() {
    static OperatingSystemVersion version;
    return version;
}
} // namespace

OperatingSystemVersion OperatingSystemVersion::parse(std::string_view text) {
    OperatingSystemVersion version{0, 0, 0};
    long* parts[] = {&version.majorVersion, &version.minorVersion, &version.patchVersion};
    std::size_t position = 0;
    for (long* part : parts) {
        if (position >= text.size())
            break;
        auto [end, error] = std::from_chars(text.data() + position, text.data() + text.size(), *part);
        if (error != std::errc())
            break;
        position = static_cast<std::size_t>(end - text.data());
        if (position < text.size() && text[position] == '.')
            ++position;
        else
            break;
    }
    return version;
}

std::string OperatingSystemVersion::text() const {
    std::string out = std::to_string(majorVersion) + "." + std::to_string(minorVersion);
    if (patchVersion)
        out += "." + std::to_string(patchVersion);
    return out;
}

const OperatingSystemVersion& runningSystemVersion() {
    return versionStorage();
}
void setRunningSystemVersion(OperatingSystemVersion version) {
    versionStorage() = version;
}

bool isOperatingSystemAtLeast(long major, long minor) {
    const auto& v = versionStorage();
    return v.majorVersion > major || (v.majorVersion == major && v.minorVersion >= minor);
}

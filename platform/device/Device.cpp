#include "Device.h"

#include <algorithm>
#include <cstdint>
#include <iomanip>
#include <sstream>

namespace device {

namespace {
// Until the simulator sets a root, device paths lead to a folder that does not exist, so
// a process that forgot to set one can never read, write or remove the machine's own
// files.
std::filesystem::path& rootStorage() {
    static auto* root = new std::filesystem::path("/nonexistent/lexorna-device-root-unset");
    return *root;
}
} // namespace

void Device::setRoot(std::filesystem::path root) {
    rootStorage() = std::move(root);
}
const std::filesystem::path& Device::root() {
    return rootStorage();
}

void Device::resolveInto(std::string& out, std::string_view devicePath) {
    // Normalised lexically inside the device, so ".." can never leave the root. Built as
    // one string, without std::filesystem's parts: every settings read resolves its path.
    out = root().native();
    // Joined as std::filesystem's operator/ joins a relative path to the root.
    if (!out.empty() && out.back() != '/')
        out += '/';
    const std::size_t base = out.size();
    for (std::size_t at = 0; at <= devicePath.size();) {
        std::size_t end = std::min(devicePath.find('/', at), devicePath.size());
        std::string_view part = devicePath.substr(at, end - at);
        at = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            // Back to the separator before the last part, or to the root.
            std::size_t cut = out.size() > base ? out.rfind('/', out.size() - 1) : base;
            out.resize(cut == std::string::npos || cut < base ? base : cut);
            continue;
        }
        if (out.size() > base)
            out += '/';
        out += part;
    }
}

std::filesystem::path Device::resolve(std::string_view devicePath) {
    std::string out;
    resolveInto(out, devicePath);
    return out;
}

std::optional<std::string> Device::devicePathOf(const std::filesystem::path& hostPath) {
    auto relative = hostPath.lexically_normal().lexically_relative(root().lexically_normal());
    if (relative.empty() || *relative.begin() == "..")
        return std::nullopt;
    if (relative == ".")
        return "/";
    return "/" + relative.generic_string();
}

namespace {
// FNV-1a: the same container name for the same app on every machine and every run.
std::uint64_t fnv1a(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}
} // namespace

std::string containerPath(const std::string& bundleIdentifier) {
    // A stable identifier per app, shaped like the UUIDs iOS gives containers.
    std::uint64_t h1 = fnv1a(bundleIdentifier);
    std::uint64_t h2 = fnv1a(bundleIdentifier + "#container");
    std::ostringstream uuid;
    uuid << std::hex << std::uppercase << std::setfill('0') << std::setw(8) << (h1 >> 32) << '-'
         << std::setw(4) << ((h1 >> 16) & 0xffff) << '-' << std::setw(4) << (h1 & 0xffff) << '-'
         << std::setw(4) << (h2 >> 48) << '-' << std::setw(12) << (h2 & 0xffffffffffffULL);
    return std::string(ContainersFolder) + "/" + uuid.str();
}

} // namespace device

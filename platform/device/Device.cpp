#include "Device.h"
#include "FileDescriptor.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <iomanip>
#include <linux/openat2.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/syscall.h>

namespace device {

namespace {

struct RootState {
    // Until the simulator sets a root, device paths lead to a folder that does not exist,
    // so a process that forgot to set one can never read, write or remove the machine's
    // own files.
    std::filesystem::path path = "/nonexistent/lexorna-device-root-unset";
    // The root opened once: every settings read opens a file beneath it.
    std::atomic<int> folder{-1};
    DeviceFaults faults;
    std::vector<std::string> readOnly; // normalised
};

RootState& state() {
    static auto* root = new RootState;
    return *root;
}

int rootFolder() {
    auto& root = state();
    int folder = root.folder.load(std::memory_order_acquire);
    if (folder >= 0)
        return folder;
    int opened = ::open(root.path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (opened < 0)
        return -1;
    int expected = -1;
    if (root.folder.compare_exchange_strong(expected, opened, std::memory_order_acq_rel))
        return opened;
    ::close(opened);
    return expected;
}

// Kernels before 5.6, and sandboxes that filter the call, answer these.
bool openat2Missing(int error) {
    return error == ENOSYS || error == EPERM;
}

} // namespace

void Device::setRoot(std::filesystem::path root) {
    auto& current = state();
    current.path = std::move(root);
    int folder = current.folder.exchange(-1, std::memory_order_acq_rel);
    if (folder >= 0)
        ::close(folder);
}

const std::filesystem::path& Device::root() {
    return state().path;
}

void Device::relativeInto(std::string& out, std::string_view devicePath) {
    // Normalised lexically inside the device, so ".." can never leave the root. Built as
    // one string, without std::filesystem's parts: every settings read normalises its path.
    out.clear();
    for (std::size_t at = 0; at <= devicePath.size();) {
        std::size_t end = std::min(devicePath.find('/', at), devicePath.size());
        std::string_view part = devicePath.substr(at, end - at);
        at = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            std::size_t cut = out.rfind('/');
            out.resize(cut == std::string::npos ? 0 : cut);
            continue;
        }
        if (!out.empty())
            out += '/';
        out += part;
    }
}

std::filesystem::path Device::resolve(std::string_view devicePath) {
    std::string relative;
    relativeInto(relative, devicePath);
    return root() / relative;
}

std::optional<std::string> Device::devicePathOf(const std::filesystem::path& hostPath) {
    auto relative = hostPath.lexically_normal().lexically_relative(root().lexically_normal());
    if (relative.empty() || *relative.begin() == "..")
        return std::nullopt;
    if (relative == ".")
        return "/";
    return "/" + relative.generic_string();
}

int Device::openBeneath(std::string_view devicePath, int flags, mode_t mode) {
    static std::atomic<bool> withoutOpenat2{false};
    if (withoutOpenat2.load(std::memory_order_relaxed))
        return openBeneathByWalking(devicePath, flags, mode);
    thread_local std::string relative; // a buffer, filled anew for every open
    relativeInto(relative, devicePath);
    int root = rootFolder();
    if (root < 0)
        return -1;
    open_how how{};
    how.flags = static_cast<std::uint64_t>(flags | O_CLOEXEC);
    how.mode = (flags & (O_CREAT | O_TMPFILE)) ? mode : 0;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS;
    long fd = ::syscall(SYS_openat2, root, relative.empty() ? "." : relative.c_str(), &how, sizeof how);
    if (fd < 0 && openat2Missing(errno)) {
        withoutOpenat2.store(true, std::memory_order_relaxed);
        return openBeneathByWalking(devicePath, flags, mode);
    }
    return static_cast<int>(fd);
}

int Device::openBeneathByWalking(std::string_view devicePath, int flags, mode_t mode) {
    std::string relative;
    relativeInto(relative, devicePath);
    int root = rootFolder();
    if (root < 0)
        return -1;
    if (relative.empty())
        return ::openat(root, ".", flags | O_CLOEXEC, mode);
    FileDescriptor folder;
    std::size_t at = 0;
    for (std::size_t slash; (slash = relative.find('/', at)) != std::string::npos; at = slash + 1) {
        std::string part = relative.substr(at, slash - at);
        int at = folder.isOpen() ? folder.get() : root;
        int next = ::openat(at, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            // O_DIRECTORY meets a link first and answers ENOTDIR; openat2 calls it ELOOP.
            struct stat info {};
            if (errno == ENOTDIR && ::fstatat(at, part.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISLNK(info.st_mode))
                errno = ELOOP;
            return -1;
        }
        folder = FileDescriptor(next);
    }
    int end = flags | O_CLOEXEC;
    // At the end a link is refused too, unless the caller asked for the link itself.
    if ((flags & (O_PATH | O_NOFOLLOW)) != (O_PATH | O_NOFOLLOW))
        end |= O_NOFOLLOW;
    return ::openat(folder.isOpen() ? folder.get() : root, relative.c_str() + at, end, mode);
}

void Device::setFaults(DeviceFaults faults) {
    auto& current = state();
    current.readOnly.clear();
    for (const auto& folder : faults.readOnly) {
        std::string relative;
        relativeInto(relative, folder);
        current.readOnly.push_back(std::move(relative));
    }
    current.faults = std::move(faults);
}

int Device::refusedChange(std::string_view relativeFolder, bool adds) {
    const auto& current = state();
    for (const auto& folder : current.readOnly)
        if (folder.empty() ||
            (relativeFolder.substr(0, folder.size()) == folder &&
             (relativeFolder.size() == folder.size() || relativeFolder[folder.size()] == '/')))
            return EROFS;
    return adds && current.faults.diskFull ? ENOSPC : 0;
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

#include "InjectedCode.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <map>
#include <vector>

namespace device {

namespace {

struct InjectedLibrary {
    std::string file; // as the loader hands it to dlopen, which is how dladdr names it
    std::string name;
};

std::vector<InjectedLibrary>& injected() {
    static std::vector<InjectedLibrary> libraries;
    return libraries;
}

const void* platformBase() {
    static const void* base = [] {
        Dl_info info{};
        dladdr(reinterpret_cast<const void*>(&injectedCaller), &info);
        return info.dli_fbase;
    }();
    return base;
}

// The injected library an image is, by its base address; nullptr for any other image.
const InjectedLibrary* libraryAt(const Dl_info& info) {
    static std::map<const void*, const InjectedLibrary*> known;
    if (auto it = known.find(info.dli_fbase); it != known.end())
        return it->second;
    const InjectedLibrary* found = nullptr;
    for (const auto& library : injected())
        if (info.dli_fname && library.file == info.dli_fname)
            found = &library;
    // Only a verdict on a library is kept: one not yet loaded may take a freed base later.
    if (found)
        known.emplace(info.dli_fbase, found);
    return found;
}

} // namespace

void addInjectedLibrary(const std::filesystem::path& file, std::string name) {
    injected().push_back({file.string(), std::move(name)});
}

std::string injectedCaller() {
    if (injected().empty())
        return {};
    void* frames[64];
    int count = backtrace(frames, 64);
    // The stack starts in whatever walks it (libc, or a sanitizer that intercepts the
    // walk), then in the platform; the first frame after the platform's decides.
    bool inPlatform = false;
    for (int i = 0; i < count; ++i) {
        Dl_info info{};
        if (!dladdr(frames[i], &info))
            return {};
        if (info.dli_fbase == platformBase()) {
            inPlatform = true;
            continue;
        }
        if (!inPlatform)
            continue;
        const InjectedLibrary* library = libraryAt(info);
        return library ? library->name : std::string();
    }
    return {};
}

} // namespace device

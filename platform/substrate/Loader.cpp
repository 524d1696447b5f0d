#include "Loader.h"
#include "RuntimeRecording.h"

#include "device/Device.h"
#include "device/Instruments.h"
#include "foundation/NSArray.h"
#include "foundation/NSBundle.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"
#include "objc/Autorelease.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace substrate {

namespace {

namespace fs = std::filesystem;

// The filter is read straight from the disk, not through device::readFile: the
// instruments count the opens of the process once it runs (the app and the libraries
// in it), and the loader's own look at each filter would blur what a library reads by
// itself, such as the same filter file.
std::optional<std::string> readFilter(const fs::path& hostPath) {
    std::error_code error;
    auto size = fs::file_size(hostPath, error);
    if (error || size > PropertyListLimits{}.maxBytes)
        return std::nullopt;
    std::ifstream in(hostPath, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

// True when the filter's "Filter"/"Bundles" array holds `identifier`. A filter of
// another shape lists no app.
bool filterLists(std::string_view filterBytes, const std::string& identifier) {
    objc::AutoreleasePool pool;
    auto* root = objc::dynCast<NSDictionary>(propertyListFromBytes(filterBytes));
    auto* filter = root ? objc::dynCast<NSDictionary>(root->objectForKey("Filter")) : nullptr;
    auto* bundles = filter ? objc::dynCast<NSArray>(filter->objectForKey("Bundles")) : nullptr;
    if (!bundles)
        return false;
    return std::any_of(bundles->begin(), bundles->end(), [&](const objc::Ref<objc::Object>& element) {
        auto* string = objc::dynCast<NSString>(element.get());
        return string && string->utf8() == identifier;
    });
}

// The filter lists in the folder, by name, so that libraries load in the same order on
// every launch.
std::vector<fs::path> filterFiles(const fs::path& folder) {
    std::vector<fs::path> filters;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".plist" && it->is_regular_file(error))
            filters.push_back(it->path());
    std::sort(filters.begin(), filters.end());
    return filters;
}

} // namespace

LoadResult loadInjectedLibraries() {
    auto& instruments = device::Instruments::shared();
    // From here on the host's classes exist: what happens to them is what an observer
    // of the host sees.
    instruments.markHostClassesRegistered(objc::classGeneration());
    installRuntimeRecording();

    LoadResult result;
    const auto& identifier = NSBundle::mainBundle()->bundleIdentifier();
    if (!identifier)
        return result;
    for (const fs::path& filterPath : filterFiles(device::Device::resolve(DynamicLibrariesFolder))) {
        auto bytes = readFilter(filterPath);
        if (!bytes || !filterLists(*bytes, *identifier))
            continue;
        fs::path library = fs::path(filterPath).replace_extension(".dylib");
        std::string devicePath = device::Device::devicePathOf(library).value_or(library.string());
        // The library stays loaded for the life of the process; its handle is never
        // closed. dlopen runs its constructors the first time only.
        if (dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL))
            result.loaded.push_back(devicePath);
        else if (const char* reason = dlerror())
            result.failures.push_back({devicePath, reason});
        else
            result.failures.push_back({devicePath, "the library could not be loaded"});
    }
    return result;
}

} // namespace substrate

#include "Loader.h"
#include "RuntimeRecording.h"

#include "device/Device.h"
#include "device/FileDescriptor.h"
#include "device/Files.h"
#include "device/InjectedCode.h"
#include "device/Instruments.h"
#include "foundation/NSArray.h"
#include "foundation/NSBundle.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"
#include "objc/Autorelease.h"

#include <algorithm>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace substrate {

namespace {

namespace fs = std::filesystem;

// What stands at a path of the loader's folder, a link being a link.
device::EntryKind kindOf(const std::string& devicePath) {
    auto kind = device::entryKind(devicePath);
    return kind ? *kind : device::EntryKind::Other;
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

// The names of the filter lists in the folder, sorted, so that libraries load in the same
// order on every launch.
std::vector<std::string> filterNames(int folder) {
    std::vector<std::string> names;
    int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!listing) {
        if (listed >= 0)
            ::close(listed);
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        std::string name = entry->d_name;
        if (name.size() > 6 && name.ends_with(".plist") &&
            kindOf(std::string(DynamicLibrariesFolder) + "/" + name) == device::EntryKind::File)
            names.push_back(std::move(name));
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
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
    // The folder is reached without following a link, so that nothing off the device loads.
    device::FileDescriptor folder(device::Device::openBeneath(DynamicLibrariesFolder, O_PATH | O_DIRECTORY));
    if (!folder.isOpen())
        return result;
    for (const std::string& filterName : filterNames(folder.get())) {
        // Not through device::readFile: the instruments count the opens of the process once
        // it runs (the app and the libraries in it), and the loader's own look at each
        // filter would blur what a library reads by itself, such as the same filter file.
        auto bytes = device::readFileUnrecorded(std::string(DynamicLibrariesFolder) + "/" + filterName,
                                                PropertyListLimits{}.maxBytes);
        if (!bytes || !filterLists(*bytes, *identifier))
            continue;
        std::string libraryName = filterName.substr(0, filterName.size() - 6) + ".dylib";
        std::string devicePath = std::string(DynamicLibrariesFolder) + "/" + libraryName;
        // Something other than a file where the library should be: a link may lead off the device.
        if (auto kind = kindOf(devicePath);
            kind != device::EntryKind::File && kind != device::EntryKind::Missing) {
            result.failures.push_back({devicePath, "not a file (a link is not followed)"});
            continue;
        }
        fs::path library = device::Device::resolve(devicePath);
        device::addInjectedLibrary(library, fs::path(devicePath).stem().string());
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

#pragma once

#include <string>
#include <vector>

namespace substrate {

// Where injected libraries and their filter property lists are installed on a device.
inline constexpr const char* DynamicLibrariesFolder = "/Library/MobileSubstrate/DynamicLibraries";

// A library that was to be loaded but could not be.
struct LoadFailure {
    std::string path;   // device path of the library
    std::string reason; // the dynamic loader's message
};

struct LoadResult {
    std::vector<std::string> loaded;   // device paths, in the order they were loaded
    std::vector<LoadFailure> failures; // libraries whose filter listed the app but that did not load
};

// The code-injection loader, run at app launch once the app's own classes are
// registered. Each "*.plist" filter in the dynamic libraries folder whose
// "Filter"/"Bundles" array lists the main bundle's identifier (exact match) has the
// "*.dylib" of the same base name beside it loaded, so that the library's load-time
// constructors run, once per process. A library that fails to load is reported and the
// others are still loaded.
LoadResult loadInjectedLibraries();

} // namespace substrate

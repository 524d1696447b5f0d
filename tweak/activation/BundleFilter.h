#pragma once

#include "Runtime.h"

// The loader's filter property list, installed beside the library: under "Filter",
// "Bundles" lists the identifiers of the host apps.
inline constexpr const char* FilterPath = "/Library/MobileSubstrate/DynamicLibraries/Lexorna.plist";

// True when `bundleIdentifier` is one of the strings under "Bundles" of the filter,
// compared exactly (letter case and white space count). The filter is loaded anew on
// every call; a missing or unreadable filter lists nothing.
extern "C" [[gnu::visibility("default")]] BOOL Check_If_Bundle_Exists(NSString* bundleIdentifier);

#pragma once

namespace sim {

// Where Lexorna and its files live on a device.
inline constexpr const char* SettingsPath = "/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist";
inline constexpr const char* FilterListPath = "/Library/MobileSubstrate/DynamicLibraries/Lexorna.plist";
inline constexpr const char* LibraryPath = "/Library/MobileSubstrate/DynamicLibraries/Lexorna.dylib";
inline constexpr const char* ResourcesPath = "/Library/Application Support/Lexorna.bundle";

} // namespace sim

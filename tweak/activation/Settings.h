#pragma once

// The library's options: the preferences of the domain "com.veldmoor.lexorna". The
// settings pane writes the file; the library only reads it.
inline constexpr const char* SettingsPath = "/var/mobile/Library/Preferences/com.veldmoor.lexorna.plist";

// One settings read: the boolean reading of `key`, false when the file or the key is
// missing or the file cannot be read. The file is loaded anew on every read and nothing
// of it is kept, so a change made while the host runs applies from the next read on.
bool readSetting(const char* key);

#pragma once

#include <filesystem>
#include <string_view>

// The device of this test binary: a fresh temporary folder made the device root once,
// before the first test, and removed after the last. Tests that need files use paths of
// their own under it; none changes the root.
const std::filesystem::path& testDeviceRoot();

// Puts bytes at a device path, making its folders, bypassing the platform.
void putDeviceFile(std::string_view devicePath, std::string_view bytes);

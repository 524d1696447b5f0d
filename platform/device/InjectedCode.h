#pragma once

#include <filesystem>
#include <string>

namespace device {

// The libraries that the loader injects, by the file it maps: what their code makes can
// be told apart from what the platform and the app make, as a debugger on a device tells
// it from the image a caller's address lies in.
void addInjectedLibrary(const std::filesystem::path& file, std::string name);

// The injected library whose code is the nearest caller outside the platform, found on
// the call stack: its name ("Lexorna"), or empty when that caller is the app's, or no
// library is injected.
std::string injectedCaller();

} // namespace device

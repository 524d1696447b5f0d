#pragma once

#include <string_view>

// The one temporary device of a fuzzing process: made on first use, removed when the
// process ends, with the folders of the settings file and the filter list in place.
// Each input is written over the file it stands for, as another component would.
void writeFuzzDeviceFile(const char* devicePath, std::string_view bytes);

#pragma once

#include <string_view>

// The one temporary device of a fuzzing process: made on first use, removed when the
// process ends. Each input is written over the file it stands for, as another component
// would, its folder made when missing.
void writeFuzzDeviceFile(const char* devicePath, std::string_view bytes);

#pragma once

#include "Runtime.h"

// Where a file of the library's own package lies. A rootful jailbreak installs the
// package at its paths; a rootless one installs the same files under "/var/jb". The
// settings and export files are not the package's, and stay where they are.
inline constexpr const char* RootlessPrefix = "/var/jb";

// The path itself when a file is there, else the same path under the rootless prefix
// when a file is there; the path itself when neither is.
id installedFilePath(const char* rootfulPath);

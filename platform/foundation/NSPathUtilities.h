#pragma once

#include "NSString.h"

#include <string>

// The running app's home directory (its container), as a device path. The system sets it
// when it launches the app.
NSString* NSHomeDirectory();
void setHomeDirectory(std::string devicePath);

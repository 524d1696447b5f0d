#pragma once

#include <string>
#include <vector>

namespace device {

// Writes the simulated disk refuses, as a full or read-only disk of a phone would. The
// simulator sets them for one launch; what runs on the device only sees its writes fail.
struct DeviceFaults {
    bool diskFull = false;             // every write and every new file or folder: ENOSPC
    std::vector<std::string> readOnly; // device folders whose entries cannot change: EROFS
};

} // namespace device

#include "InstalledFiles.h"

using objc::send;

id installedFilePath(const char* rootfulPath) {
    id fileManager = send<id>(objc_getClass("NSFileManager"), "defaultManager");
    id path = objc::string(rootfulPath);
    if (send<bool>(fileManager, "fileExistsAtPath:", path))
        return path;
    id rootless = send<id>(objc::string(RootlessPrefix), "stringByAppendingString:", path);
    return send<bool>(fileManager, "fileExistsAtPath:", rootless) ? rootless : path;
}

#pragma once

#include "NSObject.h"

#include <string_view>

// The file manager, over the device's disk (paths are device paths).
class NSFileManager : public NSObject {
    OBJC_NATIVE_CLASS(NSFileManager) : NSObject(isa) {}

    static NSFileManager* defaultManager();

    // -createFileAtPath:contents:attributes:: replaces the file atomically (a temporary
    // file in the same folder, renamed over the path), so a reader never sees half of
    // it, and a link at the path is replaced rather than followed. New files get the
    // platform's default attributes. False when the file could not be written.
    bool createFileAtPath(std::string_view devicePath, std::string_view contents);
    // -fileExistsAtPath:isDirectory:: whether an entry stands at the path. Links are never
    // followed on this disk (one may lead off the device), so a link is an entry of its
    // own, and no directory; a path through a link does not exist.
    bool fileExistsAtPath(std::string_view devicePath, bool* isDirectory = nullptr) const;
    // -removeItemAtPath:error:: a file, a link (not its target) or a whole folder. False
    // when nothing was there or it could not be removed; the device's root folder is
    // never removed.
    bool removeItemAtPath(std::string_view devicePath);
};

#pragma once

#include "NSObject.h"

#include <string>
#include <string_view>

// A URL. Only file URLs are made here (the share sheet shares files by URL); the path
// is a device path.
class NSURL : public NSObject {
    OBJC_NATIVE_CLASS(NSURL) : NSObject(isa) {}

    // +fileURLWithPath:isDirectory:. Trailing slashes leave the path, as Foundation
    // standardises it; a directory URL ends in one instead.
    static NSURL* fileURLWithPath(std::string_view path, bool isDirectory);

    const std::string& path() const { return path_; }
    bool isFileURL() const { return fileURL_; }
    bool hasDirectoryPath() const { return directory_; }
    // "file:///var/mobile/My%20File": the path percent-encoded as a URL path.
    std::string absoluteString() const;

    bool isEqual(const NSObject* other) const override;
    std::size_t hash() const override;
    std::string description() const override { return absoluteString(); }

private:
    std::string path_;
    bool fileURL_ = false;
    bool directory_ = false;
};

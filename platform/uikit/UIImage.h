#pragma once

#include "CGGeometry.h"
#include "CGImage.h"

#include <string>
#include <string_view>

// A picture loaded from a PNG file, at scale 1: its size in points is its size in pixels.
class UIImage : public NSObject {
    OBJC_NATIVE_CLASS(UIImage) : NSObject(isa) {}

    // The image at an absolute device path, from the system's image cache when it was
    // loaded before (so the file is opened once per process, as on iOS). Nil for a name
    // that is not an absolute path (apps here carry no bundle resources), a missing file,
    // or one that is not a readable PNG; failures are not cached.
    static UIImage* imageNamed(std::string_view name);

    CGSize size() const { return size_; }
    double scale() const { return 1; }
    CGImage* cgImage() const { return bitmap_.get(); }
    // The device path it was loaded from.
    const std::string& path() const { return path_; }

private:
    std::string path_;
    CGSize size_;
    objc::Ref<CGImage> bitmap_;
};

#pragma once

#include "UIImage.h"
#include "UIView.h"

// A view that shows an image scaled to fill its bounds. Like UIKit's, it ignores touches
// unless told otherwise.
class UIImageView : public UIView {
    OBJC_NATIVE_CLASS(UIImageView);

    // -initWithImage:: the frame takes the image's size, at the origin.
    static UIImageView* make(UIImage* image);

    UIImage* image() const { return image_.get(); }
    void setImage(UIImage* image) { image_ = image; }

private:
    objc::Ref<UIImage> image_;
};

#pragma once

#include "UIViewController.h"

// The share sheet. It keeps the items it was given to share, which the simulator shows
// in its reports; choosing an activity is not modelled.
class UIActivityViewController : public UIViewController {
    OBJC_NATIVE_CLASS(UIActivityViewController) : UIViewController(isa) {}

    static UIActivityViewController* make(std::vector<objc::Ref<objc::Object>> items);

    const std::vector<objc::Ref<objc::Object>>& activityItems() const { return items_; }

private:
    std::vector<objc::Ref<objc::Object>> items_;
};

#pragma once

#include "UIViewController.h"

// The share sheet. It keeps the items it was given to share, which the simulator shows
// in its reports. Its view is the sheet that rises from the bottom of the screen: the
// shared file's name, a close button, a row of targets and a list of actions. Choosing
// a target or an action is not modelled; the close button dismisses the sheet.
class UIActivityViewController : public UIViewController {
    OBJC_NATIVE_CLASS(UIActivityViewController) : UIViewController(isa) {}

    static UIActivityViewController* make(std::vector<objc::Ref<objc::Object>> items);

    const std::vector<objc::Ref<objc::Object>>& activityItems() const { return items_; }
    // What the sheet's header names: the first item's file name, or its text.
    std::string sharedTitle() const;
    void loadSheetView();

private:
    std::vector<objc::Ref<objc::Object>> items_;
};

#pragma once

#include "UIViewController.h"

#include "foundation/NSString.h"

// UIAlertActionStyle.
enum UIAlertActionStyle : long {
    UIAlertActionStyleDefault = 0,
    UIAlertActionStyleCancel = 1,
    UIAlertActionStyleDestructive = 2,
};

// UIAlertControllerStyle.
enum UIAlertControllerStyle : long {
    UIAlertControllerStyleActionSheet = 0,
    UIAlertControllerStyleAlert = 1,
};

// One button of an alert: its title, its style and the block a tap would run.
class UIAlertAction : public NSObject {
    OBJC_NATIVE_CLASS(UIAlertAction) : NSObject(isa) {}

    static UIAlertAction* make(id title, long style, NSBlock* handler);

    NSString* title() const { return title_.get(); }
    long style() const { return style_; }

private:
    objc::Ref<NSString> title_;
    long style_ = UIAlertActionStyleDefault;
    objc::Ref<NSBlock> handler_; // held as UIKit holds it; no flow taps an alert's buttons
};

// An alert or action sheet: a title, a message and buttons, presented like any controller.
class UIAlertController : public UIViewController {
    OBJC_NATIVE_CLASS(UIAlertController) : UIViewController(isa) {}

    static UIAlertController* make(id title, id message, long preferredStyle);

    NSString* title() const { return title_.get(); }
    NSString* message() const { return message_.get(); }
    long preferredStyle() const { return preferredStyle_; }
    const std::vector<objc::Ref<UIAlertAction>>& actions() const { return actions_; }
    // Raises, as UIKit does, for a second action of the cancel style.
    void addAction(UIAlertAction* action);

private:
    objc::Ref<NSString> title_;
    objc::Ref<NSString> message_;
    long preferredStyle_ = UIAlertControllerStyleActionSheet;
    std::vector<objc::Ref<UIAlertAction>> actions_;
};

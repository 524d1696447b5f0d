#pragma once

#include "UIScreen.h"
#include "UIView.h"

#include "foundation/NSBlock.h"

#include <functional>
#include <vector>

// A controller of one screen's view. The view is loaded lazily: the first time it is
// asked for, -loadView and then -viewDidLoad run through the runtime, so subclasses and
// hooks take part.
//
// A presentation covers the window; from iOS 13 on a controller of the automatic style
// comes as a page sheet instead, below the status bar with its top corners rounded.
// Presentation follows UIKit's default presentation context: a controller inside a
// container (a navigation or tab bar controller) presents from its root-most container,
// and -presentedViewController answers what the controller or one of its ancestors
// presents (-presentingViewController likewise what presents it or its nearest presented
// ancestor). One presentation at a time: presenting on a controller that already
// presents, or whose view is not in a window, shows nothing and logs UIKit's warning.
// Presenting nil, or a controller that is already presented or is a child, raises
// UIKit's NSInvalidArgumentException. Who was sent the present message is told to the
// process's PresentationObserver.
// UIModalPresentationStyle, the ones modelled.
enum UIModalPresentationStyle : long {
    UIModalPresentationAutomatic = -2, // a page sheet from iOS 13 on, full screen before
    UIModalPresentationFullScreen = 0,
    UIModalPresentationPageSheet = 1,
    UIModalPresentationOverFullScreen = 5, // what alerts and the share sheet draw their own way over
};

class UIViewController : public UIResponder {
    OBJC_NATIVE_CLASS(UIViewController) : UIResponder(isa) {}
    ~UIViewController() override;

    UIView* view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void setView(UIView* view);

    // Containment.
    UIViewController* parentViewController() const { return parent_; }
    const std::vector<objc::Ref<UIViewController>>& childViewControllers() const { return children_; }
    void addChildViewController(UIViewController* child);
    void removeFromParentViewController();

    // Presentation.
    UIViewController* presentedViewController() const;
    UIViewController* presentingViewController() const;
    long modalPresentationStyle() const { return modalPresentationStyle_; }
    void setModalPresentationStyle(long style) { modalPresentationStyle_ = style; }
    // While presented as a page sheet: the view that holds it, over the whole window,
    // which takes the touches around the sheet as UIKit's dimming view does. Nil for a
    // full-screen presentation.
    UIView* sheetContainer() const { return sheetContainer_.get(); }
    void present(UIViewController* controller, bool animated, std::function<void()> completion);
    void dismiss(bool animated, std::function<void()> completion);

    // The controller whose presentation context this one uses: its root-most container.
    UIViewController* presentationContext();

private:
    objc::Ref<UIView> view_;
    UIViewController* parent_ = nullptr; // raw: the parent holds its children
    std::vector<objc::Ref<UIViewController>> children_;
    objc::Ref<UIViewController> presented_;  // the controller this one presents
    UIViewController* presenting_ = nullptr; // raw: the presenter holds us
    long modalPresentationStyle_ = UIModalPresentationAutomatic;
    objc::Ref<UIView> sheetContainer_;
    // While presented full screen: the presenter's view, which UIKit takes out of the
    // window once the presentation is shown and puts back at its dismissal, at its index.
    objc::Ref<UIView> coveredView_;
    std::size_t coveredIndex_ = 0;
    bool loadingView_ = false;
};

#pragma once

#include "CALayer.h"
#include "CGGeometry.h"
#include "UIColor.h"

#include <optional>
#include <string>
#include <vector>

class UIGestureRecognizer;
class NSLayoutConstraint;
class UIViewController;
class UIWindow;

// Views and controllers know which injected library's code made them, if any, as a
// tester tells the library's own views from the app's.
class UIResponder : public NSObject {
    OBJC_NATIVE_CLASS(UIResponder);

    const std::string& madeBy() const { return madeBy_; }

private:
    std::string madeBy_;
};

// UIViewAutoresizing.
enum UIViewAutoresizing : unsigned long {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1,
    UIViewAutoresizingFlexibleWidth = 2,
    UIViewAutoresizingFlexibleRightMargin = 4,
    UIViewAutoresizingFlexibleTopMargin = 8,
    UIViewAutoresizingFlexibleHeight = 16,
    UIViewAutoresizingFlexibleBottomMargin = 32,
};

// A rectangle on screen and the tree of views inside it. A view holds its subviews,
// its gesture recognisers and the constraints it is the common ancestor of; its
// superview is a raw back pointer.
//
// What marks a view as needing layout (its layoutSubviews runs in the next layout pass
// of the run loop), as UIKit does:
// - addSubview: marks the added view, the receiver and the receiver's other subviews;
// - removeFromSuperview marks the old superview;
// - a frame change that changes the size marks the view and its superview;
// - activating constraints marks the views they place;
// - setNeedsLayout marks the receiver.
class UIView : public UIResponder {
    OBJC_NATIVE_CLASS(UIView);
    ~UIView() override;

    static UIView* make(CGRect frame);

    // Hierarchy.
    UIView* superview() const { return superview_; }
    const std::vector<objc::Ref<UIView>>& subviews() const { return subviews_; }
    void addSubview(UIView* view);
    // -insertSubview:atIndex:, an index past the end adding at the front.
    void insertSubview(UIView* view, std::size_t index);
    void removeFromSuperview();
    bool isDescendantOf(const UIView* ancestor) const;
    UIWindow* window() const;
    // The controller whose view this is, if any (UIKit's nextResponder for a root view).
    UIViewController* viewController() const { return viewController_; }
    void setViewController(UIViewController* controller) { viewController_ = controller; }

    // Geometry, in the superview's coordinates.
    CGRect frame() const { return frame_; }
    void setFrame(CGRect frame);
    CGRect bounds() const { return CGRect{{0, 0}, frame_.size}; }
    // The frame in the window's coordinates (or the root view's, outside a window).
    CGRect frameInWindow() const;
    CGPoint convertPointFromWindow(CGPoint point) const;

    // Appearance.
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    double alpha() const { return alpha_; }
    void setAlpha(double alpha) { alpha_ = alpha; }
    UIColor* backgroundColor() const { return backgroundColor_.get(); }
    void setBackgroundColor(UIColor* color) { backgroundColor_ = color; }
    bool clipsToBounds() const { return layer_->masksToBounds(); }
    void setClipsToBounds(bool clips) { layer_->setMasksToBounds(clips); }
    CALayer* layer() const { return layer_.get(); }

    unsigned long autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned long mask) { autoresizingMask_ = mask; }
    bool translatesAutoresizingMaskIntoConstraints() const { return translatesAutoresizingMask_; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates) {
        translatesAutoresizingMask_ = translates;
    }

    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    const std::optional<std::string>& accessibilityIdentifier() const { return accessibilityIdentifier_; }
    void setAccessibilityIdentifier(std::optional<std::string> identifier) {
        accessibilityIdentifier_ = std::move(identifier);
    }

    // Gesture recognisers, in the order they were added.
    const std::vector<objc::Ref<UIGestureRecognizer>>& gestureRecognizers() const {
        return gestureRecognizers_;
    }
    void addGestureRecognizer(UIGestureRecognizer* recognizer);
    void removeGestureRecognizer(UIGestureRecognizer* recognizer);

    // Constraints this view holds as the nearest common ancestor of their items.
    const std::vector<objc::Ref<NSLayoutConstraint>>& constraints() const { return constraints_; }
    void addConstraint(NSLayoutConstraint* constraint);
    void removeConstraint(NSLayoutConstraint* constraint);

    // Layout.
    bool needsLayout() const { return needsLayout_; }
    void setNeedsLayout() { needsLayout_ = true; }
    void clearNeedsLayout() { needsLayout_ = false; }

    // The deepest visible, interactive view under a point in this view's coordinates,
    // front-most first; nil when the point is outside or nothing takes touches.
    UIView* hitTest(CGPoint point);

protected:
    // Resizes the subviews that follow their autoresizing mask after this view's size
    // changed from oldSize.
    void resizeSubviews(CGSize oldSize);

private:
    UIView* superview_ = nullptr;                // raw: the superview holds us
    UIViewController* viewController_ = nullptr; // raw: the controller holds its view
    std::vector<objc::Ref<UIView>> subviews_;    // back to front
    std::vector<objc::Ref<UIGestureRecognizer>> gestureRecognizers_;
    std::vector<objc::Ref<NSLayoutConstraint>> constraints_;
    objc::Ref<CALayer> layer_;
    objc::Ref<UIColor> backgroundColor_;
    CGRect frame_{};
    double alpha_ = 1;
    unsigned long autoresizingMask_ = UIViewAutoresizingNone;
    std::optional<std::string> accessibilityIdentifier_;
    bool hidden_ = false;
    bool translatesAutoresizingMask_ = true;
    bool userInteractionEnabled_ = true;
    bool needsLayout_ = true;
};

// Sends -layoutSubviews through the runtime, so that hooks and overrides run.
void sendLayoutSubviews(UIView* view);

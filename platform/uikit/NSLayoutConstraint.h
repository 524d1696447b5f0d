#pragma once

#include "foundation/NSObject.h"

class UIView;

// The edges and centres that constraints relate. Leading and trailing are left and
// right: the apps and the library lay out left to right.
enum class NSLayoutAttribute : long {
    Left = 1,
    Right = 2,
    Top = 3,
    Bottom = 4,
    Leading = 5,
    Trailing = 6,
    Width = 7,
    Height = 8,
    CenterX = 9,
    CenterY = 10,
};

// One of a view's anchors. It refers to its view without retaining it, as UIKit's do.
class NSLayoutAnchor : public NSObject {
    OBJC_NATIVE_CLASS(NSLayoutAnchor) : NSObject(isa) {}

    static NSLayoutAnchor* make(UIView* view, NSLayoutAttribute attribute);
    UIView* view() const { return view_; }
    NSLayoutAttribute attribute() const { return attribute_; }

private:
    UIView* view_ = nullptr; // raw: an anchor does not keep its view alive
    NSLayoutAttribute attribute_ = NSLayoutAttribute::Top;
};

// first.attribute = second.attribute + constant. Active constraints are held by the
// nearest common ancestor of their two views.
class NSLayoutConstraint : public NSObject {
    OBJC_NATIVE_CLASS(NSLayoutConstraint) : NSObject(isa) {}

    static NSLayoutConstraint* make(NSLayoutAnchor* first, NSLayoutAnchor* second, double constant);

    UIView* firstItem() const { return firstItem_; }
    NSLayoutAttribute firstAttribute() const { return firstAttribute_; }
    UIView* secondItem() const { return secondItem_; }
    NSLayoutAttribute secondAttribute() const { return secondAttribute_; }
    double constant() const { return constant_; }
    bool isActive() const { return holder_ != nullptr; }
    // "<NSLayoutConstraint:0x… UIView:0x….top == UIView:0x….centerY - 150>", as UIKit logs it.
    std::string description() const override;

    // Raises NSGenericException when the two views share no ancestor.
    static void activateConstraints(const std::vector<NSLayoutConstraint*>& constraints);
    void setHolder(UIView* holder) { holder_ = holder; }

private:
    UIView* firstItem_ = nullptr; // raw: constraints do not keep their views alive
    UIView* secondItem_ = nullptr;
    UIView* holder_ = nullptr; // the view that holds this constraint while active
    NSLayoutAttribute firstAttribute_ = NSLayoutAttribute::Top;
    NSLayoutAttribute secondAttribute_ = NSLayoutAttribute::Top;
    double constant_ = 0;
};

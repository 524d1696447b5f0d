#include "NSLayoutConstraint.h"
#include "UIView.h"

#include "foundation/NSArray.h"

#include "objc/Exception.h"

#include <cmath>
#include <cstdio>

NSLayoutAnchor* NSLayoutAnchor::make(UIView* view, NSLayoutAttribute attribute) {
    auto* anchor = objc::make<NSLayoutAnchor>(staticClass());
    anchor->view_ = view;
    anchor->attribute_ = attribute;
    return anchor;
}

namespace {

const char* anchorName(NSLayoutAttribute attribute) {
    switch (attribute) {
    case NSLayoutAttribute::Top:
        return "top";
    case NSLayoutAttribute::Bottom:
        return "bottom";
    case NSLayoutAttribute::Leading:
        return "leading";
    case NSLayoutAttribute::Trailing:
        return "trailing";
    case NSLayoutAttribute::Left:
        return "left";
    case NSLayoutAttribute::Right:
        return "right";
    case NSLayoutAttribute::CenterX:
        return "centerX";
    case NSLayoutAttribute::CenterY:
        return "centerY";
    case NSLayoutAttribute::Width:
        return "width";
    case NSLayoutAttribute::Height:
        return "height";
    }
    return "?";
}

std::string address(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

// "UIView:0x7f….top"
std::string describeItem(UIView* view, NSLayoutAttribute attribute) {
    return (view ? view->isa()->name : std::string("nil")) + ":" + address(view) + "." +
           anchorName(attribute);
}

std::string describeAnchor(UIView* view, NSLayoutAttribute attribute) {
    return std::string("<NSLayoutAnchor:") + anchorName(attribute) + " \"" + describeItem(view, attribute) +
           "\">";
}

UIView* nearestCommonAncestor(UIView* a, UIView* b) {
    if (!b)
        return a;
    for (UIView* candidate = a; candidate; candidate = candidate->superview())
        if (b->isDescendantOf(candidate))
            return candidate;
    return nullptr;
}

} // namespace

NSLayoutConstraint* NSLayoutConstraint::make(NSLayoutAnchor* first, NSLayoutAnchor* second, double constant) {
    auto* constraint = objc::make<NSLayoutConstraint>(staticClass());
    if (first) {
        constraint->firstItem_ = first->view();
        constraint->firstAttribute_ = first->attribute();
    }
    if (second) {
        constraint->secondItem_ = second->view();
        constraint->secondAttribute_ = second->attribute();
    }
    constraint->constant_ = constant;
    return constraint;
}

std::string NSLayoutConstraint::description() const {
    std::string text =
        "<NSLayoutConstraint:" + address(this) + " " + describeItem(firstItem_, firstAttribute_);
    if (secondItem_)
        text += " == " + describeItem(secondItem_, secondAttribute_);
    else
        text += " ==";
    if (constant_ != 0 || !secondItem_) {
        char number[32];
        std::snprintf(number, sizeof number, "%g", std::abs(constant_));
        text += (secondItem_ ? (constant_ < 0 ? " - " : " + ") : (constant_ < 0 ? " -" : " ")) +
                std::string(number);
    }
    return text + ">";
}

void NSLayoutConstraint::activateConstraints(const std::vector<NSLayoutConstraint*>& constraints) {
    // Every constraint is checked before any is activated, so a failing call changes nothing.
    std::vector<UIView*> holders;
    for (auto* constraint : constraints) {
        UIView* holder = nearestCommonAncestor(constraint->firstItem_, constraint->secondItem_);
        if (!holder)
            objc::raise(
                objc::NSGenericException,
                "Unable to activate constraint with anchors " +
                    describeAnchor(constraint->firstItem_, constraint->firstAttribute_) + " and " +
                    describeAnchor(constraint->secondItem_, constraint->secondAttribute_) +
                    " because they have no common ancestor.  Does the constraint or its anchors reference "
                    "items in different view hierarchies?  That's illegal.");
        holders.push_back(holder);
    }
    for (std::size_t i = 0; i < constraints.size(); ++i) {
        if (constraints[i]->isActive())
            continue;
        holders[i]->addConstraint(constraints[i]);
        constraints[i]->firstItem_->setNeedsLayout();
        holders[i]->setNeedsLayout();
    }
}

Class NSLayoutAnchor::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSLayoutAnchor>("NSLayoutAnchor", NSObject::staticClass());
        objc::addMethod(
            c, "constraintEqualToAnchor:", +[](id self, SEL, id other) -> id {
                return NSLayoutConstraint::make(static_cast<NSLayoutAnchor*>(self),
                                                objc::cast<NSLayoutAnchor>(other), 0);
            });
        objc::addMethod(
            c, "constraintEqualToAnchor:constant:", +[](id self, SEL, id other, double constant) -> id {
                return NSLayoutConstraint::make(static_cast<NSLayoutAnchor*>(self),
                                                objc::cast<NSLayoutAnchor>(other), constant);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

Class NSLayoutConstraint::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSLayoutConstraint>("NSLayoutConstraint", NSObject::staticClass());
        objc::addClassMethod(
            c, "activateConstraints:", +[](id, SEL, id array) {
                std::vector<NSLayoutConstraint*> list;
                if (auto* constraints = objc::cast<NSArray>(array))
                    for (const auto& constraint : *constraints)
                        list.push_back(objc::cast<NSLayoutConstraint>(constraint.get()));
                NSLayoutConstraint::activateConstraints(list);
            });
        objc::addMethod(
            c, "constant",
            +[](id self, SEL) -> double { return static_cast<NSLayoutConstraint*>(self)->constant(); });
        objc::addMethod(
            c, "isActive",
            +[](id self, SEL) -> bool { return static_cast<NSLayoutConstraint*>(self)->isActive(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

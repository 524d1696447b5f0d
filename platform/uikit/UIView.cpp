#include "UIView.h"
#include "NSLayoutConstraint.h"
#include "UIGestureRecognizer.h"
#include "UIWindow.h"

#include "device/InjectedCode.h"

#include "foundation/NSArray.h"
#include "foundation/NSString.h"

#include <algorithm>

using objc::Ref;

Class UIResponder::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIResponder>("UIResponder", NSObject::staticClass());
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

UIResponder::UIResponder(Class isa) : NSObject(isa), madeBy_(device::injectedCaller()) {}

UIView::UIView(Class isa) : UIResponder(isa), layer_(CALayer::make()) {}

UIView::~UIView() {
    for (auto& subview : subviews_)
        subview->superview_ = nullptr;
    for (auto& recognizer : gestureRecognizers_)
        recognizer->setView(nullptr);
    for (auto& constraint : constraints_)
        constraint->setHolder(nullptr);
}

UIView* UIView::make(CGRect frame) {
    auto* view = objc::make<UIView>(staticClass());
    view->frame_ = frame;
    return view;
}

void UIView::addSubview(UIView* view) {
    if (!view || view == this || isDescendantOf(view))
        return;
    Ref<UIView> keep = view;
    if (view->superview_ == this) {
        // Re-adding only brings the view to the front: it never left, so its constraints stay.
        subviews_.erase(std::remove(subviews_.begin(), subviews_.end(), keep), subviews_.end());
    } else if (view->superview_) {
        view->removeFromSuperview();
    }
    subviews_.push_back(keep);
    view->superview_ = this;
    view->setNeedsLayout();
    setNeedsLayout();
    for (auto& sibling : subviews_)
        sibling->setNeedsLayout();
}

void UIView::insertSubview(UIView* view, std::size_t index) {
    addSubview(view);
    if (!view || view->superview_ != this || index >= subviews_.size())
        return;
    auto at = std::find(subviews_.begin(), subviews_.end(), Ref<UIView>(view));
    std::rotate(subviews_.begin() + static_cast<std::ptrdiff_t>(index), at, at + 1);
}

namespace {

// Constraints that involve a view leaving the hierarchy are deactivated, as UIKit does,
// so no ancestor keeps placing a view that is gone.
void removeConstraintsInvolving(UIView* removed, UIView* from) {
    for (UIView* ancestor = from; ancestor; ancestor = ancestor->superview()) {
        std::vector<NSLayoutConstraint*> leaving;
        for (const auto& constraint : ancestor->constraints()) {
            auto involves = [&](UIView* item) {
                return item && (item == removed || item->isDescendantOf(removed));
            };
            if (involves(constraint->firstItem()) || involves(constraint->secondItem()))
                leaving.push_back(constraint.get());
        }
        for (auto* constraint : leaving)
            ancestor->removeConstraint(constraint);
    }
}

} // namespace

void UIView::removeFromSuperview() {
    UIView* parent = superview_;
    if (!parent)
        return;
    Ref<UIView> keep = this;
    removeConstraintsInvolving(this, parent);
    auto& siblings = parent->subviews_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), Ref<UIView>(this)), siblings.end());
    superview_ = nullptr;
    parent->setNeedsLayout();
}

bool UIView::isDescendantOf(const UIView* ancestor) const {
    for (const UIView* view = this; view; view = view->superview_)
        if (view == ancestor)
            return true;
    return false;
}

UIWindow* UIView::window() const {
    const UIView* top = this;
    while (top->superview_)
        top = top->superview_;
    return objc::dynCast<UIWindow>(const_cast<UIView*>(top));
}

void UIView::setFrame(CGRect frame) {
    CGSize oldSize = frame_.size;
    frame_ = frame;
    if (oldSize != frame.size) {
        setNeedsLayout();
        if (superview_)
            superview_->setNeedsLayout();
        resizeSubviews(oldSize);
    }
}

void UIView::resizeSubviews(CGSize oldSize) {
    if (CGRectIsNull(frame_))
        return;
    // Each axis shares the change of the superview's size among the flexible parts of
    // the subview (left margin, width, right margin), in proportion to their sizes.
    auto resizeAxis = [](double position, double length, double oldTotal, double newTotal,
                         bool flexibleBefore, bool flexibleLength, bool flexibleAfter, double& outPosition,
                         double& outLength) {
        double delta = newTotal - oldTotal;
        double before = position, after = oldTotal - position - length;
        double flexibleSum =
            (flexibleBefore ? before : 0) + (flexibleLength ? length : 0) + (flexibleAfter ? after : 0);
        int flexibleCount = flexibleBefore + flexibleLength + flexibleAfter;
        outPosition = position;
        outLength = length;
        if (flexibleCount == 0)
            return;
        auto share = [&](bool flexible, double size) {
            if (!flexible)
                return 0.0;
            return flexibleSum > 0 ? delta * size / flexibleSum : delta / flexibleCount;
        };
        outPosition = position + share(flexibleBefore, before);
        outLength = length + share(flexibleLength, length);
    };
    for (auto& subview : subviews_) {
        if (!subview->translatesAutoresizingMask_ || subview->autoresizingMask_ == UIViewAutoresizingNone ||
            CGRectIsNull(subview->frame_))
            continue;
        unsigned long mask = subview->autoresizingMask_;
        CGRect f = subview->frame_;
        CGRect next = f;
        resizeAxis(f.origin.x, f.size.width, oldSize.width, frame_.size.width,
                   mask & UIViewAutoresizingFlexibleLeftMargin, mask & UIViewAutoresizingFlexibleWidth,
                   mask & UIViewAutoresizingFlexibleRightMargin, next.origin.x, next.size.width);
        resizeAxis(f.origin.y, f.size.height, oldSize.height, frame_.size.height,
                   mask & UIViewAutoresizingFlexibleTopMargin, mask & UIViewAutoresizingFlexibleHeight,
                   mask & UIViewAutoresizingFlexibleBottomMargin, next.origin.y, next.size.height);
        subview->setFrame(next);
    }
}

CGRect UIView::frameInWindow() const {
    CGRect rect = frame_;
    for (const UIView* parent = superview_; parent && parent->superview_; parent = parent->superview_) {
        rect.origin.x += parent->frame_.origin.x;
        rect.origin.y += parent->frame_.origin.y;
    }
    return rect;
}

CGPoint UIView::convertPointFromWindow(CGPoint point) const {
    CGRect inWindow = superview_ ? frameInWindow() : bounds();
    return {point.x - inWindow.origin.x, point.y - inWindow.origin.y};
}

void UIView::addGestureRecognizer(UIGestureRecognizer* recognizer) {
    if (!recognizer)
        return;
    if (recognizer->view())
        recognizer->view()->removeGestureRecognizer(recognizer);
    gestureRecognizers_.emplace_back(recognizer);
    recognizer->setView(this);
}

void UIView::removeGestureRecognizer(UIGestureRecognizer* recognizer) {
    auto it = std::find(gestureRecognizers_.begin(), gestureRecognizers_.end(),
                        Ref<UIGestureRecognizer>(recognizer));
    if (it == gestureRecognizers_.end())
        return;
    recognizer->setView(nullptr);
    gestureRecognizers_.erase(it);
}

void UIView::addConstraint(NSLayoutConstraint* constraint) {
    constraints_.emplace_back(constraint);
    constraint->setHolder(this);
}

void UIView::removeConstraint(NSLayoutConstraint* constraint) {
    auto it = std::find(constraints_.begin(), constraints_.end(), Ref<NSLayoutConstraint>(constraint));
    if (it == constraints_.end())
        return;
    constraint->setHolder(nullptr);
    constraints_.erase(it);
}

UIView* UIView::hitTest(CGPoint point) {
    if (hidden_ || alpha_ <= 0.01 || !userInteractionEnabled_ || CGRectIsNull(frame_))
        return nullptr;
    if (!bounds().contains(point))
        return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        UIView* subview = it->get();
        if (CGRectIsNull(subview->frame_))
            continue;
        CGPoint inner{point.x - subview->frame_.origin.x, point.y - subview->frame_.origin.y};
        if (UIView* hit = subview->hitTest(inner))
            return hit;
    }
    return this;
}

void sendLayoutSubviews(UIView* view) {
    objc::send(view, "layoutSubviews");
}

namespace {
UIView* self(id object) {
    return static_cast<UIView*>(object);
}

NSLayoutAnchor* anchor(id view, NSLayoutAttribute attribute) {
    return NSLayoutAnchor::make(self(view), attribute);
}

// UIView's methods as the runtime sends them, by what they are about.
void addGeometryMethods(Class c) {
    objc::addMethod(
        c, "layoutSubviews", +[](id, SEL) {});
    objc::addMethod(
        c, "setNeedsLayout", +[](id view, SEL) { self(view)->setNeedsLayout(); });
    objc::addMethod(
        c, "frame", +[](id view, SEL) -> CGRect { return self(view)->frame(); });
    objc::addMethod(
        c, "setFrame:", +[](id view, SEL, CGRect frame) { self(view)->setFrame(frame); });
    objc::addMethod(
        c, "bounds", +[](id view, SEL) -> CGRect { return self(view)->bounds(); });
}

void addHierarchyMethods(Class c) {
    objc::addMethod(
        c, "superview", +[](id view, SEL) -> id { return self(view)->superview(); });
    objc::addMethod(
        c, "isDescendantOfView:", +[](id view, SEL, id ancestor) -> bool {
            auto* other = objc::cast<UIView>(ancestor);
            return other && self(view)->isDescendantOf(other);
        });
    objc::addMethod(
        c, "subviews", +[](id view, SEL) -> id {
            std::vector<Ref<objc::Object>> list(self(view)->subviews().begin(), self(view)->subviews().end());
            return NSArray::make(std::move(list));
        });
    objc::addMethod(
        c, "window", +[](id view, SEL) -> id { return self(view)->window(); });
    objc::addMethod(
        c, "addSubview:", +[](id view, SEL, id subview) {
            self(view)->addSubview(objc::cast<UIView>(subview));
        });
    objc::addMethod(
        c, "removeFromSuperview", +[](id view, SEL) { self(view)->removeFromSuperview(); });
}

void addAppearanceMethods(Class c) {
    objc::addMethod(
        c, "isHidden", +[](id view, SEL) -> bool { return self(view)->isHidden(); });
    objc::addMethod(
        c, "setHidden:", +[](id view, SEL, bool hidden) { self(view)->setHidden(hidden); });
    objc::addMethod(
        c, "setAlpha:", +[](id view, SEL, double alpha) { self(view)->setAlpha(alpha); });
    objc::addMethod(
        c, "backgroundColor", +[](id view, SEL) -> id { return self(view)->backgroundColor(); });
    objc::addMethod(
        c, "setBackgroundColor:", +[](id view, SEL, id color) {
            self(view)->setBackgroundColor(objc::cast<UIColor>(color));
        });
    objc::addMethod(
        c, "setClipsToBounds:", +[](id view, SEL, bool clips) { self(view)->setClipsToBounds(clips); });
    objc::addMethod(
        c, "layer", +[](id view, SEL) -> id { return self(view)->layer(); });
}

void addLayoutAndTouchMethods(Class c) {
    objc::addMethod(
        c, "setAutoresizingMask:", +[](id view, SEL, unsigned long mask) {
            self(view)->setAutoresizingMask(mask);
        });
    objc::addMethod(
        c, "setTranslatesAutoresizingMaskIntoConstraints:", +[](id view, SEL, bool translates) {
            self(view)->setTranslatesAutoresizingMaskIntoConstraints(translates);
        });
    objc::addMethod(
        c, "setUserInteractionEnabled:", +[](id view, SEL, bool enabled) {
            self(view)->setUserInteractionEnabled(enabled);
        });
    objc::addMethod(
        c, "accessibilityIdentifier", +[](id view, SEL) -> id {
            const auto& identifier = self(view)->accessibilityIdentifier();
            return identifier ? NSString::make(*identifier) : nullptr;
        });
    objc::addMethod(
        c, "setAccessibilityIdentifier:", +[](id view, SEL, id identifier) {
            self(view)->setAccessibilityIdentifier(identifier ? std::optional(utf8Of(identifier))
                                                              : std::nullopt);
        });
    objc::addMethod(
        c, "addGestureRecognizer:", +[](id view, SEL, id recognizer) {
            self(view)->addGestureRecognizer(objc::cast<UIGestureRecognizer>(recognizer));
        });
    objc::addMethod(
        c, "gestureRecognizers", +[](id view, SEL) -> id {
            const auto& recognizers = self(view)->gestureRecognizers();
            if (recognizers.empty())
                return nullptr;
            return NSArray::make(std::vector<Ref<objc::Object>>(recognizers.begin(), recognizers.end()));
        });
}

void addAnchorMethods(Class c) {
    objc::addMethod(
        c, "topAnchor", +[](id view, SEL) -> id { return anchor(view, NSLayoutAttribute::Top); });
    objc::addMethod(
        c, "bottomAnchor", +[](id view, SEL) -> id { return anchor(view, NSLayoutAttribute::Bottom); });
    objc::addMethod(
        c, "leadingAnchor", +[](id view, SEL) -> id { return anchor(view, NSLayoutAttribute::Leading); });
    objc::addMethod(
        c, "trailingAnchor", +[](id view, SEL) -> id { return anchor(view, NSLayoutAttribute::Trailing); });
    objc::addMethod(
        c, "centerXAnchor", +[](id view, SEL) -> id { return anchor(view, NSLayoutAttribute::CenterX); });
    objc::addMethod(
        c, "centerYAnchor", +[](id view, SEL) -> id { return anchor(view, NSLayoutAttribute::CenterY); });
}

} // namespace

Class UIView::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIView>("UIView", UIResponder::staticClass());
        // The initialiser sets the frame itself, without the layout a later frame asks for.
        objc::addMethod(
            c, "initWithFrame:", +[](id view, SEL, CGRect frame) -> id {
                self(view)->frame_ = frame;
                return view;
            });
        addGeometryMethods(c);
        addHierarchyMethods(c);
        addAppearanceMethods(c);
        addLayoutAndTouchMethods(c);
        addAnchorMethods(c);
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

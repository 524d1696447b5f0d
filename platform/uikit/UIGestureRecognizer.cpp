#include "UIGestureRecognizer.h"
#include "UIView.h"

void UIGestureRecognizer::sendAction() {
    if (!target_ || !action_)
        return;
    // An action named with a colon takes the recogniser.
    if (!action_->name.empty() && action_->name.back() == ':')
        objc::send(target_.get(), action_, static_cast<id>(this));
    else
        objc::send(target_.get(), action_);
}

CGPoint UIGestureRecognizer::locationInView(const UIView* view) const {
    return view ? view->convertPointFromWindow(location_) : location_;
}

void UIGestureRecognizer::requireGestureRecognizerToFail(UIGestureRecognizer* other) {
    if (other && other != this)
        requiredToFail_.emplace_back(other);
}

Class UIGestureRecognizer::staticClass() {
    static Class cls = [] {
        Class c =
            objc::defineNativeClass<UIGestureRecognizer>("UIGestureRecognizer", NSObject::staticClass());
        objc::addMethod(
            c, "initWithTarget:action:", +[](id self, SEL, id target, SEL action) -> id {
                static_cast<UIGestureRecognizer*>(self)->setTargetAction(target, action);
                return self;
            });
        objc::addMethod(
            c, "setDelegate:", +[](id self, SEL, id delegate) {
                static_cast<UIGestureRecognizer*>(self)->setDelegate(delegate);
            });
        objc::addMethod(
            c, "delegate",
            +[](id self, SEL) -> id { return static_cast<UIGestureRecognizer*>(self)->delegate(); });
        objc::addMethod(
            c, "view", +[](id self, SEL) -> id { return static_cast<UIGestureRecognizer*>(self)->view(); });
        objc::addMethod(
            c, "state", +[](id self, SEL) -> long {
                return static_cast<long>(static_cast<UIGestureRecognizer*>(self)->state());
            });
        objc::addMethod(
            c, "numberOfTouchesRequired", +[](id self, SEL) -> unsigned long {
                return static_cast<UIGestureRecognizer*>(self)->numberOfTouchesRequired();
            });
        objc::addMethod(
            c, "setNumberOfTouchesRequired:", +[](id self, SEL, unsigned long touches) {
                static_cast<UIGestureRecognizer*>(self)->setNumberOfTouchesRequired(touches);
            });
        objc::addMethod(
            c, "isEnabled",
            +[](id self, SEL) -> bool { return static_cast<UIGestureRecognizer*>(self)->isEnabled(); });
        objc::addMethod(
            c, "setEnabled:", +[](id self, SEL, bool enabled) {
                static_cast<UIGestureRecognizer*>(self)->setEnabled(enabled);
            });
        objc::addMethod(
            c, "locationInView:", +[](id self, SEL, id view) -> CGPoint {
                return static_cast<UIGestureRecognizer*>(self)->locationInView(objc::cast<UIView>(view));
            });
        objc::addMethod(
            c, "requireGestureRecognizerToFail:", +[](id self, SEL, id other) {
                static_cast<UIGestureRecognizer*>(self)->requireGestureRecognizerToFail(
                    objc::cast<UIGestureRecognizer>(other));
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

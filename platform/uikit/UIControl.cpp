#include "UIControl.h"

void UIControl::addTarget(id target, SEL action, unsigned long events) {
    if (!action)
        return;
    targetActions_.push_back({target, action, events});
}

void UIControl::sendActionsForControlEvents(unsigned long events) {
    objc::Ref<UIControl> keep = this;
    // An action may add targets; walk a copy.
    auto targetActions = targetActions_;
    for (const auto& entry : targetActions) {
        if (!(entry.events & events) || !entry.target)
            continue;
        if (entry.action->name.back() == ':')
            objc::send(entry.target.get(), entry.action, static_cast<id>(this));
        else
            objc::send(entry.target.get(), entry.action);
    }
}

Class UIControl::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIControl>("UIControl", UIView::staticClass());
        objc::addMethod(
            c, "addTarget:action:forControlEvents:",
            +[](id self, SEL, id target, SEL action, unsigned long events) {
                static_cast<UIControl*>(self)->addTarget(target, action, events);
            });
        objc::addMethod(
            c, "sendActionsForControlEvents:", +[](id self, SEL, unsigned long events) {
                static_cast<UIControl*>(self)->sendActionsForControlEvents(events);
            });
        objc::addMethod(
            c, "isEnabled", +[](id self, SEL) -> bool { return static_cast<UIControl*>(self)->isEnabled(); });
        objc::addMethod(
            c, "state",
            +[](id self, SEL) -> unsigned long { return static_cast<UIControl*>(self)->state(); });
        objc::addMethod(
            c, "setEnabled:", +[](id self, SEL, bool enabled) {
                static_cast<UIControl*>(self)->setEnabled(enabled);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

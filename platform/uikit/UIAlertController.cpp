#include "UIAlertController.h"
#include "StringCopy.h"

#include "foundation/NSArray.h"

#include <algorithm>

UIAlertAction* UIAlertAction::make(id title, long style, NSBlock* handler) {
    auto* action = objc::make<UIAlertAction>(staticClass());
    action->title_ = copyString(title);
    action->style_ = style;
    action->handler_ = handler;
    return action;
}

Class UIAlertAction::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIAlertAction>("UIAlertAction", NSObject::staticClass());
        objc::addClassMethod(
            c, "actionWithTitle:style:handler:", +[](id, SEL, id title, long style, id handler) -> id {
                return UIAlertAction::make(title, style, objc::cast<NSBlock>(handler));
            });
        objc::addMethod(
            c, "title", +[](id action, SEL) -> id { return static_cast<UIAlertAction*>(action)->title(); });
        objc::addMethod(
            c, "style", +[](id action, SEL) -> long { return static_cast<UIAlertAction*>(action)->style(); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

UIAlertController* UIAlertController::make(id title, id message, long preferredStyle) {
    auto* alert = objc::make<UIAlertController>(staticClass());
    alert->setModalPresentationStyle(UIModalPresentationOverFullScreen); // drawn as an alert, over everything
    alert->title_ = copyString(title);
    alert->message_ = copyString(message);
    alert->preferredStyle_ = preferredStyle;
    return alert;
}

void UIAlertController::addAction(UIAlertAction* action) {
    if (!action)
        return;
    if (action->style() == UIAlertActionStyleCancel &&
        std::any_of(actions_.begin(), actions_.end(),
                    [](const auto& other) { return other->style() == UIAlertActionStyleCancel; }))
        objc::raise(objc::NSInternalInconsistencyException,
                    "UIAlertController can only have one action with a style of UIAlertActionStyleCancel");
    actions_.emplace_back(action);
}

namespace {
UIAlertController* self(id object) {
    return static_cast<UIAlertController*>(object);
}
} // namespace

Class UIAlertController::staticClass() {
    static Class cls = [] {
        Class c =
            objc::defineNativeClass<UIAlertController>("UIAlertController", UIViewController::staticClass());
        objc::addClassMethod(
            c, "alertControllerWithTitle:message:preferredStyle:",
            +[](id, SEL, id title, id message, long style) -> id {
                return UIAlertController::make(title, message, style);
            });
        objc::addMethod(
            c, "title", +[](id alert, SEL) -> id { return self(alert)->title(); });
        objc::addMethod(
            c, "message", +[](id alert, SEL) -> id { return self(alert)->message(); });
        objc::addMethod(
            c, "preferredStyle", +[](id alert, SEL) -> long { return self(alert)->preferredStyle(); });
        objc::addMethod(
            c, "actions", +[](id alert, SEL) -> id {
                const auto& actions = self(alert)->actions();
                return NSArray::make(std::vector<objc::Ref<objc::Object>>(actions.begin(), actions.end()));
            });
        objc::addMethod(
            c, "addAction:", +[](id alert, SEL, id action) {
                self(alert)->addAction(objc::cast<UIAlertAction>(action));
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

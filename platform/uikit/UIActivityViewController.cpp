#include "UIActivityViewController.h"

#include "foundation/NSArray.h"

UIActivityViewController* UIActivityViewController::make(std::vector<objc::Ref<objc::Object>> items) {
    auto* controller = objc::make<UIActivityViewController>(staticClass());
    controller->items_ = std::move(items);
    return controller;
}

Class UIActivityViewController::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIActivityViewController>("UIActivityViewController",
                                                                    UIViewController::staticClass());
        objc::addMethod(
            c, "initWithActivityItems:applicationActivities:", +[](id controller, SEL, id items, id) -> id {
                auto& kept = static_cast<UIActivityViewController*>(controller)->items_;
                kept.clear();
                if (auto* list = objc::cast<NSArray>(items))
                    kept.assign(list->begin(), list->end());
                return controller;
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

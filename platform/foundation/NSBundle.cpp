#include "NSBundle.h"
#include "NSString.h"

namespace {
objc::Ref<NSBundle>& mainBundleStorage() {
    // Lives as long as the process, as the main bundle does.
    static auto* bundle = new objc::Ref<NSBundle>;
    return *bundle;
}
} // namespace

NSBundle* NSBundle::mainBundle() {
    auto& bundle = mainBundleStorage();
    if (!bundle)
        bundle = static_cast<NSBundle*>(class_createInstance(staticClass(), 0));
    return bundle.get();
}

void NSBundle::setMainBundleIdentifier(std::optional<std::string> identifier) {
    mainBundle()->identifier_ = std::move(identifier);
}

Class NSBundle::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSBundle>("NSBundle", NSObject::staticClass());
        objc::addClassMethod(
            c, "mainBundle", +[](id, SEL) -> id { return NSBundle::mainBundle(); });
        objc::addMethod(
            c, "bundleIdentifier", +[](id self, SEL) -> id {
                const auto& identifier = static_cast<NSBundle*>(self)->bundleIdentifier();
                return identifier ? NSString::make(*identifier) : nullptr;
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

#include "NSProcessInfo.h"
#include "SystemVersion.h"

#include <tuple>

NSProcessInfo* NSProcessInfo::processInfo() {
    // One for the process, as +processInfo answers.
    static objc::Ref<NSProcessInfo> shared = objc::makeOwned<NSProcessInfo>(staticClass());
    return shared.get();
}

Class NSProcessInfo::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<NSProcessInfo>("NSProcessInfo", NSObject::staticClass());
        objc::addClassMethod(
            c, "processInfo", +[](id, SEL) -> id { return processInfo(); });
        objc::addMethod(
            c, "isOperatingSystemAtLeastVersion:", +[](id, SEL, NSOperatingSystemVersion version) -> bool {
                const auto& running = runningSystemVersion();
                return std::tie(running.majorVersion, running.minorVersion, running.patchVersion) >=
                       std::tie(version.majorVersion, version.minorVersion, version.patchVersion);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

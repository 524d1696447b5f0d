#include "AppProcess.h"

#include "apps/AppLaunch.h"
#include "apps/HostDrift.h"
#include "foundation/NSBundle.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <map>

UIWindow* launchApp(std::string_view name, const nlohmann::json& content,
                    const std::function<void()>& beforeStart) {
    const apps::AppDescription* app = apps::findApp(name);
    if (!app)
        throw std::invalid_argument("no app " + std::string(name));
    NSBundle::setMainBundleIdentifier(app->bundleIdentifier);
    UIScreen::setMainScreenSize({390, 844});
    if (auto registered = apps::registerAppClasses(*app, content); !registered)
        throw std::invalid_argument(registered.error());
    if (beforeStart)
        beforeStart();
    return apps::startApp(*app, content);
}

namespace {

struct CountedMethod {
    IMP previous;
    std::vector<id> receivers;
};

std::map<SEL, CountedMethod>& countedMethods() {
    static std::map<SEL, CountedMethod> methods;
    return methods;
}

void countingImplementation(id self, SEL cmd) {
    CountedMethod& method = countedMethods().at(cmd);
    method.receivers.push_back(self);
    reinterpret_cast<void (*)(id, SEL)>(method.previous)(self, cmd);
}

} // namespace

void countCalls(const char* className, const char* selector) {
    Class cls = objc_getClass(className);
    SEL sel = sel_registerName(selector);
    ASSERT_NE(cls, nullptr) << className;
    auto own = cls->methods.find(sel);
    ASSERT_NE(own, cls->methods.end()) << className << " has no " << selector << " of its own";
    ASSERT_EQ(own->second.types, "v@:");
    countedMethods()[sel] = {method_setImplementation(&own->second, objc::imp(&countingImplementation)), {}};
}

const std::vector<id>& countedReceivers(const char* selector) {
    return countedMethods().at(sel_registerName(selector)).receivers;
}

#include "AppProcess.h"

#include "apps/AppLaunch.h"
#include "device/Device.h"
#include "foundation/NSBundle.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// The temporary device a launch in this process made. Only that folder is ever removed:
// the device root defaults to the machine's own "/" until a launch sets it.
std::filesystem::path& temporaryDevice() {
    static std::filesystem::path folder;
    return folder;
}
} // namespace

void inChildProcess(const std::function<void()>& body) {
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        int code = 0;
        try {
            objc::AutoreleasePool pool;
            body();
            code = ::testing::Test::HasFailure() ? 1 : 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "uncaught exception in the app's process: %s\n", e.what());
            code = 2;
        }
        std::error_code error;
        if (!temporaryDevice().empty())
            std::filesystem::remove_all(temporaryDevice(), error);
        std::fflush(stdout);
        std::fflush(stderr);
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the app's process ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the app's process failed (see above)";
}

UIWindow* launchApp(std::string_view name, const nlohmann::json& content,
                    const std::function<void()>& beforeStart) {
    const apps::AppDescription* app = apps::findApp(name);
    if (!app)
        throw std::invalid_argument("no app " + std::string(name));
    std::string root = (std::filesystem::temp_directory_path() / "lexorna-apps-XXXXXX").string();
    if (!::mkdtemp(root.data()))
        throw std::runtime_error("no temporary device");
    temporaryDevice() = root;
    device::Device::setRoot(root);
    NSBundle::setMainBundleIdentifier(app->bundleIdentifier);
    UIScreen::setMainScreenSize({390, 844});
    app->registerClasses();
    if (beforeStart)
        beforeStart();
    return apps::startApp(*app, content);
}

UIView* findView(UIView* root, std::string_view identifier) {
    if (!root)
        return nullptr;
    if (root->accessibilityIdentifier() == identifier)
        return root;
    for (const auto& subview : root->subviews())
        if (UIView* found = findView(subview.get(), identifier))
            return found;
    return nullptr;
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

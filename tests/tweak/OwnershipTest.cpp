// What the library makes, it lets go of: on a device +alloc answers an object the caller
// owns, and one the library never releases stays for the life of the host. The runtime
// counts the live instances of each class, as Instruments' allocations do.

#include "Launch.h"

#include "foundation/NSString.h"
#include "objc/Message.h"
#include "uikit/UIApplication.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using objc::send;

namespace {

std::size_t live(const char* className) {
    return objc_getClass(className)->liveInstances;
}

} // namespace

TEST(Ownership, SettingsReadsFilterChecksAndPanelsLeaveNothingBehind) {
    launch::inLaunch({.settings = launch::settingsWithTrue({"Aw", "WhatsApp"}),
                      .filter = launch::filterListing({launch::WhatsAppId}),
                      .content = R"({"messages": ["Hello there"]})"},
                     [](const launch::Observed& observed) {
                         ASSERT_EQ(observed.crash, "");
                         UIWindow* window = UIApplication::sharedApplication()->keyWindow();
                         UIView* message = launch::findViewOfClass(window, "WAMessageContainerView");
                         ASSERT_NE(message, nullptr);
                         auto* check = reinterpret_cast<BOOL (*)(NSString*)>(
                             dlsym(dlopen(LEXORNA_DYLIB, RTLD_NOW | RTLD_NOLOAD), "Check_If_Bundle_Exists"));
                         ASSERT_NE(check, nullptr);

                         const std::size_t dictionaries = live("NSMutableDictionary");
                         for (int i = 0; i < 10; ++i) {
                             objc::AutoreleasePool pool;
                             send(message, "layoutSubviews"); // a settings read, one recogniser more
                             check(NSString::make(launch::WhatsAppId));
                             send(message, "WAWordCopyCustom"); // a panel, presented and dismissed
                             send(window->rootViewController(),
                                  "dismissViewControllerAnimated:completion:", false, nullptr);
                         }
                         EXPECT_EQ(live("NSMutableDictionary"), dictionaries);
                         EXPECT_EQ(live("LexornaViewController"), 0u);
                     });
}

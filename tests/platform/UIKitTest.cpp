// Loading the platform defines the UIKit classes in the runtime, so a lookup by name finds
// each one before any code has touched it.

#include "uikit/UIKit.h"

#include "objc/Runtime.h"

#include <gtest/gtest.h>

TEST(UIKit, ClassesExistAtLoadWithTheirSuperclasses) {
    struct Expected {
        const char* name;
        const char* superclass;
    } classes[] = {
        {"UILabel", "UIView"},
        {"UIScrollView", "UIView"},
        {"UITextView", "UIScrollView"},
        {"UIButton", "UIControl"},
        {"UIImageView", "UIView"},
        {"UIImage", "NSObject"},
        {"CGImage", "NSObject"},
        {"UIPasteboard", "NSObject"},
        {"UIAlertController", "UIViewController"},
        {"UIAlertAction", "NSObject"},
        {"UIActivityViewController", "UIViewController"},
    };
    for (const auto& expected : classes) {
        Class cls = objc_getClass(expected.name);
        ASSERT_NE(cls, nullptr) << expected.name;
        EXPECT_STREQ(class_getName(class_getSuperclass(cls)), expected.superclass) << expected.name;
    }
    EXPECT_TRUE(class_getClassMethod(objc_getClass("UIButton"), sel_registerName("buttonWithType:")));
    EXPECT_TRUE(class_getClassMethod(objc_getClass("UIImage"), sel_registerName("imageNamed:")));
}

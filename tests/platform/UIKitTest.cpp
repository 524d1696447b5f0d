// Loading the platform defines the Foundation and UIKit classes in the runtime, so a
// lookup by name, as the library and the hosts make, finds each one before any code has
// touched it.

#include "uikit/UIKit.h"

#include "objc/Runtime.h"

#include <gtest/gtest.h>

TEST(Frameworks, ClassesExistAtLoadWithTheirSuperclasses) {
    struct Expected {
        const char* name;
        const char* superclass;
    } classes[] = {
        {"NSMutableString", "NSString"},
        {"NSAttributedString", "NSObject"},
        {"NSMutableArray", "NSArray"},
        {"NSMutableDictionary", "NSDictionary"},
        {"NSNumber", "NSObject"},
        {"NSData", "NSObject"},
        {"NSDate", "NSObject"},
        {"NSBundle", "NSObject"},
        {"NSURL", "NSObject"},
        {"NSFileManager", "NSObject"},
        {"UILabel", "UIView"},
        {"UITextView", "UIScrollView"},
        {"UIButton", "UIControl"},
        {"UIImageView", "UIView"},
        {"UIImage", "NSObject"},
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
}

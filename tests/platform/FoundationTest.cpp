// Registering Foundation defines every class in the runtime, so a lookup by name finds
// each one before any C++ code has touched it.

#include "foundation/Foundation.h"

#include "objc/Runtime.h"

#include <gtest/gtest.h>

TEST(Foundation, RegistrationDefinesEveryClassWithItsSuperclass) {
    registerFoundationClasses();
    registerFoundationClasses(); // a second call changes nothing
    struct Expected {
        const char* name;
        const char* superclass;
    } classes[] = {
        {"NSObject", nullptr},
        {"NSString", "NSObject"},
        {"NSMutableString", "NSString"},
        {"NSAttributedString", "NSObject"},
        {"NSNumber", "NSObject"},
        {"NSData", "NSObject"},
        {"NSDate", "NSObject"},
        {"NSArray", "NSObject"},
        {"NSMutableArray", "NSArray"},
        {"NSDictionary", "NSObject"},
        {"NSMutableDictionary", "NSDictionary"},
        {"NSBundle", "NSObject"},
        {"NSURL", "NSObject"},
        {"NSFileManager", "NSObject"},
    };
    for (const auto& expected : classes) {
        Class cls = objc_getClass(expected.name);
        ASSERT_NE(cls, nullptr) << expected.name;
        Class superclass = class_getSuperclass(cls);
        EXPECT_STREQ(superclass ? class_getName(superclass) : nullptr, expected.superclass) << expected.name;
    }
    EXPECT_TRUE(class_getClassMethod(objc_getClass("NSFileManager"), sel_registerName("defaultManager")));
    EXPECT_TRUE(
        class_getClassMethod(objc_getClass("NSURL"), sel_registerName("fileURLWithPath:isDirectory:")));
    EXPECT_TRUE(class_getInstanceMethod(objc_getClass("NSAttributedString"), sel_registerName("string")));
}

// The object runtime's semantics: messaging nil, unknown selectors, adding versus
// inheriting methods, signature checks, instance variables and key-value lookup.

#include "DeclareClass.h"

#include "foundation/NSNumber.h"
#include "foundation/NSString.h"
#include "objc/Exception.h"
#include "objc/Weak.h"
#include "uikit/UITapGestureRecognizer.h"

#include <gtest/gtest.h>

#include <cstdio>

using objc::send;

namespace {

long answer42(id, SEL) {
    return 42;
}
long answer7(id, SEL) {
    return 7;
}

} // namespace

TEST(Runtime, MessageToNilRunsNothingAndAnswersZero) {
    objc::AutoreleasePool pool;
    id nothing = nullptr;
    EXPECT_EQ(send<long>(nothing, "anything"), 0);
    EXPECT_EQ(send<id>(nothing, "anything"), nullptr);
    EXPECT_FALSE(send<bool>(nothing, "boolValue"));
    send(nothing, "setHidden:", true); // no crash, nothing happens
}

TEST(Runtime, UnknownSelectorRaisesWithTheRuntimesMessage) {
    objc::AutoreleasePool pool;
    Class cls = declareClass("RTUnknownSelector");
    try {
        send(objc::make(cls), "frobnicate");
        FAIL() << "expected an exception";
    } catch (const objc::Exception& e) {
        EXPECT_EQ(e.name(), "NSInvalidArgumentException");
        EXPECT_NE(
            e.reason().find("-[RTUnknownSelector frobnicate]: unrecognized selector sent to instance 0x"),
            std::string::npos)
            << e.reason();
    }
    EXPECT_THROW(send(cls, "frobnicate"), objc::Exception);
}

TEST(Runtime, AddMethodAddsOnlyWhenTheClassItselfLacksItAndSuperReachesTheInherited) {
    objc::AutoreleasePool pool;
    Class base = declareClass("RTAddBase");
    Class derived = declareClass("RTAddDerived", {}, base);
    SEL sel = sel_registerName("answer");

    EXPECT_TRUE(class_addMethod(base, sel, objc::imp(answer42), "q@:"));
    EXPECT_FALSE(class_addMethod(base, sel, objc::imp(answer7), "q@:")) << "own method is kept";
    EXPECT_EQ(send<long>(make(derived), sel), 42) << "inherited";
    // An inherited method may be overridden, and the next send runs the override.
    EXPECT_TRUE(class_addMethod(derived, sel, objc::imp(answer7), "q@:"));
    EXPECT_FALSE(class_addMethod(nullptr, sel, objc::imp(answer7), "q@:"));

    EXPECT_EQ(send<long>(make(base), sel), 42);
    EXPECT_EQ(send<long>(make(derived), sel), 7);
    EXPECT_EQ(objc::sendSuper<long>(make(derived), derived, "answer"), 42);
}

TEST(Runtime, SendWithAnotherSignatureIsRefusedButFrameOffsetsDoNotMatter) {
    objc::AutoreleasePool pool;
    Class cls = declareClass("RTSignature");
    class_addMethod(cls, sel_registerName("answer"), objc::imp(answer42), "q16@0:8");
    id object = objc::make(cls);
    EXPECT_EQ(send<long>(object, "answer"), 42);
    EXPECT_THROW(send<double>(object, "answer"), objc::Exception);
    EXPECT_THROW(send<long>(object, "answer", 1), objc::Exception);
    EXPECT_THROW(send<void>(object, "answer"), objc::Exception);
    EXPECT_FALSE(objc::sameSignature("v@:@", "v@:"));
}

TEST(Runtime, NamesAreLookedUpByTheirTextWhereverItLies) {
    // One buffer holding one name, then another: the name's address is no key.
    char name[32] = "RTNamedFirst";
    Class first = declareClass("RTNamedFirst");
    Class second = declareClass("RTNamedSecond");
    EXPECT_EQ(objc_getClass(name), first);
    std::snprintf(name, sizeof name, "RTNamedSecond");
    EXPECT_EQ(objc_getClass(name), second);
    std::snprintf(name, sizeof name, "RTNamedNobody");
    EXPECT_EQ(objc_getClass(name), nullptr);

    std::snprintf(name, sizeof name, "firstSelector");
    SEL one = sel_registerName(name);
    std::snprintf(name, sizeof name, "secondSelector");
    SEL two = sel_registerName(name);
    EXPECT_NE(one, two);
    EXPECT_EQ(one, sel_registerName("firstSelector"));
    EXPECT_STREQ(sel_getName(two), "secondSelector");

    std::snprintf(name, sizeof name, "constant one");
    NSString* constant = NSString::literal(name);
    std::snprintf(name, sizeof name, "constant two");
    EXPECT_EQ(NSString::literal(name)->utf8(), "constant two");
    EXPECT_EQ(NSString::literal("constant one"), constant) << "one object per text";
}

TEST(Runtime, KeyValueLookupFindsAccessorThenInstanceVariable) {
    objc::AutoreleasePool pool;
    Class cls = declareClass("RTKeyValue", [](Class c) {
        ASSERT_TRUE(class_addIvar(c, "_title", sizeof(id), 3, "@"));
        ASSERT_TRUE(class_addIvar(c, "plain", sizeof(id), 3, "@"));
        objc::addMethod(
            c, "count", +[](id, SEL) -> long { return 3; });
        objc::addMethod(
            c, "computed", +[](id, SEL) -> id { return NSString::make("from accessor"); });
    });
    EXPECT_FALSE(class_addIvar(cls, "_late", sizeof(id), 3, "@")) << "only before registration";
    Class wide = objc_allocateClassPair(NSObject::staticClass(), "RTWideIvar", 0);
    EXPECT_FALSE(class_addIvar(wide, "_wide", sizeof(id), alignof(id), "@"))
        << "the alignment is log2 of the bytes: 8 would ask for 256";

    id object = objc::make(cls);
    object_setIvar(object, class_getInstanceVariable(cls, "_title"), NSString::make("underscored"));
    object_setIvar(object, class_getInstanceVariable(cls, "plain"), NSString::make("bare"));

    EXPECT_EQ(utf8Of(NSObject::valueForKey(object, "computed")), "from accessor");
    EXPECT_EQ(utf8Of(NSObject::valueForKey(object, "title")), "underscored");
    EXPECT_EQ(utf8Of(NSObject::valueForKey(object, "plain")), "bare");
    auto* count = objc::dynCast<NSNumber>(NSObject::valueForKey(object, "count"));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->longLongValue(), 3);
    try {
        NSObject::valueForKey(object, "missing");
        FAIL() << "expected the undefined-key exception";
    } catch (const objc::Exception& e) {
        EXPECT_EQ(e.name(), "NSUnknownKeyException");
    }
}

TEST(Runtime, PropertyAccessorsFindTheVariableByItsOffsetAndRefuseAnOffsetWithoutOne) {
    objc::AutoreleasePool pool;
    Class cls = declareClass("RTProperty", [](Class c) {
        ASSERT_TRUE(class_addIvar(c, "_first", sizeof(id), 3, "@"));
        ASSERT_TRUE(class_addIvar(c, "_second", sizeof(id), 3, "@"));
    });
    id object = objc::make(cls);
    Ivar second = class_getInstanceVariable(cls, "_second");
    objc_setProperty(object, nullptr, ivar_getOffset(second), NSString::make("two"), true, false);
    EXPECT_EQ(utf8Of(object_getIvar(object, second)), "two");
    EXPECT_EQ(utf8Of(objc_getProperty(object, nullptr, ivar_getOffset(second), true)), "two");
    EXPECT_EQ(object_getIvar(object, class_getInstanceVariable(cls, "_first")), nullptr);

    for (std::ptrdiff_t offset :
         {std::ptrdiff_t{0}, ivar_getOffset(second) + 1, ivar_getOffset(second) + 8}) {
        SCOPED_TRACE(offset);
        EXPECT_THROW(objc_getProperty(object, nullptr, offset, true), objc::Exception);
        EXPECT_THROW(objc_setProperty(object, nullptr, offset, nullptr, true, false), objc::Exception);
    }
}

TEST(Runtime, ReferenceCountsFollowStrongReferences) {
    objc::Ref<NSString> kept;
    {
        objc::AutoreleasePool pool;
        NSString* string = NSString::make("kept");
        kept = string;
        EXPECT_EQ(string->retainCount(), 2u); // the pool's and ours

        id global = nullptr;
        objc_storeStrong(&global, string);
        EXPECT_EQ(string->retainCount(), 3u);
        objc_storeStrong(&global, NSString::make("second"));
        EXPECT_EQ(string->retainCount(), 2u) << "the old value is released";
        objc_storeStrong(&global, nullptr);
    }
    EXPECT_EQ(kept->retainCount(), 1u);
    EXPECT_EQ(kept->utf8(), "kept");
}

// Delegates and targets are weak: once the app lets go of one, the recogniser or control
// holding it reads nil and sends nothing, instead of messaging freed memory.
TEST(Runtime, WeakReferencesReadNilOnceTheirObjectIsGone) {
    objc::AutoreleasePool outer;
    objc::Weak<NSString> weak;
    objc::Weak<NSString> copy;
    auto* recognizer = objc::make<UITapGestureRecognizer>(UITapGestureRecognizer::staticClass());
    {
        objc::AutoreleasePool pool;
        NSString* string = NSString::make("target");
        weak = string;
        copy = weak;
        recognizer->setTargetAction(string, sel_registerName("length"));
        recognizer->setDelegate(string);
        EXPECT_EQ(string->retainCount(), 1u) << "only the pool holds it";
        EXPECT_EQ(copy.get(), string);
    }
    EXPECT_EQ(weak.get(), nullptr);
    EXPECT_EQ(copy.get(), nullptr);
    EXPECT_EQ(recognizer->target(), nullptr);
    EXPECT_EQ(recognizer->delegate(), nullptr);
    EXPECT_NO_THROW(recognizer->sendAction());
}

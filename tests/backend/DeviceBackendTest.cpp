// The device backend over Debian's GCC Objective-C runtime: each send, registration,
// ivar, block, pool and catch that the library makes on a phone, made here against a
// runtime of someone else's.

#include "Runtime.h"
#include "StandIns.h"

#include <cstring>
#include <gtest/gtest.h>

extern "C" {
extern void* _NSConcreteGlobalBlock[32];
const char* escapedName(const char* caughtName, void (*body)(void*), void* context);
void invokeBlock(id block);
const void* compilersGlobalBlock();
}

namespace {

using objc::send;
using standins::retainCount;

template <class Add> Class defineClass(const char* name, const char* superclass, Add add) {
    Class cls = objc_allocateClassPair(objc_getClass(superclass), name, 0);
    add(cls);
    objc_registerClassPair(cls);
    return cls;
}

// Releases what the test makes when it ends.
class DeviceBackend : public ::testing::Test {
protected:
    id create(Class cls) { return send<id>(send<id>(send<id>(cls, "alloc"), "init"), "autorelease"); }

    objc::AutoreleasePool pool;
};

const char* encodingOf(Class cls, const char* sel) {
    return method_getTypeEncoding(class_getInstanceMethod(cls, sel_registerName(sel)));
}

id echo(id, SEL, id value) {
    return value;
}
bool negateBool(id, SEL, bool value) {
    return !value;
}
long negate(id, SEL, long value) {
    return -value;
}
unsigned long twice(id, SEL, unsigned long value) {
    return 2 * value;
}
float half(id, SEL, float value) {
    return value / 2;
}
double sum(id, SEL, float single, double wide) {
    return single + wide;
}
SEL echoSelector(id, SEL, SEL value) {
    return value;
}

// What the view factory's methods received: a CGRect goes on the stack, the rest in
// registers around it.
struct Received {
    id objects[3];
    CGRect frame;
    float duration;
    unsigned long touches;
    SEL action;
} received;

id button(id, SEL, id name, CGRect frame, id view, id target, SEL action) {
    received = {{name, view, target}, frame, 0, 0, action};
    return name;
}

id press(id, SEL, id view, float duration, unsigned long touches, id target, SEL action) {
    received = {{view, target, nullptr}, {}, duration, touches, action};
    return view;
}

bool fileExists(id, SEL, id, bool* isDirectory) {
    *isDirectory = true;
    return true;
}

bool removeItem(id, SEL, id path, id* error) {
    if (error)
        *error = path;
    return false;
}

Class probeClass() {
    static Class cls = defineClass("Probe", "NSObject", [](Class c) {
        objc::addMethod(c, "echo:", echo);
        objc::addMethod(c, "negate:", negateBool);
        objc::addMethod(c, "negateLong:", negate);
        objc::addMethod(c, "twice:", twice);
        objc::addMethod(c, "half:", half);
        objc::addMethod(c, "sum:with:", sum);
        objc::addMethod(c, "echoSelector:", echoSelector);
        objc::addMethod(c, "InitButtonWithName:Frame:InView:Target:Action:", button);
        objc::addMethod(c, "InitLongPressInView:Duration:Touches:Target:Action:", press);
        class_addMethod(c, sel_registerName("fileExistsAtPath:isDirectory:"),
                        reinterpret_cast<IMP>(fileExists), "B@:@^B");
        class_addMethod(c, sel_registerName("removeItemAtPath:error:"), reinterpret_cast<IMP>(removeItem),
                        "B@:@^@");
        objc::addClassMethod(c, "make:", echo);
    });
    return cls;
}

TEST_F(DeviceBackend, SendsCarryEachScalarTheLibraryUses) {
    id probe = create(probeClass());
    id text = objc::string("text");
    EXPECT_EQ(send<id>(probe, "echo:", text), text);
    EXPECT_STREQ(standins::text(text), "text");
    EXPECT_TRUE(send<bool>(probe, "negate:", false));
    EXPECT_FALSE(send<bool>(probe, "negate:", true));
    EXPECT_EQ(send<long>(probe, "negateLong:", 1L << 40), -(1L << 40));
    EXPECT_EQ(send<unsigned long>(probe, "twice:", 1UL << 62), 1UL << 63);
    EXPECT_EQ(send<float>(probe, "half:", 0.75f), 0.375f);
    EXPECT_EQ(send<double>(probe, "sum:with:", 0.5f, 1e300), 0.5 + 1e300);
    SEL action = sel_registerName("Close");
    EXPECT_EQ(send<SEL>(probe, "echoSelector:", action), action);
    EXPECT_EQ(send<Class>(probeClass(), "class"), probeClass());
    EXPECT_EQ(send<id>(probeClass(), "make:", text), text);
}

TEST_F(DeviceBackend, SendsKeepTheFactorysArgumentsAroundARectAndAFloat) {
    id probe = create(probeClass());
    id name = objc::string("X"), view = create(probeClass()), target = create(probeClass());
    SEL action = sel_registerName("Close");
    CGRect frame{{1.5, -2}, {320, 1e10}};
    EXPECT_EQ(
        send<id>(probe, "InitButtonWithName:Frame:InView:Target:Action:", name, frame, view, target, action),
        name);
    EXPECT_EQ(received.objects[0], name);
    EXPECT_EQ(received.objects[1], view);
    EXPECT_EQ(received.objects[2], target);
    EXPECT_EQ(std::memcmp(&received.frame, &frame, sizeof frame), 0);
    EXPECT_EQ(received.action, action);

    send<id>(probe, "InitLongPressInView:Duration:Touches:Target:Action:", view, 0.4f, 2UL, target, action);
    EXPECT_EQ(received.objects[0], view);
    EXPECT_EQ(received.duration, 0.4f);
    EXPECT_EQ(received.touches, 2UL);
    EXPECT_EQ(received.objects[1], target);
    EXPECT_EQ(received.action, action);

    send<id>(probe, "InitButtonWithName:Frame:InView:Target:Action:", name, CGRectNull, view, target, action);
    EXPECT_EQ(std::memcmp(&received.frame, &CGRectNull, sizeof frame), 0);
}

TEST_F(DeviceBackend, SendsFillOutParametersAndNilAnswersZero) {
    id probe = create(probeClass());
    id path = objc::string("/var/mobile");
    bool isDirectory = false;
    EXPECT_TRUE(send<bool>(probe, "fileExistsAtPath:isDirectory:", path, &isDirectory));
    EXPECT_TRUE(isDirectory);
    id error = nullptr;
    EXPECT_FALSE(send<bool>(probe, "removeItemAtPath:error:", path, &error));
    EXPECT_EQ(error, path);
    send<bool>(probe, "removeItemAtPath:error:", path, static_cast<id*>(nullptr));

    // Non-zero arguments leave their registers non-zero: nil must clear the result's.
    id nil = nullptr;
    EXPECT_EQ(send<id>(nil, "echo:", path), nullptr);
    EXPECT_FALSE(send<bool>(nil, "negate:", false));
    EXPECT_EQ(send<long>(nil, "negateLong:", 7L), 0);
    EXPECT_EQ(send<unsigned long>(nil, "twice:", 7UL), 0UL);
    EXPECT_EQ(send<float>(nil, "half:", 3.0f), 0.0f);
    EXPECT_EQ(send<double>(nil, "sum:with:", 3.0f, 4.0), 0.0);
    EXPECT_EQ(send<SEL>(nil, "echoSelector:", sel_registerName("Close")), nullptr);
    isDirectory = false;
    EXPECT_FALSE(send<bool>(nil, "fileExistsAtPath:isDirectory:", path, &isDirectory));
    EXPECT_FALSE(isDirectory);
}

id whoAmI(id self, SEL) {
    return self;
}
double scaled(id, SEL, double by, CGRect frame) {
    return by * 2 + frame.size.width;
}
Class derivedClass();
id derivedWhoAmI(id self, SEL) {
    return objc::sendSuper<id>(self, derivedClass(), "whoAmI");
}
double derivedScaled(id self, SEL, double by, CGRect frame) {
    return objc::sendSuper<double>(self, derivedClass(), "scaled:frame:", by, frame) + 1;
}

Class derivedClass() {
    static Class derived = [] {
        defineClass("SuperBase", "NSObject", [](Class c) {
            objc::addMethod(c, "whoAmI", whoAmI);
            objc::addMethod(c, "scaled:frame:", scaled);
        });
        return defineClass("SuperDerived", "SuperBase", [](Class c) {
            objc::addMethod(c, "whoAmI", derivedWhoAmI);
            objc::addMethod(c, "scaled:frame:", derivedScaled);
        });
    }();
    return derived;
}

TEST_F(DeviceBackend, SendSuperRunsTheSuperclassMethodOnTheSameReceiver) {
    id object = create(derivedClass());
    EXPECT_EQ(send<id>(object, "whoAmI"), object);
    EXPECT_EQ(send<double>(object, "scaled:frame:", 3.0, CGRect{{0, 0}, {10, 20}}), 3 * 2 + 10 + 1);
}

void nothing(id, SEL) {}

TEST_F(DeviceBackend, RegistrationKeepsTheEncodingsAndRefusesATakenName) {
    Class probe = probeClass();
    EXPECT_STREQ(encodingOf(probe, "echo:"), "@@:@");
    EXPECT_STREQ(encodingOf(probe, "negate:"), "B@:B");
    EXPECT_STREQ(encodingOf(probe, "negateLong:"), "q@:q");
    EXPECT_STREQ(encodingOf(probe, "twice:"), "Q@:Q");
    EXPECT_STREQ(encodingOf(probe, "half:"), "f@:f");
    EXPECT_STREQ(encodingOf(probe, "sum:with:"), "d@:fd");
    EXPECT_STREQ(encodingOf(probe, "echoSelector:"), ":@::");
    EXPECT_STREQ(encodingOf(probe, "InitButtonWithName:Frame:InView:Target:Action:"),
                 "@@:@{CGRect={CGPoint=dd}{CGSize=dd}}@@:");
    EXPECT_STREQ(encodingOf(object_getClass(probe), "make:"), "@@:@");
    EXPECT_EQ(class_getInstanceMethod(probe, sel_registerName("make:")), nullptr);

    // An inherited method may be overridden, an own one is not replaced.
    Class sub = objc_allocateClassPair(probe, "ProbeSub", 0);
    EXPECT_TRUE(objc::addMethod(sub, "echo:", echo));
    EXPECT_FALSE(objc::addMethod(sub, "echo:", echo));
    EXPECT_TRUE(objc::addMethod(sub, "nothing", nothing));
    objc_registerClassPair(sub);
    EXPECT_STREQ(encodingOf(sub, "nothing"), "v@:");
    send(create(sub), "nothing");

    EXPECT_EQ(objc_allocateClassPair(objc_getClass("NSObject"), "Probe", 0), nullptr);
    EXPECT_EQ(objc_getClass("Probe"), probe);
}

ptrdiff_t textOffset;
id text(id self, SEL cmd) {
    return objc_getProperty(self, cmd, textOffset, YES);
}
void setText(id self, SEL cmd, id value) {
    objc_setProperty(self, cmd, textOffset, value, YES, 0);
}

TEST_F(DeviceBackend, IvarsAlignByLog2AndPropertiesGoByOffset) {
    Class holder = defineClass("TextHolder", "NSObject", [](Class c) {
        EXPECT_TRUE(class_addIvar(c, "_flag", 1, 0, "c"));
        EXPECT_TRUE(class_addIvar(c, "_text", sizeof(id), 3, "@"));
        objc::addMethod(c, "text", text);
        objc::addMethod(c, "setText:", setText);
    });
    ptrdiff_t flagOffset = ivar_getOffset(class_getInstanceVariable(holder, "_flag"));
    textOffset = ivar_getOffset(class_getInstanceVariable(holder, "_text"));
    EXPECT_EQ(textOffset, (flagOffset + 8) / 8 * 8);

    id object = create(holder);
    id first = objc::string("first"), second = objc::string("second");
    send(object, "setText:", first);
    EXPECT_EQ(retainCount(first), 2);
    send(object, "setText:", second);
    EXPECT_EQ(retainCount(first), 1);
    EXPECT_EQ(retainCount(second), 2);
    EXPECT_EQ(send<id>(object, "text"), second);
    send(object, "setText:", static_cast<id>(nullptr));
}

TEST_F(DeviceBackend, EmptyBlockIsAGlobalBlockTheCompilerCanCall) {
    struct Layout {
        void* isa;
        int flags;
        int reserved;
        void (*invoke)(void*);
    };
    auto* ours = reinterpret_cast<const Layout*>(objc::emptyBlock());
    auto* compilers = static_cast<const Layout*>(compilersGlobalBlock());
    EXPECT_EQ(ours->isa, _NSConcreteGlobalBlock);
    EXPECT_EQ(compilers->isa, _NSConcreteGlobalBlock);
    constexpr int isGlobal = 1 << 28;
    EXPECT_EQ(ours->flags & isGlobal, isGlobal);
    EXPECT_EQ(compilers->flags & isGlobal, isGlobal);
    invokeBlock(objc::emptyBlock());
}

TEST_F(DeviceBackend, PoolsPopInTheOrderTheyWerePushed) {
    int depth = standins::poolDepth();
    id kept;
    {
        objc::AutoreleasePool outer;
        {
            objc::AutoreleasePool inner;
            kept = send<id>(objc::string("kept"), "retain");
            EXPECT_EQ(standins::poolDepth(), depth + 2);
        }
        EXPECT_EQ(retainCount(kept), 1);
        EXPECT_EQ(standins::poolDepth(), depth + 1);
    }
    EXPECT_EQ(standins::poolDepth(), depth);
    EXPECT_EQ(standins::mispairedPops(), 0);
    send(kept, "release");
}

TEST_F(DeviceBackend, RunCatchingCatchesOnlyTheNamedException) {
    bool ran = false;
    EXPECT_TRUE(objc::catching("NSUndefinedKeyException", [&] { ran = true; }));
    EXPECT_TRUE(ran);

    bool finished = false;
    EXPECT_FALSE(objc::catching("NSUndefinedKeyException", [&] {
        standins::raise("NSUndefinedKeyException");
        finished = true;
    }));
    EXPECT_FALSE(finished);

    auto raiseUndefinedKey = [](void*) { standins::raise("NSUndefinedKeyException"); };
    EXPECT_STREQ(escapedName("NSUndefinedKey", raiseUndefinedKey, nullptr), "NSUndefinedKeyException");
    EXPECT_STREQ(escapedName("NSRangeException", raiseUndefinedKey, nullptr), "NSUndefinedKeyException");
    EXPECT_EQ(escapedName(
                  "NSRangeException", [](void*) {}, nullptr),
              nullptr);
}

} // namespace

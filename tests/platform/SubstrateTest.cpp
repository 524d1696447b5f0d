// Method replacement: own and inherited methods, and what the previous-implementation slot
// receives. Hooks that find no class or no method, and what the instruments record of
// each call, are checked where the library makes them, launch by launch.

#include "DeclareClass.h"

#include "substrate/Substrate.h"

#include <gtest/gtest.h>

using objc::send;

namespace {

long hostAnswer(id, SEL) {
    return 1;
}
long superAnswer(id, SEL) {
    return 2;
}
long hookedAnswer(id, SEL) {
    return 3;
}

} // namespace

TEST(Substrate, HookOnOwnMethodReplacesItAndHandsBackTheOld) {
    objc::AutoreleasePool pool;
    Class cls = declareClass("SBOwn");
    SEL sel = sel_registerName("answer");
    class_addMethod(cls, sel, objc::imp(hostAnswer), "q@:");

    IMP previous = nullptr;
    MSHookMessageEx(cls, sel, objc::imp(hookedAnswer), &previous);

    EXPECT_EQ(previous, objc::imp(hostAnswer));
    EXPECT_EQ(send<long>(objc::make(cls), sel), 3);
    EXPECT_EQ(cls->methods.size(), 1u) << "the method is replaced, not added";
    EXPECT_EQ(class_getInstanceMethod(cls, sel)->types, "q@:");

    // Without a slot for the previous implementation it replaces all the same.
    MSHookMessageEx(cls, sel, objc::imp(superAnswer), nullptr);
    EXPECT_EQ(send<long>(objc::make(cls), sel), 2);
}

TEST(Substrate, HookOnInheritedMethodOverridesInTheClassAndLeavesTheSuperclass) {
    objc::AutoreleasePool pool;
    Class base = declareClass("SBInheritedBase");
    Class derived = declareClass("SBInheritedDerived", {}, base);
    Class sibling = declareClass("SBInheritedSibling", {}, base);
    SEL sel = sel_registerName("answer");
    class_addMethod(base, sel, objc::imp(superAnswer), "q16@0:8");
    EXPECT_EQ(send<long>(objc::make(derived), sel), 2) << "inherited, before the hook";

    IMP previous = nullptr;
    MSHookMessageEx(derived, sel, objc::imp(hookedAnswer), &previous);

    EXPECT_EQ(previous, objc::imp(superAnswer)) << "what instances ran before";
    EXPECT_EQ(send<long>(objc::make(derived), sel), 3);
    EXPECT_EQ(send<long>(objc::make(base), sel), 2);
    EXPECT_EQ(send<long>(objc::make(sibling), sel), 2);
    ASSERT_TRUE(derived->methods.count(sel));
    EXPECT_EQ(derived->methods.at(sel).types, "q16@0:8") << "the override keeps the inherited encoding";
}

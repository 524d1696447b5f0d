// Method replacement: own and inherited methods, what the previous-implementation slot
// receives, calls that change nothing, and what the instruments record of each.

#include "DeclareClass.h"

#include "device/Instruments.h"
#include "substrate/RuntimeRecording.h"
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

// Runtime calls recorded since construction, so tests ignore what earlier ones left.
class RecordedCalls {
public:
    RecordedCalls() : start_(device::Instruments::shared().runtimeCalls().size()) {}
    std::vector<device::RuntimeCall> get() const {
        const auto& all = device::Instruments::shared().runtimeCalls();
        return {all.begin() + static_cast<std::ptrdiff_t>(start_), all.end()};
    }

private:
    std::size_t start_;
};

// The host's classes are those registered so far.
void markHostClasses() {
    device::Instruments::shared().markHostClassesRegistered(objc::classGeneration());
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

    IMP previous = nullptr;
    MSHookMessageEx(derived, sel, objc::imp(hookedAnswer), &previous);

    EXPECT_EQ(previous, objc::imp(superAnswer)) << "what instances ran before";
    EXPECT_EQ(send<long>(objc::make(derived), sel), 3);
    EXPECT_EQ(send<long>(objc::make(base), sel), 2);
    EXPECT_EQ(send<long>(objc::make(sibling), sel), 2);
    ASSERT_TRUE(derived->methods.count(sel));
    EXPECT_EQ(derived->methods.at(sel).types, "q16@0:8") << "the override keeps the inherited encoding";
}

TEST(Substrate, HookThatFindsNothingChangesNothing) {
    objc::AutoreleasePool pool;
    Class cls = declareClass("SBNothing");
    SEL sel = sel_registerName("answer");
    class_addMethod(cls, sel, objc::imp(hostAnswer), "q@:");

    IMP previous = nullptr;
    MSHookMessageEx(nullptr, sel, objc::imp(hookedAnswer), &previous);
    EXPECT_EQ(previous, nullptr);

    MSHookMessageEx(cls, sel_registerName("noSuchSelector"), objc::imp(hookedAnswer), &previous);
    EXPECT_EQ(previous, nullptr);
    EXPECT_FALSE(class_respondsToSelector(cls, sel_registerName("noSuchSelector")));
    EXPECT_EQ(cls->methods.size(), 1u);
    EXPECT_EQ(send<long>(objc::make(cls), sel), 1);
}

TEST(Substrate, HooksAndAdditionsOnHostClassesAreRecordedInOrder) {
    objc::AutoreleasePool pool;
    substrate::installRuntimeRecording();
    Class base = declareClass("SBRecordBase");
    Class host = declareClass("SBRecordHost", {}, base);
    SEL own = sel_registerName("own");
    SEL inherited = sel_registerName("inherited");
    class_addMethod(host, own, objc::imp(hostAnswer), "q@:");
    class_addMethod(base, inherited, objc::imp(superAnswer), "q@:");
    markHostClasses();

    RecordedCalls calls;
    MSHookMessageEx(host, own, objc::imp(hookedAnswer), nullptr);
    MSHookMessageEx(host, inherited, objc::imp(hookedAnswer), nullptr);
    MSHookMessageEx(host, sel_registerName("missing"), objc::imp(hookedAnswer), nullptr);
    MSHookMessageEx(nullptr, own, objc::imp(hookedAnswer), nullptr);
    class_addMethod(host, sel_registerName("added:"), objc::imp(hookedAnswer), "q@:@");
    class_addMethod(host, own, objc::imp(hookedAnswer), "q@:");
    class_addMethod(nullptr, own, objc::imp(hookedAnswer), "v@:");

    using Call = device::RuntimeCall;
    std::vector<Call> expected = {
        {"MSHookMessageEx", "SBRecordHost", "own", std::nullopt, "replaced"},
        {"MSHookMessageEx", "SBRecordHost", "inherited", std::nullopt, "replaced"},
        {"MSHookMessageEx", "SBRecordHost", "missing", std::nullopt, "no-method"},
        {"MSHookMessageEx", std::nullopt, "own", std::nullopt, "no-class"},
        {"class_addMethod", "SBRecordHost", "added:", "q@:@", "true"},
        {"class_addMethod", "SBRecordHost", "own", "q@:", "false"},
        {"class_addMethod", std::nullopt, "own", "v@:", "false"},
    };
    auto recorded = calls.get();
    ASSERT_EQ(recorded.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(recorded[i].call, expected[i].call);
        EXPECT_EQ(recorded[i].className, expected[i].className);
        EXPECT_EQ(recorded[i].selector, expected[i].selector);
        EXPECT_EQ(recorded[i].types, expected[i].types);
        EXPECT_EQ(recorded[i].result, expected[i].result);
    }
}

TEST(Substrate, ClassesRegisteredAfterTheMarkAreNotRecorded) {
    objc::AutoreleasePool pool;
    substrate::installRuntimeRecording();
    markHostClasses();
    RecordedCalls calls;

    // A class the library itself declares once the host's classes exist.
    Class own = declareClass("SBLibraryOwn", [](Class c) {
        class_addMethod(c, sel_registerName("answer"), objc::imp(hostAnswer), "q@:");
    });
    class_addMethod(own, sel_registerName("other"), objc::imp(hostAnswer), "q@:");
    MSHookMessageEx(own, sel_registerName("answer"), objc::imp(hookedAnswer), nullptr);

    EXPECT_TRUE(calls.get().empty());
}

#include "Substrate.h"
#include "RuntimeRecording.h"

#include <cassert>

namespace {

// What happened to one hook, as the instruments report it.
const char* hookMessage(Class cls, SEL sel, IMP replacement, IMP* previous) {
    if (!cls)
        return "no-class";
    const objc::Method* inherited = class_getInstanceMethod(cls, sel);
    if (!inherited)
        return "no-method";

    IMP before;
    if (auto own = cls->methods.find(sel); own != cls->methods.end()) {
        before = method_setImplementation(&own->second, replacement);
    } else {
        // Overriding in the class itself, rather than replacing the superclass's
        // method, keeps the hook to the class that was asked for. Done on the table
        // directly: this is the loader's doing, not a class_addMethod of the library.
        before = inherited->imp;
        auto [it, inserted] = cls->methods.emplace(sel, objc::Method{sel, replacement, inherited->types});
        cls->methodOrder.push_back(&it->second);
        objc::flushMethodCaches();
    }
    if (previous)
        *previous = before;
    return "replaced";
}

} // namespace

extern "C" void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* previous) {
    assert(replacement && "a hook needs a replacement implementation");
    const char* result = hookMessage(cls, sel, replacement, previous);
    substrate::recordRuntimeCall(cls,
                                 {.call = "MSHookMessageEx",
                                  .className = cls ? std::optional<std::string>(cls->name) : std::nullopt,
                                  .selector = sel_getName(sel),
                                  .types = std::nullopt,
                                  .result = result});
}

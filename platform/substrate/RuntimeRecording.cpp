#include "RuntimeRecording.h"
#include "objc/Runtime.h"

namespace substrate {

void recordRuntimeCall(Class cls, device::RuntimeCall call) {
    auto& instruments = device::Instruments::shared();
    // Classes registered after the mark (the library's own, or platform classes defined
    // on first use) are not the host's; an observer of the host sees only what happens to
    // the host's classes. A class still being defined has no generation yet.
    bool watched = cls ? cls->registered && instruments.recordsCallsOn(cls->generation) : instruments.armed();
    if (watched)
        instruments.recordRuntimeCall(std::move(call));
}

void installRuntimeRecording() {
    objc::setRuntimeObserver({.addMethod = [](Class cls, SEL sel, const char* types, bool added) {
        recordRuntimeCall(cls, {.call = "class_addMethod",
                                .className = cls ? std::optional<std::string>(cls->name) : std::nullopt,
                                .selector = sel_getName(sel),
                                .types = types ? std::optional<std::string>(types) : std::nullopt,
                                .result = added ? "true" : "false"});
    }});
}

} // namespace substrate

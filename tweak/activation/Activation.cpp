// The library's entry point: the load-time constructor that the dynamic loader runs once
// when the code-injection loader maps the library into a listed app.

#include "BundleFilter.h"
#include "HookTable.h"
#include "Settings.h"

#include "foundation/NSBundle.h"
#include "substrate/Substrate.h"

#include <cstring>
#include <vector>

using objc::send;

namespace {

void install(const HostGroup& group) {
    // One class lookup per host class, at its first entry; its entries follow each other.
    const char* className = nullptr;
    Class cls = nullptr;
    for (const HookEntry& entry : group.entries) {
        if (!className || std::strcmp(className, entry.className) != 0) {
            className = entry.className;
            cls = objc_getClass(className);
        }
        SEL sel = sel_registerName(entry.selector);
        // A missing class or method changes nothing. An added selector that the host
        // already has keeps the host's method, so class_addMethod's answer is not needed.
        if (entry.kind == HookEntry::Kind::Replaced)
            MSHookMessageEx(cls, sel, entry.implementation, entry.previous);
        else
            class_addMethod(cls, sel, entry.implementation, entry.types);
    }
}

__attribute__((constructor)) void activate(int, char**, char**) {
    objc::AutoreleasePool pool;
    // Every enabling key is read before anything is installed; they count once per
    // launch.
    bool enabled = readSetting("Aw");
    std::vector<bool> groupEnabled;
    for (const HostGroup& group : hostGroups())
        groupEnabled.push_back(readSetting(group.key));
    if (!enabled)
        return;

    auto groups = hostGroups();
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (!groupEnabled[i])
            continue;
        // The filter says whether this app is one of the hosts, not whether it is this
        // group's host: a group whose classes the app lacks changes nothing.
        auto* identifier =
            send<NSString*>(send<id>(NSBundle::staticClass(), "mainBundle"), "bundleIdentifier");
        if (!Check_If_Bundle_Exists(identifier))
            continue;
        install(groups[i]);
    }
}

} // namespace

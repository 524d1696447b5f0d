// The library's entry point: the load-time constructor that the dynamic loader runs once
// when the code-injection loader maps the library into a listed app.

#include "BundleFilter.h"
#include "HookTable.h"
#include "Settings.h"

#include "panel/LexornaViewController.h"
#include "ui/VDManager.h"

#include "Runtime.h"

using objc::send;

namespace {

void install(const HostGroup& group) {
    // One class lookup per host class, at its first entry; its entries follow each other.
    const char* className = nullptr;
    Class cls = nullptr;
    for (const HookEntry& entry : group.entries) {
        if (!className || __builtin_strcmp(className, entry.className) != 0) {
            className = entry.className;
            cls = objc_getClass(className);
        }
        if (entry.needsPanel && !LexornaViewControllerClass())
            continue;
        SEL sel = sel_registerName(entry.selector);
        // A missing class or method changes nothing. An added selector that the host
        // already has keeps the host's method, so class_addMethod's answer is not needed.
        if (entry.kind == HookEntry::Kind::Replaced)
            MSHookMessageEx(cls, sel, entry.implementation, entry.previous);
        else
            class_addMethod(cls, sel, entry.implementation, entry.types);
    }
}

void activate() {
    // Every enabling key is read before anything is installed; they count once per
    // launch.
    bool enabled = readSetting("Aw");
    const HostGroup* groups = hostGroups();
    bool groupEnabled[HostGroupCount];
    for (size_t i = 0; i < HostGroupCount; ++i)
        groupEnabled[i] = readSetting(groups[i].key);
    // Every hook makes its recognisers and views through the library's factory: where
    // another library took its class name first, nothing is installed.
    if (!enabled || !VDManagerClass())
        return;

    for (size_t i = 0; i < HostGroupCount; ++i) {
        if (!groupEnabled[i])
            continue;
        // The filter says whether this app is one of the hosts, not whether it is this
        // group's host: a group whose classes the app lacks changes nothing.
        id identifier = send<id>(send<id>(objc_getClass("NSBundle"), "mainBundle"), "bundleIdentifier");
        if (!Check_If_Bundle_Exists(static_cast<NSString*>(identifier)))
            continue;
        install(groups[i]);
    }
}

// The one initialiser of the library. Its classes are registered first, whatever the
// settings say, as the runtime registers an image's classes before its initialisers
// run; then the hooks that use them are installed. Nothing relies on the order in which
// a platform runs the initialisers of different object files.
__attribute__((constructor)) void load() {
    objc::AutoreleasePool pool;
    registerVDManager();
    registerLexornaViewController();
    activate();
}

} // namespace

#pragma once

#include "Runtime.h"

// One change that a host group makes to a host class.
struct HookEntry {
    enum class Kind {
        Replaced, // the class's method gets `implementation`; the host's own goes to `previous`
        Added,    // `implementation` becomes a new method of the class, typed `types`
    };

    const char* className; // the host class, by its runtime name
    const char* selector;
    Kind kind;
    IMP implementation;
    IMP* previous;     // Replaced: the previous-implementation slot
    const char* types; // Added: the type encoding, "v@:" or "v@:@"
    bool needsPanel;   // the method presents the text panel, so it needs the panel's class
};

// A host method replaced by `replacement`, the host's own kept in `previous`.
inline HookEntry replacedEntry(const char* className, const char* selector, void (*replacement)(id, SEL),
                               IMP& previous) {
    return {className, selector, HookEntry::Kind::Replaced, objc::imp(replacement), &previous,
            nullptr,   false};
}

// A method added to a host class. The type encoding is written out, as it is handed to
// class_addMethod; the signature of the implementation has to agree with it.
template <class... Args>
HookEntry addedEntry(const char* className, const char* selector, void (*method)(id, SEL, Args...),
                     const char* types) {
    return {className, selector, HookEntry::Kind::Added, objc::imp(method), nullptr, types, false};
}

// An added panel action: it is left out when the panel's class could not be registered.
template <class... Args>
HookEntry panelEntry(const char* className, const char* selector, void (*method)(id, SEL, Args...),
                     const char* types) {
    HookEntry entry = addedEntry(className, selector, method, types);
    entry.needsPanel = true;
    return entry;
}

// The entries of one host group, in a table of the group's own.
struct HookList {
    const HookEntry* first;
    size_t count;

    template <size_t N> HookList(const HookEntry (&entries)[N]) : first(entries), count(N) {}
    const HookEntry* begin() const { return first; }
    const HookEntry* end() const { return first + count; }
};

// The entries for one host app, in order of installation, named like its settings key.
struct HostGroup {
    const char* key;
    HookList entries;
};

inline constexpr size_t HostGroupCount = 5;

// The five host groups, in the fixed order in which they are installed.
const HostGroup* hostGroups();

#include "sim/play/PresentationLog.h"

#include <algorithm>

namespace sim {

PresentationLog& PresentationLog::shared() {
    // Never destroyed: the weak references must not outlive the runtime's table of them
    // at exit.
    static PresentationLog* log = [] {
        auto* made = new PresentationLog;
        PresentationObserver::set(made);
        return made;
    }();
    return *log;
}

void PresentationLog::didPresent(UIViewController* presented, UIViewController* sentTo, bool animated) {
    std::erase_if(entries_, [](const Entry& entry) { return !entry.presented; });
    entries_.push_back({presented, {object_getClassName(sentTo), animated}});
}

const PresentationLog::Presentation* PresentationLog::find(const UIViewController* presented) const {
    auto newest = std::find_if(entries_.rbegin(), entries_.rend(),
                               [&](const Entry& entry) { return entry.presented.get() == presented; });
    return newest == entries_.rend() ? nullptr : &newest->presentation;
}

} // namespace sim

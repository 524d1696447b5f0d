#pragma once

#include "objc/Weak.h"
#include "uikit/PresentationObserver.h"
#include "uikit/UIViewController.h"

#include <string>
#include <vector>

namespace sim {

// What the report tells of each presentation beyond UIKit's public answers: the class of
// the controller that was sent the present message and whether it was animated. Kept per
// presented controller, weakly: a controller that is gone has nothing left to show.
class PresentationLog final : public PresentationObserver {
public:
    struct Presentation {
        std::string sentTo; // the class name of the controller that was sent the message
        bool animated = false;
    };

    // This process's log, listening from the first call on.
    static PresentationLog& shared();

    void didPresent(UIViewController* presented, UIViewController* sentTo, bool animated) override;
    // The newest presentation of `presented`; nil if none was heard of.
    const Presentation* find(const UIViewController* presented) const;

private:
    struct Entry {
        objc::Weak<UIViewController> presented;
        Presentation presentation;
    };
    std::vector<Entry> entries_;
};

} // namespace sim

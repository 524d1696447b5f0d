#pragma once

#include "uikit/PresentationObserver.h"

#include <vector>

// The process's presentation observer while this object lives: each presentation as
// the observer is told of it.
struct HeardPresentations final : PresentationObserver {
    struct Heard {
        UIViewController* presented;
        UIViewController* sentTo;
        bool animated;
    };
    std::vector<Heard> heard;

    HeardPresentations() { PresentationObserver::set(this); }
    ~HeardPresentations() override { PresentationObserver::set(nullptr); }
    void didPresent(UIViewController* presented, UIViewController* sentTo, bool animated) override {
        heard.push_back({presented, sentTo, animated});
    }
};

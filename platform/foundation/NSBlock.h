#pragma once

#include "NSObject.h"

#include <functional>

// Wraps a C++ callable as the completion block that UIKit's methods take.
class NSBlock : public NSObject {
    OBJC_NATIVE_CLASS(NSBlock) : NSObject(isa) {}

    static NSBlock* make(std::function<void()> body);
    void invoke() const {
        if (body_)
            body_();
    }

private:
    std::function<void()> body_;
};

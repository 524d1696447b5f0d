#pragma once

// Shared pieces of the gesture tests: a target class whose actions log their calls, and
// recognisers made through the runtime the way host and library code makes them.

#include "DeclareClass.h"

#include "uikit/TouchDelivery.h"
#include "uikit/UILongPressGestureRecognizer.h"
#include "uikit/UITapGestureRecognizer.h"

#include <ostream>
#include <string>
#include <vector>

// Readable failures: {recogniser, target, action, state}.
inline void PrintTo(const FiredAction& fired, std::ostream* out) {
    *out << "{" << fired.recognizer.value_or("null") << ", " << fired.target << ", " << fired.action << ", "
         << (fired.state ? std::to_string(*fired.state) : "null") << "}";
}

namespace gesture_test {

// One action call as the target saw it.
struct Call {
    id receiver;
    std::string action;
    id sender;             // nil for an action without a colon
    long senderState = -1; // the sender's state during the call, if it is a recogniser
};

inline std::vector<Call>& calls() {
    static std::vector<Call> log;
    return log;
}

inline void logCall(id self, SEL action, id sender) {
    long state = sender ? objc::send<long>(sender, "state") : -1;
    calls().push_back({self, sel_getName(action), sender, state});
}

// A plain target with the actions "fire", "other" and "fire:".
inline Class targetClass() {
    return declareClass("GTLoggingTarget", [](Class c) {
        objc::addMethod(
            c, "fire", +[](id self, SEL action) { logCall(self, action, nullptr); });
        objc::addMethod(
            c, "other", +[](id self, SEL action) { logCall(self, action, nullptr); });
        objc::addMethod(
            c, "fire:", +[](id self, SEL action, id sender) { logCall(self, action, sender); });
    });
}

inline id newObject(Class cls) {
    return objc::send<id>(objc::send<id>(cls, "alloc"), "init");
}

inline UITapGestureRecognizer* addTap(UIView* view, id target, const char* action, unsigned long taps = 1,
                                      unsigned long touches = 1) {
    id recognizer = objc::send<id>(objc::send<id>(UITapGestureRecognizer::staticClass(), "alloc"),
                                   "initWithTarget:action:", target, sel_registerName(action));
    objc::send(recognizer, "setNumberOfTapsRequired:", taps);
    objc::send(recognizer, "setNumberOfTouchesRequired:", touches);
    objc::send(view, "addGestureRecognizer:", recognizer);
    return objc::cast<UITapGestureRecognizer>(recognizer);
}

inline UILongPressGestureRecognizer* addLongPress(UIView* view, id target, const char* action,
                                                  double minimumDuration = 0.5) {
    id recognizer = objc::send<id>(objc::send<id>(UILongPressGestureRecognizer::staticClass(), "alloc"),
                                   "initWithTarget:action:", target, sel_registerName(action));
    objc::send(recognizer, "setMinimumPressDuration:", minimumDuration);
    objc::send(view, "addGestureRecognizer:", recognizer);
    return objc::cast<UILongPressGestureRecognizer>(recognizer);
}

inline TouchRecord deliver(UIView* view, const TouchGesture& gesture) {
    calls().clear();
    TouchRecord record;
    deliverGesture(view, gesture, record);
    return record;
}

inline TouchRecord deliverAt(UIView* root, CGPoint point, const TouchGesture& gesture) {
    calls().clear();
    TouchRecord record;
    deliverGestureAt(root, point, gesture, record);
    return record;
}

inline FiredAction firedBy(const char* recognizer, const char* target, const char* action, long state) {
    return {recognizer, target, action, state};
}

} // namespace gesture_test

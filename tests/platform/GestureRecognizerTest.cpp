// Tap and long-press recognisers: what they report to their targets, and which gestures
// they take.

#include "GestureTestSupport.h"

#include "objc/Exception.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace gesture_test;
using objc::send;
using ::testing::ElementsAre;

namespace {

constexpr long Began = 1, Changed = 2, Ended = 3;

UIView* plainView() {
    return UIView::make(CGRectMake(0, 0, 100, 100));
}

} // namespace

TEST(GestureRecognizer, TapFiresOnceWhenTapsAndFingersMatch) {
    objc::AutoreleasePool pool;
    UIView* view = plainView();
    id target = newObject(targetClass());
    UITapGestureRecognizer* tap = addTap(view, target, "fire:", 2, 1);

    EXPECT_TRUE(deliver(view, TouchGesture::tap(1)).fired.empty());
    EXPECT_TRUE(deliver(view, TouchGesture::tap(2, 2)).fired.empty()) << "two fingers, one required";
    EXPECT_TRUE(deliver(view, TouchGesture::longPress(1.0)).fired.empty());

    TouchRecord record = deliver(view, TouchGesture::tap(2));
    EXPECT_THAT(record.fired,
                ElementsAre(firedBy("UITapGestureRecognizer", "GTLoggingTarget", "fire:", Ended)));
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0].sender, tap);
    EXPECT_EQ(calls()[0].senderState, Ended);
    EXPECT_EQ(tap->state(), UIGestureRecognizerState::Possible) << "reset after the gesture";

    send(tap, "setEnabled:", false);
    EXPECT_TRUE(deliver(view, TouchGesture::tap(2)).fired.empty()) << "a disabled recogniser is skipped";
}

TEST(GestureRecognizer, LongPressReportsBeganChangedEndedToAnActionWithAColon) {
    objc::AutoreleasePool pool;
    UIView* view = plainView();
    id target = newObject(targetClass());
    UILongPressGestureRecognizer* press = addLongPress(view, target, "fire:");

    TouchRecord record = deliver(view, TouchGesture::longPress(0.5, /*moved=*/true));
    EXPECT_THAT(record.fired,
                ElementsAre(firedBy("UILongPressGestureRecognizer", "GTLoggingTarget", "fire:", Began),
                            firedBy("UILongPressGestureRecognizer", "GTLoggingTarget", "fire:", Changed),
                            firedBy("UILongPressGestureRecognizer", "GTLoggingTarget", "fire:", Ended)));
    ASSERT_EQ(calls().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(calls()[i].receiver, target);
        EXPECT_EQ(calls()[i].sender, press) << "the recogniser is the argument";
        EXPECT_EQ(calls()[i].senderState, static_cast<long>(i + 1)) << "the action sees the current state";
    }
    EXPECT_EQ(press->state(), UIGestureRecognizerState::Possible);

    // Without movement there is no change to report.
    record = deliver(view, TouchGesture::longPress(2.0));
    ASSERT_EQ(record.fired.size(), 2u);
    EXPECT_EQ(record.fired[0].state, Began);
    EXPECT_EQ(record.fired[1].state, Ended);
}

TEST(GestureRecognizer, LongPressNeedsItsMinimumDurationAndFingers) {
    objc::AutoreleasePool pool;
    id target = newObject(targetClass());
    id press = send<id>(send<id>(UILongPressGestureRecognizer::staticClass(), "alloc"),
                        "initWithTarget:action:", target, sel_registerName("fire"));
    EXPECT_EQ(send<double>(press, "minimumPressDuration"), 0.5) << "UIKit's default";
    // The duration is a CFTimeInterval: a float must be widened by the caller, and then
    // lies a hair above its decimal.
    EXPECT_THROW(send(press, "setMinimumPressDuration:", 0.4f), objc::Exception);

    struct Case {
        double minimum;
        unsigned long fingers;
        TouchGesture gesture;
        std::size_t fired;
    } cases[] = {
        {1.0, 1, TouchGesture::longPress(0.999, true), 0},
        {1.0, 1, TouchGesture::tap(), 0},
        {1.0, 1, TouchGesture::longPress(1.0), 2},
        {static_cast<double>(0.4f), 1, TouchGesture::longPress(0.4), 0},
        {static_cast<double>(0.4f), 1, TouchGesture::longPress(0.4000000059604645), 2},
        {0.5, 2, TouchGesture::longPress(1.0), 0},
        {0.5, 2, TouchGesture::longPress(1.0, false, 2), 2},
    };
    for (const auto& c : cases) {
        UIView* view = plainView();
        send(addLongPress(view, target, "fire", c.minimum), "setNumberOfTouchesRequired:", c.fingers);
        EXPECT_EQ(deliver(view, c.gesture).fired.size(), c.fired)
            << c.minimum << " s, " << c.fingers << " fingers, case " << (&c - cases);
    }
}

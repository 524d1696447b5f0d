// Touch delivery and its recognisers: what taps and long presses report to their targets,
// which view a touch reaches, which recogniser wins a gesture, what delegates and
// controls change about that, and that actions may tear down views.

#include "DeclareClass.h"

#include "foundation/NSString.h"
#include "objc/Exception.h"
#include "uikit/TouchDelivery.h"
#include "uikit/UIButton.h"
#include "uikit/UILongPressGestureRecognizer.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UITouch.h"
#include "uikit/UIWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Readable failures: {recogniser, target, action, state}.
void PrintTo(const FiredAction& fired, std::ostream* out) {
    *out << "{" << fired.recognizer.value_or("null") << ", " << fired.target << ", " << fired.action << ", "
         << (fired.state ? std::to_string(*fired.state) : "null") << "}";
}

using objc::send;
using ::testing::ElementsAre;

namespace {

// One action call as the target saw it.
struct Call {
    id receiver;
    std::string action;
    id sender;             // nil for an action without a colon
    long senderState = -1; // the sender's state during the call, if it is a recogniser
};

std::vector<Call>& calls() {
    static std::vector<Call> log;
    return log;
}

void logCall(id self, SEL action, id sender) {
    long state = sender ? send<long>(sender, "state") : -1;
    calls().push_back({self, sel_getName(action), sender, state});
}

// A plain target with the actions "fire", "other" and "fire:".
Class targetClass() {
    return declareClass("GTLoggingTarget", [](Class c) {
        objc::addMethod(
            c, "fire", +[](id self, SEL action) { logCall(self, action, nullptr); });
        objc::addMethod(
            c, "other", +[](id self, SEL action) { logCall(self, action, nullptr); });
        objc::addMethod(
            c, "fire:", +[](id self, SEL action, id sender) { logCall(self, action, sender); });
    });
}

// A recogniser made through the runtime, the way host and library code makes one.
template <typename Recognizer> Recognizer* addRecognizer(UIView* view, id target, const char* action) {
    id recognizer = objc_autorelease(send<id>(send<id>(Recognizer::staticClass(), "alloc"),
                                              "initWithTarget:action:", target, sel_registerName(action)));
    send(view, "addGestureRecognizer:", recognizer);
    return objc::cast<Recognizer>(recognizer);
}

UITapGestureRecognizer* addTap(UIView* view, id target, const char* action, unsigned long taps = 1) {
    auto* tap = addRecognizer<UITapGestureRecognizer>(view, target, action);
    send(tap, "setNumberOfTapsRequired:", taps);
    return tap;
}

UILongPressGestureRecognizer* addLongPress(UIView* view, id target, const char* action,
                                           double minimumDuration = 0.5) {
    auto* press = addRecognizer<UILongPressGestureRecognizer>(view, target, action);
    send(press, "setMinimumPressDuration:", minimumDuration);
    return press;
}

// A gesture on `view`, or at `point` in `view` when a point is given.
TouchRecord deliver(UIView* view, const TouchGesture& gesture, std::optional<CGPoint> point = {}) {
    calls().clear();
    TouchRecord record;
    if (point)
        deliverGestureAt(view, *point, gesture, record);
    else
        deliverGesture(view, gesture, record);
    return record;
}

FiredAction firedBy(const char* recognizer, const char* target, const char* action, long state) {
    return {recognizer, target, action, state};
}

constexpr long Began = 1, Changed = 2, Ended = 3, Cancelled = 4;

FiredAction tapFired(const char* action) {
    return firedBy("UITapGestureRecognizer", "GTLoggingTarget", action, Ended);
}

std::vector<std::string> actionsCalled() {
    std::vector<std::string> names;
    for (const auto& call : calls())
        names.push_back(call.action);
    return names;
}

// A window with a container and, inside it, a cell at (10, 10, 100, 50).
struct Screen {
    UIWindow* window = UIWindow::make(CGRectMake(0, 0, 390, 844));
    UIView* container = UIView::make(CGRectMake(0, 0, 300, 300));
    UIView* cell = UIView::make(CGRectMake(10, 10, 100, 50));
    id target = objc::make(targetClass());

    Screen() {
        window->addSubview(container);
        container->addSubview(cell);
    }
};

} // namespace

TEST(GestureRecognizer, TapFiresOnceWhenTapsAndFingersMatch) {
    objc::AutoreleasePool pool;
    UIView* view = UIView::make(CGRectMake(0, 0, 100, 100));
    id target = objc::make(targetClass());
    UITapGestureRecognizer* tap = addTap(view, target, "fire:", 2);

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
    UIView* view = UIView::make(CGRectMake(0, 0, 100, 100));
    id target = objc::make(targetClass());
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
    id target = objc::make(targetClass());
    id press = objc_autorelease(send<id>(send<id>(UILongPressGestureRecognizer::staticClass(), "alloc"),
                                         "initWithTarget:action:", target, sel_registerName("fire")));
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
        UIView* view = UIView::make(CGRectMake(0, 0, 100, 100));
        send(addLongPress(view, target, "fire", c.minimum), "setNumberOfTouchesRequired:", c.fingers);
        EXPECT_EQ(deliver(view, c.gesture).fired.size(), c.fired)
            << c.minimum << " s, " << c.fingers << " fingers, case " << (&c - cases);
    }
}

TEST(TouchDelivery, NewestRecognizerOfAViewWins) {
    objc::AutoreleasePool pool;
    Screen screen;
    addTap(screen.cell, screen.target, "fire");
    addTap(screen.cell, screen.target, "other");
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired, ElementsAre(tapFired("other")));
    EXPECT_THAT(actionsCalled(), ElementsAre("other"));

    // A recogniser without a target still wins the gesture; it just calls nobody.
    addTap(screen.cell, nullptr, "fire");
    TouchRecord record = deliver(screen.cell, TouchGesture::tap());
    EXPECT_TRUE(record.fired.empty());
    EXPECT_TRUE(calls().empty());
}

TEST(TouchDelivery, EachGestureGoesToTheRecognizerThatMatchesItUpTheChain) {
    objc::AutoreleasePool pool;
    Screen screen;
    addTap(screen.cell, screen.target, "fire", 1);
    addTap(screen.container, screen.target, "other", 2);

    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap(1)).fired, ElementsAre(tapFired("fire")));
    // Taps arrive one by one: the cell's single tap recognises at each of them, and the
    // superview's double tap, on the same touches, fails each time.
    TouchRecord record = deliver(screen.cell, TouchGesture::tap(2));
    EXPECT_EQ(record.hitView, screen.cell);
    EXPECT_THAT(record.fired, ElementsAre(tapFired("fire"), tapFired("fire")));
    EXPECT_THAT(deliver(screen.container, TouchGesture::tap(2)).fired, ElementsAre(tapFired("other")));
    EXPECT_TRUE(deliver(screen.container, TouchGesture::tap(1)).fired.empty())
        << "the cell is not an ancestor";
}

TEST(TouchDelivery, ASingleTapThatRequiresTheDoubleTapToFailWaitsForIt) {
    objc::AutoreleasePool pool;
    Screen screen;
    UITapGestureRecognizer* single = addTap(screen.cell, screen.target, "fire", 1);
    UITapGestureRecognizer* twice = addTap(screen.container, screen.target, "other", 2);
    send(single, "requireGestureRecognizerToFail:", twice);

    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap(2)).fired, ElementsAre(tapFired("other")));
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap(1)).fired, ElementsAre(tapFired("fire")))
        << "no second tap comes, so the double tap fails and the single tap goes ahead";
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap(3)).fired,
                ElementsAre(tapFired("other"), tapFired("fire")))
        << "the third tap starts over";
}

TEST(TouchDelivery, DelegateThatRefusesToBeginPassesTheGestureOn) {
    objc::AutoreleasePool pool;
    static bool allowBegin = false;
    Class cls = declareClass("TDBeginDelegate", [](Class c) {
        objc::addMethod(
            c, "gestureRecognizerShouldBegin:", +[](id self, SEL sel, id recognizer) -> bool {
                logCall(self, sel, recognizer);
                return allowBegin;
            });
    });
    Screen screen;
    id delegate = objc::make(cls);
    addTap(screen.container, screen.target, "other");
    addTap(screen.cell, screen.target, "fire:");
    UITapGestureRecognizer* vetoed = addTap(screen.cell, screen.target, "fire");
    send(vetoed, "setDelegate:", delegate);

    allowBegin = false;
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired, ElementsAre(tapFired("fire:")));
    EXPECT_THAT(actionsCalled(), ElementsAre("gestureRecognizerShouldBegin:", "fire:"));
    EXPECT_EQ(calls()[0].sender, vetoed);

    allowBegin = true;
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired, ElementsAre(tapFired("fire")));

    // Vetoing every recogniser of the cell lets the container's take the tap.
    allowBegin = false;
    for (const auto& recognizer : screen.cell->gestureRecognizers())
        send(recognizer.get(), "setDelegate:", delegate);
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired, ElementsAre(tapFired("other")));
}

TEST(TouchDelivery, DelegateThatRefusesTheTouchLeavesTheRecognizerOut) {
    objc::AutoreleasePool pool;
    static UIView* touchedView = nullptr;
    static CGPoint touchedAt{};
    Class cls = declareClass("TDReceiveDelegate", [](Class c) {
        objc::addMethod(
            c,
            "gestureRecognizer:shouldReceiveTouch:", +[](id self, SEL sel, id recognizer, id touch) -> bool {
                logCall(self, sel, recognizer);
                touchedView = send<UIView*>(touch, "view");
                touchedAt = send<CGPoint>(touch, "locationInView:", send<id>(recognizer, "view"));
                return false;
            });
        objc::addMethod(
            c, "gestureRecognizerShouldBegin:", +[](id self, SEL sel, id recognizer) -> bool {
                logCall(self, sel, recognizer);
                return true;
            });
    });
    Screen screen;
    id delegate = objc::make(cls);
    addTap(screen.container, screen.target, "other");
    send(addTap(screen.cell, screen.target, "fire"), "setDelegate:", delegate);

    TouchRecord record = deliver(screen.cell, TouchGesture::tap());
    EXPECT_THAT(record.fired, ElementsAre(tapFired("other")));
    EXPECT_THAT(actionsCalled(), ElementsAre("gestureRecognizer:shouldReceiveTouch:", "other"))
        << "a recogniser left out is never asked to begin";
    EXPECT_EQ(touchedView, screen.cell);
    EXPECT_EQ(touchedAt, (CGPoint{50, 25})) << "the centre of the cell, in the cell's coordinates";
}

TEST(TouchDelivery, SecondRecognizerFiresOnlyWhenADelegateAllowsBothTogether) {
    objc::AutoreleasePool pool;
    Class cls = declareClass("TDSimultaneousDelegate", [](Class c) {
        objc::addMethod(
            c, "gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:",
            +[](id, SEL, id, id) -> bool { return true; });
    });
    Screen screen;
    UITapGestureRecognizer* outer = addTap(screen.container, screen.target, "other");
    UITapGestureRecognizer* inner = addTap(screen.cell, screen.target, "fire");

    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired, ElementsAre(tapFired("fire")));

    // Either recogniser's delegate may allow it; the winner still fires first.
    send(outer, "setDelegate:", objc::make(cls));
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired,
                ElementsAre(tapFired("fire"), tapFired("other")));
    send(outer, "setDelegate:", nullptr);
    send(inner, "setDelegate:", objc::make(cls));
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired,
                ElementsAre(tapFired("fire"), tapFired("other")));
    EXPECT_THAT(actionsCalled(), ElementsAre("fire", "other"));
}

TEST(TouchDelivery, ControlWinsASingleTapOverItsSuperviewsRecognizers) {
    objc::AutoreleasePool pool;
    Screen screen;
    UIButton* button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(10, 100, 80, 40));
    button->setTitle(NSString::make("Done"), UIControlStateNormal);
    button->layoutTitleLabel();
    screen.container->addSubview(button);
    UIView* icon = UIView::make(CGRectMake(0, 0, 20, 20));
    button->addSubview(icon);
    send(button, "addTarget:action:forControlEvents:", screen.target, sel_registerName("fire"), 64ul);
    send(button, "addTarget:action:forControlEvents:", screen.target, sel_registerName("fire:"), 1ul);
    send(button, "addTarget:action:forControlEvents:", nullptr, sel_registerName("other"), 64ul);
    addTap(screen.container, screen.target, "other", 1);
    addTap(screen.container, screen.target, "other", 2);

    const FiredAction buttonFired{std::nullopt, "GTLoggingTarget", "fire", std::nullopt};
    EXPECT_THAT(deliver(button, TouchGesture::tap()).fired, ElementsAre(buttonFired));
    EXPECT_THAT(actionsCalled(), ElementsAre("fire"))
        << "only touch-up-inside actions, and none without a target";
    EXPECT_THAT(deliver(icon, TouchGesture::tap()).fired, ElementsAre(buttonFired)) << "inside the control";
    TouchRecord record = deliver(screen.window, TouchGesture::tap(), CGPoint{50, 120});
    EXPECT_EQ(record.hitView, button) << "over its title, which takes no touches";
    EXPECT_THAT(record.fired, ElementsAre(buttonFired));

    // Other gestures pass the control by.
    EXPECT_THAT(deliver(button, TouchGesture::tap(2)).fired, ElementsAre(tapFired("other")));

    // A disabled control leaves the tap to the recognisers.
    send(button, "setEnabled:", false);
    EXPECT_THAT(deliver(button, TouchGesture::tap()).fired, ElementsAre(tapFired("other")));
    send(button, "setEnabled:", true);

    // A recogniser of the control itself wins over the control's own action.
    addTap(button, screen.target, "fire:");
    EXPECT_THAT(deliver(button, TouchGesture::tap()).fired, ElementsAre(tapFired("fire:")));
}

TEST(TouchDelivery, HiddenTransparentAndNonInteractiveViewsAreNotHit) {
    objc::AutoreleasePool pool;
    Screen screen;
    addTap(screen.container, screen.target, "other");
    addTap(screen.cell, screen.target, "fire");
    auto tapCellSpot = [&] { return deliver(screen.window, TouchGesture::tap(), CGPoint{20, 20}); };
    EXPECT_EQ(tapCellSpot().hitView, screen.cell);

    screen.cell->setHidden(true);
    TouchRecord record = tapCellSpot();
    EXPECT_EQ(record.hitView, screen.container);
    EXPECT_THAT(record.fired, ElementsAre(tapFired("other")));
    // A touch aimed at the hidden view itself lands on what lies under it.
    EXPECT_EQ(deliver(screen.cell, TouchGesture::tap()).hitView, screen.container);
    screen.cell->setHidden(false);

    screen.cell->setAlpha(0);
    EXPECT_EQ(tapCellSpot().hitView, screen.container);
    screen.cell->setAlpha(1);

    send(screen.cell, "setUserInteractionEnabled:", false);
    EXPECT_EQ(tapCellSpot().hitView, screen.container);
    send(screen.cell, "setUserInteractionEnabled:", true);

    // A view that takes no touches takes none for its subviews either.
    send(screen.container, "setUserInteractionEnabled:", false);
    record = tapCellSpot();
    EXPECT_EQ(record.hitView, screen.window);
    EXPECT_TRUE(record.fired.empty());

    record = deliver(screen.window, TouchGesture::tap(), CGPoint{500, 20});
    EXPECT_EQ(record.hitView, nullptr) << "outside the window";
    EXPECT_TRUE(record.fired.empty());
}

TEST(TouchDelivery, ActionMayRemoveItsOwnView) {
    objc::AutoreleasePool pool;
    // Views that take themselves away when their action runs, as an overlay's dismissal
    // does. A control that does so is Instagram's close button, in its flows.
    Class vanishingView = declareClass(
        "TDVanishingView",
        [](Class c) {
            objc::addMethod(
                c, "vanish:", +[](id self, SEL sel, id sender) {
                    logCall(self, sel, sender);
                    send(self, "removeFromSuperview");
                });
        },
        UIView::staticClass());
    Screen screen;
    UIView *tapped, *pressed;
    {
        // Only the container holds them once this pool drains.
        objc::AutoreleasePool inner;
        tapped = objc::make<UIView>(vanishingView);
        pressed = objc::make<UIView>(vanishingView);
        for (UIView* view : {tapped, pressed}) {
            view->setFrame(CGRectMake(0, 0, 50, 50));
            screen.container->addSubview(view);
        }
        addTap(tapped, tapped, "vanish:");
        addLongPress(pressed, pressed, "vanish:");
    }

    TouchRecord record = deliver(tapped, TouchGesture::tap());
    EXPECT_THAT(record.fired,
                ElementsAre(firedBy("UITapGestureRecognizer", "TDVanishingView", "vanish:", Ended)));
    EXPECT_EQ(record.hitView->superview(), nullptr);
    record.hitView = nullptr; // the last reference: the view and its recogniser go

    // A long press whose view went away at Began is cancelled, not ended.
    record = deliver(pressed, TouchGesture::longPress(1.0, true));
    EXPECT_THAT(
        record.fired,
        ElementsAre(firedBy("UILongPressGestureRecognizer", "TDVanishingView", "vanish:", Began),
                    firedBy("UILongPressGestureRecognizer", "TDVanishingView", "vanish:", Cancelled)));
    record.hitView = nullptr;

    ASSERT_EQ(screen.container->subviews().size(), 1u);
    EXPECT_EQ(screen.container->subviews()[0], screen.cell);

    // An action that drops its own recogniser and takes its view's superview off screen,
    // in a tree that nothing else holds: the delivery alone keeps it alive meanwhile.
    Class dropping = declareClass("TDDroppingTarget", [](Class c) {
        objc::addMethod(
            c, "drop:", +[](id, SEL, id sender) {
                auto* recognizer = objc::cast<UIGestureRecognizer>(sender);
                if (UIView* view = recognizer->view()) {
                    view->removeGestureRecognizer(recognizer);
                    view->superview()->removeFromSuperview();
                }
            });
    });
    id dropper = objc::make(dropping);
    UIView* leaf;
    {
        objc::AutoreleasePool inner;
        UIView* box = UIView::make(CGRectMake(0, 0, 100, 100));
        leaf = UIView::make(CGRectMake(0, 0, 10, 10));
        box->addSubview(leaf);
        screen.window->addSubview(box);
        addLongPress(leaf, dropper, "drop:");
    }
    record = deliver(leaf, TouchGesture::longPress(1.0));
    EXPECT_EQ(record.fired.size(), 2u) << "Began, then Cancelled";
    EXPECT_EQ(record.hitView->superview(), nullptr) << "the removed superview is gone after the delivery";
}

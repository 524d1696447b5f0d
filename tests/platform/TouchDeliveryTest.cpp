// Touch delivery: which view a touch reaches, which recogniser wins a gesture, what
// delegates and controls change about that, and that actions may tear down views.

#include "GestureTestSupport.h"

#include "foundation/NSString.h"
#include "uikit/UIButton.h"
#include "uikit/UITouch.h"
#include "uikit/UIWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace gesture_test;
using objc::send;
using ::testing::ElementsAre;

namespace {

constexpr long Began = 1, Ended = 3, Cancelled = 4;

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
    id target = newObject(targetClass());

    Screen() {
        window->addSubview(container);
        container->addSubview(cell);
    }
};

} // namespace

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

    // At a point: hit-tested to the deepest view.
    record = deliverAt(screen.window, {20, 20}, TouchGesture::tap(1));
    EXPECT_EQ(record.hitView, screen.cell);
    EXPECT_THAT(record.fired, ElementsAre(tapFired("fire")));
    record = deliverAt(screen.window, {200, 200}, TouchGesture::tap(2));
    EXPECT_EQ(record.hitView, screen.container);
    EXPECT_THAT(record.fired, ElementsAre(tapFired("other")));
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
    id delegate = newObject(cls);
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
    id delegate = newObject(cls);
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
    send(outer, "setDelegate:", newObject(cls));
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired,
                ElementsAre(tapFired("fire"), tapFired("other")));
    send(outer, "setDelegate:", nullptr);
    send(inner, "setDelegate:", newObject(cls));
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired,
                ElementsAre(tapFired("fire"), tapFired("other")));
    EXPECT_THAT(actionsCalled(), ElementsAre("fire", "other"));

    // A third recogniser must be allowed with each one that already won.
    addTap(screen.window, screen.target, "fire:");
    EXPECT_THAT(deliver(screen.cell, TouchGesture::tap()).fired,
                ElementsAre(tapFired("fire"), tapFired("other")));
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
    addTap(screen.container, screen.target, "other", 1);
    addTap(screen.container, screen.target, "other", 2);

    const FiredAction buttonFired{std::nullopt, "GTLoggingTarget", "fire", std::nullopt};
    EXPECT_THAT(deliver(button, TouchGesture::tap()).fired, ElementsAre(buttonFired));
    EXPECT_THAT(actionsCalled(), ElementsAre("fire")) << "only touch-up-inside actions";
    EXPECT_THAT(deliver(icon, TouchGesture::tap()).fired, ElementsAre(buttonFired)) << "inside the control";
    TouchRecord record = deliverAt(screen.window, {50, 120}, TouchGesture::tap());
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
    auto tapCellSpot = [&] { return deliverAt(screen.window, {20, 20}, TouchGesture::tap()); };
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

    record = deliverAt(screen.window, {500, 20}, TouchGesture::tap());
    EXPECT_EQ(record.hitView, nullptr) << "outside the window";
    EXPECT_TRUE(record.fired.empty());
}

TEST(TouchDelivery, ActionMayRemoveItsOwnView) {
    objc::AutoreleasePool pool;
    // Views that take themselves away when their action runs, as an overlay's dismissal does.
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
    Class vanishingControl = declareClass(
        "TDVanishingControl",
        [](Class c) {
            objc::addMethod(
                c, "vanish", +[](id self, SEL) { send(self, "removeFromSuperview"); });
        },
        UIControl::staticClass());
    Screen screen;
    UIView *tapped, *pressed;
    UIControl* button;
    {
        // Only the container holds them once this pool drains.
        objc::AutoreleasePool inner;
        tapped = objc::make<UIView>(vanishingView);
        pressed = objc::make<UIView>(vanishingView);
        button = objc::make<UIControl>(vanishingControl);
        for (UIView* view : {tapped, pressed, static_cast<UIView*>(button)}) {
            view->setFrame(CGRectMake(0, 0, 50, 50));
            screen.container->addSubview(view);
        }
        addTap(tapped, tapped, "vanish:");
        addLongPress(pressed, pressed, "vanish:");
        button->addTarget(button, sel_registerName("vanish"), UIControlEventTouchUpInside);
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

    record = deliver(button, TouchGesture::tap());
    EXPECT_EQ(record.fired.size(), 1u);
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
    id dropper = newObject(dropping);
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

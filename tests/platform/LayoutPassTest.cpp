// The run loop's layout pass: -layoutSubviews through the runtime, parents first, for the
// views that UIKit's rules mark.

#include "DeclareClass.h"

#include "uikit/LayoutPass.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIView.h"

#include <gtest/gtest.h>

#include <map>

using objc::send;

namespace {

std::vector<std::string> laidOut;        // identifiers, in the order -layoutSubviews ran
std::map<std::string, CGRect> seenFrame; // each view's frame when its -layoutSubviews ran

// A host-style subclass declared at run time whose -layoutSubviews records itself.
Class recordingViewClass() {
    return declareClass(
        "LPRecordingView",
        [](Class c) {
            objc::addMethod(
                c, "layoutSubviews", +[](id self, SEL) {
                    auto* view = static_cast<UIView*>(self);
                    std::string name = view->accessibilityIdentifier().value_or("?");
                    laidOut.push_back(name);
                    seenFrame[name] = view->frame();
                });
        },
        UIView::staticClass());
}

UIView* recordingView(const char* name, CGRect frame, UIView* parent = nullptr) {
    auto* view = static_cast<UIView*>(
        objc_autorelease(send<id>(send<id>(recordingViewClass(), "alloc"), "initWithFrame:", frame)));
    view->setAccessibilityIdentifier(name);
    if (parent)
        parent->addSubview(view);
    return view;
}

std::vector<std::string> pass(UIView* root) {
    laidOut.clear();
    layoutIfNeeded(root);
    return laidOut;
}

using Order = std::vector<std::string>;

struct Tree {
    UIView* root;
    UIView* a;
    UIView* a1;
    UIView* a2;
    UIView* b;
};

// root ─┬─ a ─┬─ a1
//       │     └─ a2
//       └─ b
Tree makeTree() {
    Tree tree{};
    tree.root = recordingView("root", CGRectMake(0, 0, 300, 300));
    tree.a = recordingView("a", CGRectMake(0, 0, 100, 100), tree.root);
    tree.a1 = recordingView("a1", CGRectMake(0, 0, 10, 10), tree.a);
    tree.a2 = recordingView("a2", CGRectMake(0, 0, 10, 10), tree.a);
    tree.b = recordingView("b", CGRectMake(100, 0, 100, 100), tree.root);
    return tree;
}

} // namespace

TEST(LayoutPass, RunsLayoutSubviewsThroughTheRuntimeParentsFirstOncePerMark) {
    objc::AutoreleasePool pool;
    Tree tree = makeTree();
    EXPECT_EQ(pass(tree.root), (Order{"root", "a", "a1", "a2", "b"}));
    EXPECT_EQ(pass(tree.root), Order{}) << "nothing is marked any more";

    laidOut.clear();
    layoutEverything(tree.root);
    EXPECT_EQ(laidOut, (Order{"root", "a", "a1", "a2", "b"})) << "a full pass lays out every view once";
}

TEST(LayoutPass, MarksFollowUIKitsRules) {
    objc::AutoreleasePool pool;
    Tree tree = makeTree();
    pass(tree.root);

    recordingView("new", CGRectMake(0, 0, 5, 5), tree.a);
    EXPECT_EQ(pass(tree.root), (Order{"a", "a1", "a2", "new"}))
        << "addSubview: marks the receiver and its subviews";

    send(tree.a2, "removeFromSuperview");
    EXPECT_EQ(pass(tree.root), Order{"a"}) << "removal marks the old superview only";

    send(tree.b, "setFrame:", CGRectMake(150, 50, 100, 100));
    EXPECT_EQ(pass(tree.root), Order{}) << "moving without resizing marks nothing";
    send(tree.b, "setFrame:", CGRectMake(150, 50, 120, 100));
    EXPECT_EQ(pass(tree.root), (Order{"root", "b"})) << "resizing marks the view and its superview";

    send(tree.a1, "setNeedsLayout");
    EXPECT_EQ(pass(tree.root), Order{"a1"});

    send(tree.a1, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    NSLayoutConstraint::activateConstraints({send<NSLayoutConstraint*>(
        send<id>(tree.a1, "topAnchor"), "constraintEqualToAnchor:", send<id>(tree.b, "bottomAnchor"))});
    EXPECT_EQ(pass(tree.root), (Order{"root", "a1"})) << "activation marks the placed view and the holder";
}

TEST(LayoutPass, AViewThatMarksItselfOnEveryPassCannotHangTheApp) {
    objc::AutoreleasePool pool;
    static int runs = 0;
    Class restless = declareClass(
        "LPRestlessView",
        [](Class c) {
            objc::addMethod(
                c, "layoutSubviews", +[](id self, SEL) {
                    ++runs;
                    send(self, "setNeedsLayout");
                });
        },
        UIView::staticClass());
    auto* view = static_cast<UIView*>(
        objc_autorelease(send<id>(send<id>(restless, "alloc"), "initWithFrame:", CGRectMake(0, 0, 10, 10))));
    layoutIfNeeded(view);
    EXPECT_GE(runs, 2);
    EXPECT_LE(runs, 8);
}

// Constraints: activating them, what happens to them when their views leave the
// hierarchy, and the solver: constraints that reach a constrained view through an
// autoresizing one, a resize, and broken constraints. The panel's own card is placed on
// several screens by the simulator's panel tests.

#include "uikit/LayoutEngine.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIView.h"

#include "device/Instruments.h"
#include "foundation/NSArray.h"

#include <gtest/gtest.h>

using objc::send;

namespace {

UIView* constrainedView(UIView* parent) {
    UIView* view = UIView::make(CGRectNull);
    send(view, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    send(parent, "addSubview:", view);
    return view;
}

NSLayoutConstraint* equal(UIView* view, const char* anchor, UIView* other, const char* otherAnchor,
                          double constant = 0) {
    return send<NSLayoutConstraint*>(
        send<id>(view, anchor), "constraintEqualToAnchor:constant:", send<id>(other, otherAnchor), constant);
}

// Activated together, as the library places its views.
void activate(std::initializer_list<NSLayoutConstraint*> constraints) {
    std::vector<objc::Ref<objc::Object>> list(constraints.begin(), constraints.end());
    send(NSLayoutConstraint::staticClass(), "activateConstraints:", NSArray::make(std::move(list)));
}

std::string addressOf(const void* pointer) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

} // namespace

TEST(NSLayoutConstraint, WithoutCommonAncestorRaisesAndActivatesNothing) {
    objc::AutoreleasePool pool;
    UIView* root = UIView::make(CGRectMake(0, 0, 100, 100));
    UIView* child = UIView::make(CGRectZero);
    root->addSubview(child);
    UIView* stranger = UIView::make(CGRectZero);
    auto* good = equal(child, "topAnchor", root, "topAnchor");
    auto* bad = equal(child, "leadingAnchor", stranger, "trailingAnchor");

    try {
        activate({good, bad});
        FAIL() << "expected NSGenericException";
    } catch (const objc::Exception& e) {
        EXPECT_EQ(e.name(), "NSGenericException");
        EXPECT_EQ(e.reason(), "Unable to activate constraint with anchors <NSLayoutAnchor:leading \"UIView:" +
                                  addressOf(child) +
                                  ".leading\"> and <NSLayoutAnchor:trailing \"UIView:" + addressOf(stranger) +
                                  ".trailing\"> because they have no common ancestor.  Does the constraint "
                                  "or its anchors reference items in different view hierarchies?  That's "
                                  "illegal.");
    }
    EXPECT_FALSE(good->isActive()) << "a failing call changes nothing";
    EXPECT_TRUE(root->constraints().empty());
}

TEST(NSLayoutConstraint, ViewLeavingTheHierarchyTakesItsOutsideConstraintsWithIt) {
    objc::AutoreleasePool pool;
    UIView* root = UIView::make(CGRectMake(0, 0, 100, 100));
    UIView* card = UIView::make(CGRectZero);
    UIView* cardChild = UIView::make(CGRectZero);
    UIView* sibling = UIView::make(CGRectZero);
    root->addSubview(card);
    card->addSubview(cardChild);
    root->addSubview(sibling);
    auto* cardToRoot = equal(card, "topAnchor", root, "topAnchor");
    auto* childToSibling = equal(cardChild, "topAnchor", sibling, "bottomAnchor");
    auto* inside = equal(cardChild, "leadingAnchor", card, "leadingAnchor");
    auto* siblingToRoot = equal(sibling, "topAnchor", root, "topAnchor");
    activate({cardToRoot, childToSibling, inside, siblingToRoot});

    objc::Ref<UIView> keep = card;
    send(card, "removeFromSuperview");
    EXPECT_FALSE(cardToRoot->isActive());
    EXPECT_FALSE(childToSibling->isActive()) << "constraints on the removed view's subtree go too";
    EXPECT_TRUE(inside->isActive()) << "constraints inside the removed subtree stay";
    EXPECT_TRUE(siblingToRoot->isActive());
    ASSERT_EQ(root->constraints().size(), 1u);
    EXPECT_EQ(root->constraints()[0].get(), siblingToRoot);
}

TEST(LayoutEngine, ConstraintOnAnAutoresizingViewPlacesItsConstrainedSuperview) {
    objc::AutoreleasePool pool;
    UIView* root = UIView::make(CGRectMake(0, 0, 400, 400));
    UIView* anchor = constrainedView(root);
    UIView* panel = constrainedView(root);
    UIView* header = UIView::make(CGRectMake(0, 20, 50, 30)); // autoresizing, inside the panel
    panel->addSubview(header);

    // The anchor first, then a constraint that reaches the panel only through its header,
    // then the panel's own: the header's bottom is the panel's top + 50.
    activate({equal(anchor, "topAnchor", root, "topAnchor", 200),
              equal(anchor, "leadingAnchor", root, "leadingAnchor"),
              equal(anchor, "trailingAnchor", root, "trailingAnchor"),
              equal(anchor, "bottomAnchor", root, "bottomAnchor")});
    activate({equal(header, "bottomAnchor", anchor, "topAnchor")});
    activate({equal(panel, "leadingAnchor", root, "leadingAnchor", 10),
              equal(panel, "trailingAnchor", root, "trailingAnchor", -10),
              equal(panel, "bottomAnchor", panel, "topAnchor", 100),
              equal(panel, "centerXAnchor", root, "centerXAnchor")});

    solveConstraints(root);
    EXPECT_EQ(anchor->frame(), CGRectMake(0, 200, 400, 200));
    EXPECT_EQ(panel->frame(), CGRectMake(10, 150, 380, 100));
    EXPECT_EQ(header->frameInWindow(), CGRectMake(10, 170, 50, 30));

    // A resized root moves what hangs on it at the next solve.
    root->setFrame(CGRectMake(0, 0, 600, 400));
    solveConstraints(root);
    EXPECT_EQ(panel->frame(), CGRectMake(10, 150, 580, 100));
}

TEST(LayoutEngine, ContradictionIsBrokenAndLoggedAndUnderdeterminedViewsKeepTheirFrames) {
    objc::AutoreleasePool pool;
    UIView* root = UIView::make(CGRectMake(0, 0, 100, 100));
    UIView* box = constrainedView(root);
    UIView* loose = constrainedView(root);
    loose->setFrame(CGRectMake(1, 2, 3, 4));
    activate({equal(box, "topAnchor", root, "topAnchor", 10),
              equal(box, "leadingAnchor", root, "leadingAnchor", 10),
              equal(box, "trailingAnchor", root, "trailingAnchor", -10),
              equal(box, "bottomAnchor", root, "bottomAnchor", -10)});
    activate({equal(box, "topAnchor", root, "topAnchor", 30)});
    activate({equal(loose, "topAnchor", root, "topAnchor", 5)});

    auto& log = device::Instruments::shared().logLines();
    std::size_t before = log.size();
    solveConstraints(root);
    EXPECT_EQ(box->frame(), CGRectMake(10, 10, 80, 80)) << "the earlier constraints hold";
    EXPECT_EQ(loose->frame(), CGRectMake(1, 2, 3, 4));
    ASSERT_EQ(log.size(), before + 1);
    EXPECT_EQ(log.back().rfind("Unable to simultaneously satisfy constraints.", 0), 0u) << log.back();
    EXPECT_NE(log.back().find(".top == UIView:"), std::string::npos) << log.back();
    EXPECT_NE(log.back().find(".top + 30>"), std::string::npos) << log.back();
}

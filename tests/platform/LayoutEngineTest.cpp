// The constraint solver: constraints that reach a constrained view through an autoresizing
// one, a resize, and broken constraints. The panel's own card is placed on several
// screens by the simulator's panel tests.

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

id equal(UIView* view, const char* anchor, UIView* other, const char* otherAnchor, double constant) {
    return send<id>(send<id>(view, anchor), "constraintEqualToAnchor:constant:", send<id>(other, otherAnchor),
                    constant);
}

// Top, leading, trailing, bottom, activated together, as the library places its views.
void pin(id top, id leading, id trailing, id bottom) {
    send(NSLayoutConstraint::staticClass(),
         "activateConstraints:", NSArray::make({top, leading, trailing, bottom}));
}

} // namespace

TEST(LayoutEngine, ConstraintOnAnAutoresizingViewPlacesItsConstrainedSuperview) {
    objc::AutoreleasePool pool;
    UIView* root = UIView::make(CGRectMake(0, 0, 400, 400));
    UIView* anchor = constrainedView(root);
    UIView* panel = constrainedView(root);
    UIView* header = UIView::make(CGRectMake(0, 20, 50, 30)); // autoresizing, inside the panel
    panel->addSubview(header);

    // The anchor first, then a constraint that reaches the panel only through its header,
    // then the panel's own: the header's bottom is the panel's top + 50.
    pin(equal(anchor, "topAnchor", root, "topAnchor", 200),
        equal(anchor, "leadingAnchor", root, "leadingAnchor", 0),
        equal(anchor, "trailingAnchor", root, "trailingAnchor", 0),
        equal(anchor, "bottomAnchor", root, "bottomAnchor", 0));
    NSLayoutConstraint::activateConstraints({send<NSLayoutConstraint*>(
        send<id>(header, "bottomAnchor"), "constraintEqualToAnchor:", send<id>(anchor, "topAnchor"))});
    pin(equal(panel, "leadingAnchor", root, "leadingAnchor", 10),
        equal(panel, "trailingAnchor", root, "trailingAnchor", -10),
        equal(panel, "bottomAnchor", panel, "topAnchor", 100),
        equal(panel, "centerXAnchor", root, "centerXAnchor", 0));

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
    pin(equal(box, "topAnchor", root, "topAnchor", 10),
        equal(box, "leadingAnchor", root, "leadingAnchor", 10),
        equal(box, "trailingAnchor", root, "trailingAnchor", -10),
        equal(box, "bottomAnchor", root, "bottomAnchor", -10));
    NSLayoutConstraint::activateConstraints({send<NSLayoutConstraint*>(
        send<id>(box, "topAnchor"), "constraintEqualToAnchor:constant:", send<id>(root, "topAnchor"), 30.0)});
    NSLayoutConstraint::activateConstraints(
        {send<NSLayoutConstraint*>(send<id>(loose, "topAnchor"),
                                   "constraintEqualToAnchor:constant:", send<id>(root, "topAnchor"), 5.0)});

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

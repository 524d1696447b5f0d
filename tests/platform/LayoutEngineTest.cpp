// The constraint solver: a fixed card centred on any screen, constraints that reach a
// constrained view through an autoresizing one, and broken constraints.

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

struct Card {
    UIView* root;
    UIView* body;
    UIView* bar;
    UIView* title;
    UIView* text;
};

// A 300 by 300 card centred in the root, a title bar standing out one point, a title
// 120 wide centred on the bar and a text view filling the card below the bar.
Card makeCard(CGSize size) {
    Card card{};
    card.root = UIView::make(CGRect{{0, 0}, size});
    card.body = constrainedView(card.root);
    pin(equal(card.body, "topAnchor", card.root, "centerYAnchor", -150),
        equal(card.body, "leadingAnchor", card.root, "centerXAnchor", -150),
        equal(card.body, "trailingAnchor", card.root, "centerXAnchor", 150),
        equal(card.body, "bottomAnchor", card.root, "centerYAnchor", 150));
    card.bar = constrainedView(card.root);
    pin(equal(card.bar, "topAnchor", card.body, "topAnchor", -1),
        equal(card.bar, "leadingAnchor", card.body, "leadingAnchor", -1),
        equal(card.bar, "trailingAnchor", card.body, "trailingAnchor", 1),
        equal(card.bar, "bottomAnchor", card.body, "topAnchor", 40));
    card.title = constrainedView(card.bar);
    pin(equal(card.title, "topAnchor", card.bar, "topAnchor", 0),
        equal(card.title, "leadingAnchor", card.bar, "centerXAnchor", -60),
        equal(card.title, "trailingAnchor", card.bar, "centerXAnchor", 60),
        equal(card.title, "bottomAnchor", card.bar, "bottomAnchor", 0));
    card.text = constrainedView(card.body);
    pin(equal(card.text, "topAnchor", card.bar, "bottomAnchor", 0),
        equal(card.text, "leadingAnchor", card.body, "leadingAnchor", 0),
        equal(card.text, "trailingAnchor", card.body, "trailingAnchor", 0),
        equal(card.text, "bottomAnchor", card.body, "bottomAnchor", 0));
    return card;
}

} // namespace

class CenteredCard : public ::testing::TestWithParam<CGSize> {};

TEST_P(CenteredCard, StaysThreeHundredSquareAndCentred) {
    objc::AutoreleasePool pool;
    CGSize size = GetParam();
    Card card = makeCard(size);
    solveConstraints(card.root);

    double left = size.width / 2 - 150, top = size.height / 2 - 150;
    EXPECT_EQ(card.body->frame(), CGRectMake(left, top, 300, 300));
    EXPECT_EQ(card.bar->frame(), CGRectMake(left - 1, top - 1, 302, 41));
    EXPECT_EQ(card.title->frame(), CGRectMake(91, 0, 120, 41)) << "in the bar's coordinates";
    EXPECT_EQ(card.text->frame(), CGRectMake(0, 40, 300, 260)) << "in the body's coordinates";
    EXPECT_EQ(card.text->frameInWindow(), CGRectMake(left, top + 40, 300, 260));
}

INSTANTIATE_TEST_SUITE_P(Screens, CenteredCard,
                         ::testing::Values(CGSize{390, 844}, CGSize{1024, 1366}, CGSize{300, 300},
                                           CGSize{200, 200}));

TEST(LayoutEngine, AResizeMovesTheCard) {
    objc::AutoreleasePool pool;
    Card card = makeCard({200, 200});
    solveConstraints(card.root);
    card.root->setFrame(CGRectMake(0, 0, 844, 390));
    solveConstraints(card.root);
    EXPECT_EQ(card.body->frame(), CGRectMake(272, 45, 300, 300));
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

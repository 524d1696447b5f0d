// Views: autoresizing on a superview's resize (a single flexible corner is the view
// factory's to check), and re-adding a subview. Hit testing is
// touch delivery's to check.

#include "uikit/UIView.h"
#include "uikit/NSLayoutConstraint.h"

#include "foundation/NSArray.h"

#include <gtest/gtest.h>

using objc::send;

namespace {

UIView* viewWithFrame(CGRect frame) {
    return static_cast<UIView*>(
        objc_autorelease(send<id>(send<id>(UIView::staticClass(), "alloc"), "initWithFrame:", frame)));
}

} // namespace

TEST(UIViewAutoresizing, SeveralFlexiblePartsShareTheChangeInProportionToTheirSizes) {
    objc::AutoreleasePool pool;
    UIView* container = viewWithFrame(CGRectMake(0, 0, 100, 100));
    UIView* bar = viewWithFrame(CGRectMake(10, 0, 60, 100));
    bar->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleRightMargin);
    container->addSubview(bar);
    container->setFrame(CGRectMake(0, 0, 190, 100));
    EXPECT_EQ(bar->frame(), CGRectMake(10, 0, 120, 100))
        << "width 60 and right margin 30 share 90 as 60 and 30";
}

TEST(UIViewAutoresizing, MaskIsInertForAViewPlacedByConstraintsOrWithoutFrame) {
    objc::AutoreleasePool pool;
    UIView* container = viewWithFrame(CGRectMake(0, 0, 300, 200));
    UIView* constrained = viewWithFrame(CGRectMake(200, 150, 80, 40));
    constrained->setAutoresizingMask(9);
    send(constrained, "setTranslatesAutoresizingMaskIntoConstraints:", false);
    UIView* unplaced = viewWithFrame(CGRectNull);
    unplaced->setAutoresizingMask(9);
    container->addSubview(constrained);
    container->addSubview(unplaced);

    container->setFrame(CGRectMake(0, 0, 400, 400));
    EXPECT_EQ(constrained->frame(), CGRectMake(200, 150, 80, 40));
    EXPECT_TRUE(CGRectIsNull(unplaced->frame()));
}

TEST(UIView, AddingASubviewAgainBringsItToTheFrontAndKeepsItsConstraints) {
    objc::AutoreleasePool pool;
    UIView* container = viewWithFrame(CGRectMake(0, 0, 100, 100));
    UIView* back = viewWithFrame(CGRectZero);
    UIView* front = viewWithFrame(CGRectZero);
    container->addSubview(back);
    container->addSubview(front);
    auto* constraint = send<NSLayoutConstraint*>(send<id>(back, "topAnchor"),
                                                 "constraintEqualToAnchor:", send<id>(front, "bottomAnchor"));
    NSLayoutConstraint::activateConstraints({constraint});

    container->addSubview(back);
    ASSERT_EQ(container->subviews().size(), 2u);
    EXPECT_EQ(container->subviews().back().get(), back);
    EXPECT_TRUE(constraint->isActive());

    UIView* elsewhere = viewWithFrame(CGRectZero);
    elsewhere->addSubview(back);
    EXPECT_FALSE(constraint->isActive()) << "moving to another superview leaves the hierarchy";
    EXPECT_EQ(container->subviews().size(), 1u);
}

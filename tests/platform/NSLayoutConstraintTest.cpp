// Activating constraints and what happens to them when their views leave the hierarchy.

#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIView.h"

#include "foundation/NSArray.h"

#include <gtest/gtest.h>

using objc::send;

namespace {

NSLayoutConstraint* equal(UIView* view, const char* anchor, UIView* other, const char* otherAnchor) {
    return send<NSLayoutConstraint*>(send<id>(view, anchor),
                                     "constraintEqualToAnchor:", send<id>(other, otherAnchor));
}

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

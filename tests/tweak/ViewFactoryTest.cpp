// VDManager, the view factory: the plain view, the tap recogniser and an image button
// that no view takes, with the postconditions the panel and the hosts rely on, in a
// process that has the library mapped in. Buttons, labels and text views are checked as
// the panel and the overlays show them, in the simulator's host table and panel flows.

#include "DeclareClass.h"
#include "LibraryProcess.h"
#include "PngImage.h"

#include "device/Device.h"
#include "foundation/NSString.h"
#include "objc/Message.h"
#include "uikit/UIImage.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

using objc::send;

namespace {

id manager() {
    return objc_getClass("VDManager");
}

// A target as the library's callers give one: a view of the host's.
Class targetClass() {
    return declareClass("FactoryTarget", {}, UIView::staticClass());
}

id redImage() {
    EXPECT_TRUE((PngImage{4, 4, std::vector<std::uint32_t>(16, 0xFFFF0000)}.write(
        device::Device::resolve("/red.png"))));
    return send<id>(objc_getClass("UIImage"), "imageNamed:", NSString::make("/red.png"));
}

} // namespace

TEST(ViewFactory, PlainViewHasLayerContentsOnlyWithAnImageAndFlexibleLeftAndTopMargins) {
    withLibrary([](void*) {
        UIView* parent = UIView::make(CGRectMake(0, 0, 100, 100));
        id color = UIColor::colorWithRed(0.5, 0.5, 0.5, 1);
        auto* plain =
            objc::cast<UIView>(send<id>(manager(), "InitViewWithBGColor:Frame:BackgroundImage:InView:", color,
                                        CGRectMake(10, 10, 50, 50), static_cast<id>(nullptr), parent));
        EXPECT_EQ(plain->layer()->contents(), nullptr);
        EXPECT_EQ(plain->autoresizingMask(), 9u);
        EXPECT_EQ(plain->superview(), parent);

        id image = redImage();
        auto* pictured =
            objc::cast<UIView>(send<id>(manager(), "InitViewWithBGColor:Frame:BackgroundImage:InView:", color,
                                        CGRectMake(0, 0, 10, 10), image, parent));
        EXPECT_EQ(pictured->layer()->contents(), objc::cast<UIImage>(image)->cgImage());

        // Left to its mask, the view keeps its size and its distance to the right and
        // bottom edges when the parent grows.
        parent->setFrame(CGRectMake(0, 0, 160, 130));
        EXPECT_EQ(plain->frame(), CGRectMake(70, 40, 50, 50));
    });
}

TEST(ViewFactory, TapRecogniserHasTheTargetAsDelegate) {
    withLibrary([](void*) {
        id target = objc::make(targetClass());
        UIView* view = UIView::make(CGRectMake(0, 0, 50, 50));
        auto* tap = objc::cast<UITapGestureRecognizer>(send<id>(
            manager(),
            "InitTapGestureRecognizerInView:NumberOfTapsRequired:NumberOfTouchesRequired:Target:Actions:",
            view, 2UL, 1UL, target, sel_registerName("act")));
        EXPECT_EQ(tap->delegate(), target);
        EXPECT_EQ(tap->view(), view);
        EXPECT_EQ(tap->numberOfTapsRequired(), 2u);
        EXPECT_EQ(tap->numberOfTouchesRequired(), 1u);
        EXPECT_EQ(tap->action(), sel_registerName("act"));
    });
}

TEST(ViewFactory, ImageButtonWithoutAViewIsMadeButNotPlaced) {
    withLibrary([](void*) {
        id elements = send<id>(manager(), "InitButtonImage:InView:Target:Action:", redImage(),
                               static_cast<id>(nullptr), objc::make(targetClass()), sel_registerName("act"));
        ASSERT_EQ(send<unsigned long>(elements, "count"), 2u);
        for (unsigned long i = 0; i < 2; ++i)
            EXPECT_EQ(send<id>(send<id>(elements, "objectAtIndex:", i), "superview"), nullptr);
    });
}

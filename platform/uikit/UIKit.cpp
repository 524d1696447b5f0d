#include "UIKit.h"

#include "CALayer.h"
#include "CGImage.h"
#include "NSLayoutConstraint.h"
#include "UIActivityViewController.h"
#include "UIAlertController.h"
#include "UIApplication.h"
#include "UIButton.h"
#include "UIColor.h"
#include "UIControl.h"
#include "UIGestureRecognizer.h"
#include "UIImageView.h"
#include "UILabel.h"
#include "UILongPressGestureRecognizer.h"
#include "UINavigationController.h"
#include "UIPasteboard.h"
#include "UITapGestureRecognizer.h"
#include "UITextView.h"
#include "UITouch.h"
#include "UIWindow.h"
#include "foundation/Foundation.h"

void registerUIKitClasses() {
    for (Class (*define)() :
         {&CGColor::staticClass, &UIColor::staticClass, &UIFont::staticClass, &CALayer::staticClass,
          &UIResponder::staticClass, &UIView::staticClass, &UIControl::staticClass, &UIWindow::staticClass,
          &UIApplication::staticClass, &UIViewController::staticClass, &UINavigationController::staticClass,
          &UITabBarController::staticClass, &NSBlock::staticClass, &NSLayoutAnchor::staticClass,
          &NSLayoutConstraint::staticClass, &UIGestureRecognizer::staticClass,
          &UITapGestureRecognizer::staticClass, &UILongPressGestureRecognizer::staticClass,
          &UITouch::staticClass})
        define();
    // Text, controls, images and the system's own controllers.
    for (Class (*define)() :
         {&CGImage::staticClass, &UIImage::staticClass, &UILabel::staticClass, &UIScrollView::staticClass,
          &UITextView::staticClass, &UIButton::staticClass, &UIImageView::staticClass,
          &UIPasteboard::staticClass, &UIAlertAction::staticClass, &UIAlertController::staticClass,
          &UIActivityViewController::staticClass})
        define();
}

namespace {
// The frameworks' classes are registered when the platform library is loaded, before the
// app's or any injected library's code runs.
[[gnu::constructor]] void loadFrameworks() {
    registerFoundationClasses();
    registerUIKitClasses();
}
} // namespace

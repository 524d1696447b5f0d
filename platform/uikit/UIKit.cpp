#include "UIKit.h"
#include "CALayer.h"
#include "NSLayoutConstraint.h"
#include "UIColor.h"
#include "UIControl.h"
#include "UIGestureRecognizer.h"
#include "UINavigationController.h"
#include "UIWindow.h"

void registerUIKitClasses() {
    for (Class (*define)() :
         {&CGColor::staticClass, &UIColor::staticClass, &UIFont::staticClass, &CALayer::staticClass,
          &UIResponder::staticClass, &UIView::staticClass, &UIControl::staticClass, &UIWindow::staticClass,
          &UIApplication::staticClass, &UIViewController::staticClass, &UINavigationController::staticClass,
          &UITabBarController::staticClass, &NSBlock::staticClass, &NSLayoutAnchor::staticClass,
          &NSLayoutConstraint::staticClass, &UIGestureRecognizer::staticClass})
        define();
}

namespace {
// The frameworks' classes are registered when the platform library is loaded, before the
// app's or any injected library's code runs.
[[gnu::constructor]] void loadFrameworks() {
    registerUIKitClasses();
}
} // namespace

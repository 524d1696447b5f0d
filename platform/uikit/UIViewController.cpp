#include "UIViewController.h"
#include "PresentationObserver.h"
#include "UIWindow.h"

#include "device/Instruments.h"
#include "foundation/SystemVersion.h"

#include <algorithm>
#include <cstdio>

using objc::Ref;

namespace {

std::string describe(const UIViewController* controller) {
    char text[96];
    std::snprintf(text, sizeof text, "<%s: %p>", controller->isa()->name.c_str(),
                  static_cast<const void*>(controller));
    return text;
}

} // namespace

UIViewController::~UIViewController() {
    for (auto& child : children_)
        child->parent_ = nullptr;
    if (presented_)
        presented_->presenting_ = nullptr;
    if (view_)
        view_->setViewController(nullptr);
}

UIView* UIViewController::view() {
    if (!view_ && !loadingView_) {
        loadingView_ = true;
        objc::send(this, "loadView");
        if (!view_)
            setView(UIView::make(UIScreen::mainScreenBounds()));
        loadingView_ = false;
        objc::send(this, "viewDidLoad");
    }
    return view_.get();
}

void UIViewController::setView(UIView* view) {
    if (view_)
        view_->setViewController(nullptr);
    view_ = view;
    if (view_)
        view_->setViewController(this);
}

void UIViewController::addChildViewController(UIViewController* child) {
    if (!child || child->parent_ == this)
        return;
    Ref<UIViewController> keep = child;
    child->removeFromParentViewController();
    children_.push_back(keep);
    child->parent_ = this;
}

void UIViewController::removeFromParentViewController() {
    if (!parent_)
        return;
    Ref<UIViewController> keep = this;
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
    parent_ = nullptr;
}

UIViewController* UIViewController::presentationContext() {
    UIViewController* context = this;
    while (context->parent_)
        context = context->parent_;
    return context;
}

UIViewController* UIViewController::presentedViewController() const {
    for (const UIViewController* c = this; c; c = c->parent_)
        if (c->presented_)
            return c->presented_.get();
    return nullptr;
}

UIViewController* UIViewController::presentingViewController() const {
    for (const UIViewController* c = this; c; c = c->parent_)
        if (c->presenting_)
            return c->presenting_;
    return nullptr;
}

void UIViewController::present(UIViewController* controller, bool animated,
                               std::function<void()> completion) {
    if (!controller)
        objc::raise(objc::NSInvalidArgumentException,
                    "Application tried to present a nil modal view controller on target " + describe(this) +
                        ".");
    UIViewController* context = presentationContext();
    if (controller->presenting_ || controller->parent_ || controller == context)
        objc::raise(objc::NSInvalidArgumentException,
                    "Application tried to present modally an active controller " + describe(controller) +
                        ".");
    auto& log = device::Instruments::shared();
    if (context->presented_) {
        log.log("Warning: Attempt to present " + describe(controller) + " on " + describe(this) +
                " which is already presenting " + describe(context->presented_.get()));
        return;
    }
    UIWindow* window = isViewLoaded() ? view_->window() : nullptr;
    if (!window) {
        log.log("Warning: Attempt to present " + describe(controller) + " on " + describe(this) +
                " whose view is not in the window hierarchy!");
        return;
    }
    context->presented_ = controller;
    controller->presenting_ = context;
    UIView* presentedView = controller->view();
    presentedView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    const long style = controller->modalPresentationStyle_;
    const bool pageSheet = (style == UIModalPresentationAutomatic || style == UIModalPresentationPageSheet) &&
                           isOperatingSystemAtLeast(13, 0);
    if (!pageSheet) {
        // A full-screen presentation: the presented view lies over everything in the window,
        // and the screen it covers leaves the window until the presentation ends.
        presentedView->setFrame(window->bounds());
        window->addSubview(presentedView);
        UIView* covered = context->sheetContainer_ ? context->sheetContainer_.get() : context->view_.get();
        if (covered && covered->superview() == window) {
            const auto& siblings = window->subviews();
            controller->coveredIndex_ = static_cast<std::size_t>(
                std::find(siblings.begin(), siblings.end(), Ref<UIView>(covered)) - siblings.begin());
            controller->coveredView_ = covered;
            covered->removeFromSuperview();
        }
    } else {
        // A page sheet: below the status bar, its top corners rounded, in a container over
        // the whole window that keeps touches from the receded screen behind it.
        constexpr double SheetTop = 54;
        CGRect bounds = window->bounds();
        UIView* container = UIView::make(bounds);
        container->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        presentedView->setFrame({{0, SheetTop}, {bounds.size.width, bounds.size.height - SheetTop}});
        presentedView->layer()->setCornerRadius(10);
        presentedView->layer()->setMaskedCorners(1 | 2); // the top corners
        presentedView->setClipsToBounds(true);
        container->addSubview(presentedView);
        window->addSubview(container);
        controller->sheetContainer_ = container;
    }
    if (PresentationObserver* observer = PresentationObserver::current())
        observer->didPresent(controller, this, animated);
    // Animations complete at once here.
    if (completion)
        completion();
}

void UIViewController::dismiss(bool animated, std::function<void()> completion) {
    (void)animated; // animations complete at once here
    // The presenter dismisses what it presents; a presented controller (or a child of
    // one) asks its presenter.
    UIViewController* context = presentationContext();
    UIViewController* presenter = context->presented_ ? context : context->presenting_;
    if (!presenter || !presenter->presented_)
        return;
    // Everything presented above the dismissed controller goes with it. A presented
    // controller has no parent, so it is its own presentation context.
    Ref<UIViewController> dismissed = std::move(presenter->presented_);
    for (Ref<UIViewController> c = dismissed; c;) {
        // Only the presenter that stays gets its screen back; the ones above it go too.
        Ref<UIView> covered = std::move(c->coveredView_);
        UIView* window = c->isViewLoaded() ? c->view_->superview() : nullptr;
        if (c->isViewLoaded())
            c->view_->removeFromSuperview();
        if (c == dismissed && covered && window)
            window->insertSubview(covered.get(), c->coveredIndex_);
        if (Ref<UIView> container = std::move(c->sheetContainer_))
            container->removeFromSuperview();
        Ref<UIViewController> next = std::move(c->presented_);
        c->presenting_ = nullptr;
        c = next;
    }
    if (completion)
        completion();
}

namespace {
UIViewController* self(id object) {
    return static_cast<UIViewController*>(object);
}

std::function<void()> completionOf(id block) {
    Ref<NSBlock> kept = objc::cast<NSBlock>(block);
    if (!kept)
        return {};
    return [kept] { kept->invoke(); };
}
} // namespace

Class UIViewController::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIViewController>("UIViewController", UIResponder::staticClass());
        objc::addMethod(
            c, "view", +[](id controller, SEL) -> id { return self(controller)->view(); });
        objc::addMethod(
            c, "setView:", +[](id controller, SEL, id view) {
                self(controller)->setView(objc::cast<UIView>(view));
            });
        objc::addMethod(
            c, "isViewLoaded", +[](id controller, SEL) -> bool { return self(controller)->isViewLoaded(); });
        objc::addMethod(
            c, "loadView", +[](id controller, SEL) {
                self(controller)->setView(UIView::make(UIScreen::mainScreenBounds()));
            });
        objc::addMethod(
            c, "viewDidLoad", +[](id, SEL) {});
        objc::addMethod(
            c, "presentedViewController",
            +[](id controller, SEL) -> id { return self(controller)->presentedViewController(); });
        objc::addMethod(
            c, "presentingViewController",
            +[](id controller, SEL) -> id { return self(controller)->presentingViewController(); });
        objc::addMethod(
            c, "parentViewController",
            +[](id controller, SEL) -> id { return self(controller)->parentViewController(); });
        objc::addMethod(
            c, "modalPresentationStyle",
            +[](id controller, SEL) -> long { return self(controller)->modalPresentationStyle(); });
        objc::addMethod(
            c, "setModalPresentationStyle:", +[](id controller, SEL, long style) {
                self(controller)->setModalPresentationStyle(style);
            });
        objc::addMethod(
            c, "presentViewController:animated:completion:",
            +[](id controller, SEL, id presented, bool animated, id completion) {
                self(controller)
                    ->present(objc::cast<UIViewController>(presented), animated, completionOf(completion));
            });
        objc::addMethod(
            c, "dismissViewControllerAnimated:completion:",
            +[](id controller, SEL, bool animated, id completion) {
                self(controller)->dismiss(animated, completionOf(completion));
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

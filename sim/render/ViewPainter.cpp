#include "ViewPainter.h"
#include "ButtonTitleLabel.h"
#include "CairoHandles.h"
#include "ImagePainter.h"
#include "PictureMemory.h"
#include "RoundedRect.h"
#include "SourceColor.h"

#include "uikit/UIButton.h"
#include "uikit/UIImageView.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace sim::render {

namespace {

// UIKit's dimming view behind a presentation.
constexpr std::array<double, 4> DimmingColor{0, 0, 0, 0.4};

// Where a text view's text starts: its text container inset (8 points above and below)
// and the line fragment padding (5 points either side).
constexpr double TextViewInsetVertical = 8;
constexpr double TextViewInsetHorizontal = 5;

// UIKit's defaults for a label and a button without a font of their own.
constexpr double LabelDefaultPointSize = 17;
constexpr double ButtonDefaultPointSize = 15;
constexpr std::array<double, 4> Black{0, 0, 0, 1};

// A frame that is null (CGRectNull) or not a number anywhere places the view nowhere.
bool isDrawn(UIView* view) {
    CGRect frame = view->frame();
    return !view->isHidden() && view->alpha() > 0 && std::isfinite(frame.origin.x) &&
           std::isfinite(frame.origin.y) && std::isfinite(frame.size.width) &&
           std::isfinite(frame.size.height);
}

bool isPresentedControllerView(UIView* view) {
    UIViewController* controller = view->viewController();
    return controller && controller->presentingViewController();
}

// The view that holds a page sheet over the window.
bool isSheetContainer(UIView* view) {
    if (view->subviews().size() != 1)
        return false;
    UIViewController* controller = view->subviews().front()->viewController();
    return controller && controller->sheetContainer() == view;
}

// Behind a page sheet the screen recedes: drawn smaller about its top centre, a little
// lower, its corners rounded, on black.
constexpr double RecededScale = 0.92;
constexpr double RecededTop = 12;
constexpr double RecededCornerRadius = 10;

double pointSizeOf(UIFont* font, double fallback) {
    return font ? font->pointSize() : fallback;
}

std::array<double, 4> colorOf(UIColor* color) {
    return color ? color->components() : Black;
}

} // namespace

void ViewPainter::paintWindow(UIWindow* window) {
    if (isDrawn(window))
        paintView(window, Level::Window);
}

void ViewPainter::paintView(UIView* view, Level level) {
    const bool translucent = view->alpha() < 1;
    if (translucent)
        cairo_push_group(cr_);

    const CALayer* layer = view->layer();
    appendRoundedRect(cr_, view->bounds(), layer->cornerRadius(), layer->maskedCorners());
    PathHandle outline(cairo_copy_path(cr_));
    cairo_new_path(cr_);
    auto fillOutline = [&](const std::array<double, 4>& rgba) {
        cairo_append_path(cr_, outline.get());
        setSourceColor(cr_, rgba);
        cairo_fill(cr_);
    };
    if (layer->backgroundColor())
        fillOutline(layer->backgroundColor()->components());
    if (UIColor* background = view->backgroundColor())
        fillOutline(background->components());
    {
        SavedState saved(cr_);
        if (layer->masksToBounds()) {
            cairo_append_path(cr_, outline.get());
            cairo_clip(cr_);
        }
        paintContent(view);
        paintSubviews(view, level);
    }
    paintBorder(view);

    if (translucent) {
        cairo_pop_group_to_source(cr_);
        cairo_paint_with_alpha(cr_, view->alpha());
    }
}

void ViewPainter::paintContent(UIView* view) {
    const CGRect bounds = view->bounds();
    if (auto* image = objc::dynCast<CGImage>(view->layer()->contents()))
        drawImageStretched(cr_, *image, bounds);

    if (auto* imageView = objc::dynCast<UIImageView>(view)) {
        if (UIImage* image = imageView->image(); image && image->cgImage())
            drawImageStretched(cr_, *image->cgImage(), bounds);
    } else if (auto* label = objc::dynCast<UILabel>(view)) {
        if (NSString* text = label->text())
            text_.draw(cr_, {.utf8 = text->utf8(),
                             .pointSize = pointSizeOf(label->font(), LabelDefaultPointSize),
                             .color = colorOf(label->textColor()),
                             .alignment = label->textAlignment(),
                             .box = bounds,
                             .placement = TextBlock::Placement::Centered,
                             .maximumLines = label->numberOfLines()});
    } else if (auto* textView = objc::dynCast<UITextView>(view)) {
        // The text is the content of a scroll view: nothing of it shows outside.
        SavedState saved(cr_);
        cairo_rectangle(cr_, 0, 0, bounds.size.width, bounds.size.height);
        cairo_clip(cr_);
        text_.draw(cr_, {.utf8 = textView->text()->utf8(),
                         .pointSize = textView->font()->pointSize(),
                         .color = colorOf(textView->textColor()),
                         .alignment = textView->textAlignment(),
                         .box = CGRectMake(TextViewInsetHorizontal, TextViewInsetVertical,
                                           bounds.size.width - 2 * TextViewInsetHorizontal,
                                           bounds.size.height - 2 * TextViewInsetVertical),
                         .truncates = false,
                         .selectionLocation = textView->selectedRange().location,
                         .selectionLength = textView->selectedRange().length});
    } else if (auto* button = objc::dynCast<UIButton>(view)) {
        UILabel* titleLabel = buttonTitleLabel(button);
        NSString* title = button->titleForState(UIControlStateNormal);
        if (title && titleLabel && !titleLabel->isHidden())
            text_.draw(cr_, {.utf8 = title->utf8(),
                             .pointSize = pointSizeOf(titleLabel->font(), ButtonDefaultPointSize),
                             .color = colorOf(button->titleColorForState(UIControlStateNormal)),
                             .alignment = 1,
                             .box = bounds,
                             .placement = TextBlock::Placement::Centered,
                             .maximumLines = 1});
    }
}

void ViewPainter::paintSubviews(UIView* view, Level level) {
    // A button's title is drawn with the button; its title label would draw it twice.
    auto* button = objc::dynCast<UIButton>(view);
    UILabel* titleLabel = button ? buttonTitleLabel(button) : nullptr;
    // What lies below a page sheet is drawn aside first, to be drawn again receded when
    // the sheet comes.
    auto sheetsLeft =
        level == Level::Window
            ? std::ranges::count_if(view->subviews(),
                                    [](const objc::Ref<UIView>& subview) {
                                        return isDrawn(subview.get()) && isSheetContainer(subview.get());
                                    })
            : 0;
    cairo_t* const screen = cr_;
    std::optional<Aside> aside;
    if (sheetsLeft > 0)
        cr_ = aside.emplace(screen).context();
    for (const auto& subview : view->subviews()) {
        if (subview.get() == titleLabel || !isDrawn(subview.get()))
            continue;
        if (level == Level::Window && isSheetContainer(subview.get())) {
            cr_ = screen;
            recede(view->bounds(), aside->picture());
            aside.reset();
            if (--sheetsLeft > 0)
                cr_ = aside.emplace(screen).context();
        } else if (level == Level::Window && isPresentedControllerView(subview.get())) {
            dimEverything();
        }
        SavedState saved(cr_);
        CGPoint origin = subview->frame().origin;
        cairo_translate(cr_, origin.x, origin.y);
        paintView(subview.get(), Level::Subview);
    }
}

ViewPainter::Aside::Aside(cairo_t* screen) {
    cairo_surface_t* target = cairo_get_target(screen);
    picture_ = makePicture(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(target),
                           cairo_image_surface_get_height(target));
    context_.reset(cairo_create(picture_.get()));
    cairo_matrix_t transform;
    cairo_get_matrix(screen, &transform);
    cairo_set_matrix(context_.get(), &transform);
}

void ViewPainter::recede(CGRect bounds, cairo_surface_t* below) {
    SavedState saved(cr_);
    // The picture below holds device pixels: this many a point.
    double scale = 1, unused = 0;
    cairo_user_to_device_distance(cr_, &scale, &unused);
    setSourceColor(cr_, Black);
    cairo_paint(cr_);
    const double width = bounds.size.width;
    cairo_translate(cr_, width * (1 - RecededScale) / 2, RecededTop);
    cairo_scale(cr_, RecededScale, RecededScale);
    appendRoundedRect(cr_, bounds, RecededCornerRadius, CALayer::AllCorners);
    cairo_clip(cr_);
    cairo_scale(cr_, 1 / scale, 1 / scale);
    cairo_set_source_surface(cr_, below, 0, 0);
    cairo_paint(cr_);
    cairo_reset_clip(cr_);
    setSourceColor(cr_, DimmingColor);
    cairo_paint(cr_);
}

void ViewPainter::paintBorder(UIView* view) {
    const CALayer* layer = view->layer();
    const double width = layer->borderWidth();
    if (!(width > 0) || !std::isfinite(width))
        return;
    setSourceColor(cr_, layer->borderColor() ? layer->borderColor()->components() : Black);
    // The border lies inside the bounds, along the rounded outline; one as wide as half
    // the view covers all of it.
    const CGRect bounds = view->bounds();
    if (2 * width >= std::min(bounds.size.width, bounds.size.height)) {
        appendRoundedRect(cr_, bounds, layer->cornerRadius(), layer->maskedCorners());
        cairo_fill(cr_);
        return;
    }
    CGRect inset = CGRectMake(width / 2, width / 2, bounds.size.width - width, bounds.size.height - width);
    appendRoundedRect(cr_, inset, layer->cornerRadius() - width / 2, layer->maskedCorners());
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void ViewPainter::dimEverything() {
    SavedState saved(cr_);
    cairo_reset_clip(cr_);
    setSourceColor(cr_, DimmingColor);
    cairo_paint(cr_);
}

} // namespace sim::render

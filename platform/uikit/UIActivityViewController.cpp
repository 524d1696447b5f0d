#include "UIActivityViewController.h"

#include "UIButton.h"
#include "UIColor.h"
#include "UILabel.h"

#include "foundation/NSArray.h"
#include "foundation/NSString.h"
#include "foundation/NSURL.h"

#include <filesystem>

UIActivityViewController* UIActivityViewController::make(std::vector<objc::Ref<objc::Object>> items) {
    auto* controller = objc::make<UIActivityViewController>(staticClass());
    controller->setModalPresentationStyle(UIModalPresentationOverFullScreen); // it draws its own sheet
    controller->items_ = std::move(items);
    return controller;
}

std::string UIActivityViewController::sharedTitle() const {
    if (items_.empty())
        return "";
    if (auto* url = objc::dynCast<NSURL>(items_.front().get()))
        return std::filesystem::path(url->path()).filename().string();
    if (auto* text = objc::dynCast<NSString>(items_.front().get()))
        return text->utf8();
    return "";
}

namespace {

// The sheet's parts as iOS lays them out on a phone, in points.
constexpr double SheetHeight = 420;
constexpr double HeaderHeight = 64;
constexpr double TargetSize = 60;
constexpr double RowHeight = 52;
constexpr const char* Targets[] = {"AirDrop", "Messages", "Mail", "Notes"};
constexpr const char* Actions[] = {"Copy", "Save to Files", "Print"};

UIColor* grey(double level) {
    return UIColor::colorWithRed(level, level, level, 1);
}

UILabel* label(CGRect frame, const std::string& text, double size, long alignment) {
    UILabel* made = UILabel::make(frame);
    made->setText(NSString::make(text));
    made->setFont(UIFont::systemFontOfSize(size));
    made->setTextAlignment(alignment);
    return made;
}

} // namespace

void UIActivityViewController::loadSheetView() {
    const CGRect screen = UIScreen::mainScreenBounds();
    UIView* root = UIView::make(screen);
    root->setBackgroundColor(UIColor::clearColor());
    const double width = screen.size.width;
    const double height = std::min(SheetHeight, screen.size.height);
    UIView* sheet = UIView::make({{0, screen.size.height - height}, {width, height}});
    sheet->setAccessibilityIdentifier("share-sheet");
    sheet->setBackgroundColor(grey(0.95));
    sheet->layer()->setCornerRadius(12);
    sheet->layer()->setMaskedCorners(1 | 2); // the top corners
    sheet->setClipsToBounds(true);
    sheet->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin);
    root->addSubview(sheet);

    sheet->addSubview(label({{16, 12}, {width - 72, 40}}, sharedTitle(), 15, 0));
    UIButton* close = UIButton::buttonWithType(UIButtonTypeSystem);
    close->setFrame({{width - 46, 16}, {30, 30}});
    close->setAccessibilityIdentifier("close");
    close->setTitle(NSString::make("\u2715"), 0);
    close->setBackgroundColor(grey(0.85));
    close->layer()->setCornerRadius(15);
    close->addTarget(this, sel_registerName("closeSheet"), UIControlEventTouchUpInside);
    sheet->addSubview(close);

    const double spacing = (width - 4 * TargetSize) / 5;
    for (std::size_t i = 0; i < std::size(Targets); ++i) {
        double x = spacing + static_cast<double>(i) * (TargetSize + spacing);
        UIView* icon = UIView::make({{x, HeaderHeight + 12}, {TargetSize, TargetSize}});
        icon->setBackgroundColor(grey(0.78));
        icon->layer()->setCornerRadius(14);
        sheet->addSubview(icon);
        sheet->addSubview(label({{x - 10, HeaderHeight + 76}, {TargetSize + 20, 18}}, Targets[i], 11, 1));
    }
    double top = HeaderHeight + 112;
    for (const char* action : Actions) {
        UIView* row = UIView::make({{16, top}, {width - 32, RowHeight - 4}});
        row->setBackgroundColor(UIColor::whiteColor());
        row->layer()->setCornerRadius(10);
        row->addSubview(label({{16, 0}, {width - 64, RowHeight - 4}}, action, 16, 0));
        sheet->addSubview(row);
        top += RowHeight;
    }
    setView(root);
}

Class UIActivityViewController::staticClass() {
    static Class cls = [] {
        Class c = objc::defineNativeClass<UIActivityViewController>("UIActivityViewController",
                                                                    UIViewController::staticClass());
        objc::addMethod(
            c, "initWithActivityItems:applicationActivities:", +[](id controller, SEL, id items, id) -> id {
                auto* sheet = static_cast<UIActivityViewController*>(controller);
                sheet->setModalPresentationStyle(UIModalPresentationOverFullScreen); // it draws its own sheet
                auto& kept = sheet->items_;
                kept.clear();
                if (auto* list = objc::cast<NSArray>(items))
                    kept.assign(list->begin(), list->end());
                return controller;
            });
        objc::addMethod(
            c, "loadView",
            +[](id controller, SEL) { static_cast<UIActivityViewController*>(controller)->loadSheetView(); });
        objc::addMethod(
            c, "closeSheet", +[](id controller, SEL) {
                static_cast<UIActivityViewController*>(controller)->dismiss(true, nullptr);
            });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

#include "NavigationBar.h"
#include "HexColor.h"
#include "Label.h"

#include "uikit/UILabel.h"

namespace apps {

UIView* makeNavigationBar(double width, std::string_view title, UIColor* background, UIColor* titleColor) {
    UIView* bar = UIView::make(CGRectMake(0, 0, width, NavigationBarBottom));
    bar->setBackgroundColor(background);
    bar->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    UIView* titleLabel = makeLabel(title, CGRectMake(60, StatusBarHeight, width - 120, NavigationBarHeight),
                                   17, titleColor, NSTextAlignmentCenter);
    titleLabel->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    bar->addSubview(titleLabel);
    // The hairline under the bar.
    UIView* hairline = UIView::make(CGRectMake(0, NavigationBarBottom - 0.5, width, 0.5));
    hairline->setBackgroundColor(hexColor(0x000000, 0.2));
    hairline->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    bar->addSubview(hairline);
    return bar;
}

} // namespace apps

#include "BubbleColumn.h"

#include "uikit/TextSystem.h"
#include "uikit/UIView.h"

#include <algorithm>

namespace apps {

BubbleColumn::Placement BubbleColumn::place(std::string_view text, BubbleSide side) {
    const CGSize padding = style_.padding;
    double maxTextWidth = std::max(1.0, width_ * style_.widthShare - 2 * padding.width);
    CGSize textSize = measuredTextSize(text, style_.fontSize, maxTextWidth);
    // An empty bubble is still a bubble a finger can find.
    textSize.width = std::max(textSize.width, style_.fontSize);
    double width = textSize.width + 2 * padding.width;
    double height = std::max(style_.minimumHeight, textSize.height + 2 * padding.height);

    double x = style_.margin;
    unsigned long mask = UIViewAutoresizingFlexibleRightMargin;
    if (side == BubbleSide::Outgoing) {
        x = width_ - style_.margin - width;
        mask = UIViewAutoresizingFlexibleLeftMargin;
    } else if (side == BubbleSide::Notice) {
        x = (width_ - width) / 2;
        mask = UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin;
    }
    Placement placement{CGRectMake(x, y_, width, height), mask};
    y_ += height + style_.spacing;
    return placement;
}

BubbleColumn::Placement BubbleColumn::placeBlank(double height) {
    Placement placement{CGRectMake(style_.margin, y_, width_ - 2 * style_.margin, height),
                        UIViewAutoresizingFlexibleWidth};
    y_ += height + style_.spacing;
    return placement;
}

} // namespace apps

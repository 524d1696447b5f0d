#pragma once

#include "uikit/UIButton.h"
#include "uikit/UILabel.h"

namespace sim {

// The label that shows a button's title, found among its subviews as any reader of the
// view tree would find it: asking the button for its titleLabel would make one where
// there is none, and so change the screen being read.
inline UILabel* buttonTitleLabel(UIButton* button) {
    for (const auto& subview : button->subviews())
        if (auto* label = objc::dynCast<UILabel>(subview.get()))
            return label;
    return nullptr;
}

} // namespace sim

#pragma once

#include "uikit/UILabel.h"

#include <string_view>

namespace apps {

// A label of wrapped text in the system font, as the apps' screens use them for
// titles and message text.
UILabel* makeLabel(std::string_view text, CGRect frame, double fontSize, UIColor* color,
                   NSTextAlignment alignment = NSTextAlignmentLeft);

} // namespace apps

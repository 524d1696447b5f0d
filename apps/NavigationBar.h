#pragma once

#include "uikit/UIView.h"

#include <string_view>

namespace apps {

inline constexpr double StatusBarHeight = 47;
inline constexpr double NavigationBarHeight = 44;
// Where a screen's content starts below its navigation bar.
inline constexpr double NavigationBarBottom = StatusBarHeight + NavigationBarHeight;

// The bar across the top of a screen, behind the status bar, with the screen's title
// centred, as the apps' navigation bars look.
UIView* makeNavigationBar(double width, std::string_view title, UIColor* background, UIColor* titleColor);

} // namespace apps

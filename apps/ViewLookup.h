#pragma once

#include <string_view>

class UIView;

namespace apps {

// The view with that accessibility identifier in the tree under `root` (itself
// included), or nil: the apps name the views a user touches ("message-1", "chat").
UIView* findView(UIView* root, std::string_view identifier);

} // namespace apps

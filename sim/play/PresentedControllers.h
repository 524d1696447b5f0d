#pragma once

#include <vector>

class UIViewController;
class UIWindow;

namespace sim {

// The controllers presented over the window's root controller, one over the other:
// what the root presents first, the top-most last.
std::vector<UIViewController*> presentedControllers(UIWindow* window);

} // namespace sim

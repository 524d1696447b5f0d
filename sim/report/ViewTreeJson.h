#pragma once

#include "sim/report/Report.h"

class UIView;
class UIWindow;

namespace sim {

// A view and its subviews, back to front, as reports show them: its class and
// identifier, its frame in the window's coordinates (null when the layout left it
// unplaced), its appearance, layer, text, title, image, the targets and actions of a
// control and its gesture recognisers. Keys that do not apply to the view's class are
// null.
Json viewJson(UIView* view);

// The window as a snapshot shows it: the root controller's class and the tree of its
// view.
Json windowJson(UIWindow* window);

// Each controller presented over the window's root: who was sent the present message,
// the controller, whether it was animated, and the tree of its view.
Json presentedJson(UIWindow* window);

} // namespace sim

#pragma once

#include "sim/flow/Flow.h"

#include "support/Expected.h"

#include <optional>
#include <string>
#include <vector>

class UIView;
class UIWindow;

namespace sim {

// The text a user reads on a view: a label's text, a text view's text, a button's
// current title; nothing for other views.
std::optional<std::string> visibleText(UIView* view);

// Whether the user sees the view in `window`: it and its ancestors are shown (not
// hidden, not fully transparent), and its frame covers part of the window.
bool isShown(UIView* view, const UIWindow* window);

// The views of the window that the user sees, in tree order, back to front. Presented
// controllers' views lie in the window above the root controller's, so they come later.
// A button's title label is not among them: it is part of its button.
std::vector<UIView*> shownViews(UIWindow* window);

// Whether the view answers to the selector (its identifier, text and class, subclasses
// included); the index is not the view's to answer.
bool matchesSelector(UIView* view, const ViewSelector& selector);

// The view the selector picks among those the user sees: the match at its index, or
// the front-most. When none matches, why, with what the screen shows.
support::Expected<UIView*, std::string> findShownView(UIWindow* window, const ViewSelector& selector);

// A view as messages name it: `UILabel#title "Hello there"` (class, identifier, text).
std::string viewDescription(UIView* view);

// What the screen shows, compactly, for messages: `WAMessageContainerView#message-1,
// UILabel "Hello there", ...` (views with an identifier or a text).
std::string onScreenSummary(UIWindow* window);

} // namespace sim

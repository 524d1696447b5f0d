#pragma once

class UIView;

// The run loop's layout pass over a view tree: constraints are solved, then every view
// that needs layout gets -layoutSubviews through the runtime, parents before children.
// Layout may mark more views (a subview added in -layoutSubviews, a frame that changed
// size); the pass repeats until nothing needs layout, at most a few rounds, so that a
// view that marks itself on every pass cannot hang the app.
void layoutIfNeeded(UIView* root);

// Marks every view of the tree and runs one pass: each view's -layoutSubviews once, then
// the constraints are solved again so that frames match what the pass activated.
void layoutEverything(UIView* root);

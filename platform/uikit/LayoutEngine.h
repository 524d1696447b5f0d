#pragma once

class UIView;

// Solves the equality constraints held in a view tree and gives every constrained view
// (one that does not translate its autoresizing mask and that an active constraint
// names) its frame.
//
// The unknowns are the four edges (left, right, top, bottom) of each constrained view,
// in the root's coordinates. The root's edges are its bounds; the edges of any other
// view are its frame offset from its superview's left and top edges, so they reduce to
// the edges of its nearest constrained ancestor, or to numbers. Each constraint is one
// linear equation (a centre is half the sum of two edges, a size their difference).
// Equations are eliminated one at a time in the order the tree holds them; a view whose
// four edges end up determined gets its frame. An equation that contradicts the ones
// before it is broken and logged, as UIKit does; a view left underdetermined keeps its
// frame.
void solveConstraints(UIView* root);

#pragma once

class UIView;

// Solves the equality constraints held in a view tree and gives every constrained view
// (one that does not translate its autoresizing mask) its frame.
//
// Each view has four unknowns in the root's coordinates: its left, right, top and bottom
// edges. A view that translates its autoresizing mask, or that no active constraint
// names, is known from its frame once its superview is known. Each constraint is one
// linear equation (centres are half the sum of two edges); equations with a single
// unknown left are solved in turn until nothing more can be learnt. A constraint that
// contradicts what is already known is broken and logged, as UIKit does.
void solveConstraints(UIView* root);

#pragma once

#include "Optional.h"

#include "Runtime.h"

// One of the four edge constraints the library gives each view it places:
// view.anchor = to.toAnchor (+ constant). Without a constant the constraint is made with
// constraintEqualToAnchor:, otherwise with constraintEqualToAnchor:constant:.
struct EdgeConstraint {
    id to;
    const char* toAnchor;
    Optional<double> constant;
};

// Makes the view's top, leading, trailing and bottom constraints, in that order, and
// activates the four together in one call.
void activateEdgeConstraints(id view, const EdgeConstraint (&edges)[4]);

// The four edges of a view pinned to the same edges of another, each with its constant.
void pinEdges(id view, id to, double top, double leading, double trailing, double bottom);

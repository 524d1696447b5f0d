#pragma once

#include "objc/Object.h"

#include <array>
#include <optional>

// One of the four edge constraints the library gives each view it places:
// view.anchor = to.toAnchor (+ constant). Without a constant the constraint is made with
// constraintEqualToAnchor:, otherwise with constraintEqualToAnchor:constant:.
struct EdgeConstraint {
    id to;
    const char* toAnchor;
    std::optional<double> constant;
};

// Makes the view's top, leading, trailing and bottom constraints, in that order, and
// activates the four together in one call.
void activateEdgeConstraints(id view, const std::array<EdgeConstraint, 4>& edges);

// The four edges of a view pinned to the same edges of another, each with its constant.
void pinEdges(id view, id to, double top, double leading, double trailing, double bottom);

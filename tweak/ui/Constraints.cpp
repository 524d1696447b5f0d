#include "Constraints.h"

#include "Runtime.h"

using objc::send;

void activateEdgeConstraints(id view, const EdgeConstraint (&edges)[4]) {
    static constexpr const char* anchors[] = {"topAnchor", "leadingAnchor", "trailingAnchor", "bottomAnchor"};
    id constraints[4];
    for (size_t i = 0; i < 4; ++i) {
        id anchor = send<id>(view, anchors[i]);
        id other = send<id>(edges[i].to, edges[i].toAnchor);
        constraints[i] = edges[i].constant ? send<id>(anchor, "constraintEqualToAnchor:constant:", other,
                                                      *edges[i].constant)
                                           : send<id>(anchor, "constraintEqualToAnchor:", other);
    }
    id array = send<id>(objc_getClass("NSArray"), "arrayWithObjects:count:", static_cast<id*>(constraints),
                        NSUInteger{4});
    send(objc_getClass("NSLayoutConstraint"), "activateConstraints:", array);
}

void pinEdges(id view, id to, double top, double leading, double trailing, double bottom) {
    activateEdgeConstraints(view, {{to, "topAnchor", top},
                                   {to, "leadingAnchor", leading},
                                   {to, "trailingAnchor", trailing},
                                   {to, "bottomAnchor", bottom}});
}

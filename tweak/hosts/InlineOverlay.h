#pragma once

#include "ui/Optional.h"

#include "Runtime.h"

// The inline overlay: a dark, editable text view laid over a host's view, where the user
// selects and copies any part of the text in place. Every host makes it the same way;
// what differs is data.
struct OverlayStyle {
    Optional<double> cornerRadius;         // none: the layer keeps its square corners
    bool cornerRadiusBeforeClipping;       // the order in which the two are set
    double fontSize;                       // of the system font
    Optional<long> textAlignment;          // none: the text view's default
    double top, leading, trailing, bottom; // constants of the four edge constraints
    bool replacesEarlier;                  // the newest overlay is taken away before a new one
};

// WhatsApp's and YouTube's: corner radius 7, the 15-point system font, 5 points inside.
inline constexpr OverlayStyle StandardOverlay{7.0, true, 15.0, {}, 5.0, 5.0, -5.0, -5.0, false};

// Makes the overlay (37/255 grey, white text, frame CGRectNull) as the top-most subview
// of parent, stores it in the host's overlay global, gives it the style and the text,
// and pins it to the anchor view. Unless the style replaces it, an overlay the global
// held before stays where it is; only the global lets go of it. Answers the overlay.
id showOverlay(id text, id parent, id anchor, id* global, const OverlayStyle& style);

// Hides the overlay and takes it out of its view; nothing for nil. The global keeps it.
void dismissOverlay(id overlay);

#pragma once

#include "objc/Object.h"

// The inline overlay: a dark, editable text view laid over a host's view, where the user
// selects and copies any part of the text in place.

// Makes the overlay (37/255 grey, white text, frame CGRectNull) as the top-most subview
// of parent, and stores it in the host's overlay global. An overlay the global held
// before stays where it is; only the global lets go of it.
id makeOverlay(id parent, id* global);

// What WhatsApp and YouTube show: editable, corner radius 7, clipped, the text in the
// 15-point system font, pinned 5 points inside the anchor view.
void showStandardOverlay(id text, id parent, id anchor, id* global);

// Hides the overlay and takes it out of its view; nothing for nil. The global keeps it.
void dismissOverlay(id overlay);

// The system font of a size.
id systemFont(double size);

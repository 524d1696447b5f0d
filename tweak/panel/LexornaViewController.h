#pragma once

#include "Runtime.h"

// The text panel: a 300 by 300 point card, centred in its view, with a title bar that
// carries "Done", the title and a Share icon, and a text view showing the text. Its
// `text` property holds the presenter's string itself, not a copy.

// Defines the class in the runtime; the library does so once, when it is loaded. Where
// another library took the name first, the class stays undefined.
void registerLexornaViewController();

// The class the library defined, or nil when it could not define it.
Class LexornaViewControllerClass();

// What every panel action does: a new panel with the text (nil passed on), presented,
// animated, on the top-most controller. Nothing without the panel's class.
void presentTextPanel(id text);

#pragma once

#include "objc/Runtime.h"

// The text panel: a 300 by 300 point card, centred in its view, with a title bar that
// carries "Done", the title and a Share icon, and a text view showing the text. Its
// `text` property holds the presenter's string itself, not a copy. The class is
// registered in the runtime when the library is loaded.
Class LexornaViewControllerClass();

// What every panel action does: a new panel with the text (nil passed on), presented,
// animated, on the top-most controller.
void presentTextPanel(id text);

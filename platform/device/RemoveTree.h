#pragma once

namespace device {

// Removes the entry `name` of an open folder of the machine: a file, a link (never what it
// points to) or a folder with everything in it, each folder opened without following a
// link. Answers 0, or the errno of the first entry that could not be removed.
int removeTreeAt(int folder, const char* name);

} // namespace device

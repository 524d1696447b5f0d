#pragma once

#include "Runtime.h"

// The export file, "Library/Lexorna" in the app's home directory: the UTF-8 bytes of
// the last shared text and nothing else.
id exportFilePath();

// Writes the text (nil: an empty file) to the export file. When the write fails, an
// earlier export file (a file or a link, never a folder) is removed, so that nothing can
// share a stale text, and the answer is false.
bool writeExportFile(id text);

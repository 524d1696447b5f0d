#pragma once

#include "Runtime.h"

// +[VDManager ShareItemAtPath:InViewController:]: presents the system share sheet for
// the file at a path on a controller, animated, and answers the sheet.
id ShareItemAtPath(id self, SEL _cmd, id path, id controller);

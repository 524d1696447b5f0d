#pragma once

#include "Runtime.h"

// The newest inline overlay of each host: a strong reference each, nil at load, replaced
// by every new overlay and never set back to nil. Exported under these names.
extern "C" {
[[gnu::visibility("default")]] extern id TextView;
[[gnu::visibility("default")]] extern id TextView_Youtube;
[[gnu::visibility("default")]] extern id TextView_Twitter;
[[gnu::visibility("default")]] extern id TextView_Instagram;
[[gnu::visibility("default")]] extern id TextView_Messages;
}

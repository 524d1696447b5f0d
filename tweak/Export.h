#pragma once

// The library is built with hidden symbols; what it exports on a device is marked with
// this, one name at a time.
#define LEXORNA_EXPORT __attribute__((visibility("default")))

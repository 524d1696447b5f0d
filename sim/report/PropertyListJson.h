#pragma once

#include "sim/report/Report.h"

#include "objc/Object.h"

namespace sim {

// Property-list objects as JSON, for people to read: dictionaries, arrays, strings,
// numbers and booleans as themselves, data as base64 text, dates as seconds since
// 2001-01-01, nil as null.
Json jsonFromPropertyList(id object);

} // namespace sim

#pragma once

#include "support/Expected.h"

#include <string>
#include <string_view>

namespace sim {

// The bytes of base64 text (RFC 4648's alphabet). White space (line breaks in long
// values) is skipped and the closing '=' padding may be left off; anything else that is
// not base64 is an error that names the offending character's offset.
support::Expected<std::string, std::string> decodeBase64(std::string_view text);

// Base64 text of bytes, padded, on one line.
std::string encodeBase64(std::string_view bytes);

} // namespace sim

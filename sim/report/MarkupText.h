#pragma once

#include <string>
#include <string_view>

namespace sim {

// Text for HTML or XML, as an element's text or a quoted attribute: the five markup
// characters escaped, so that nothing an app or a flow wrote becomes markup.
std::string markupEscaped(std::string_view text);

} // namespace sim

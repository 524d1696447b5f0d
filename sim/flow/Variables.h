#pragma once

#include "sim/flow/YamlValues.h"

#include "support/Expected.h"

#include <yaml-cpp/yaml.h>

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace sim {

// A flow's variables by name: from a header's `env`, a runFlow's `env`, or -e NAME=VALUE.
using Variables = std::map<std::string, std::string>;

// Whether a text can name a variable: a letter or `_`, then letters, digits and `_`.
bool isVariableName(std::string_view name);

// The text with each `${...}` replaced: `${NAME}` by the variable's value, `${NAME == 'text'}`
// and `${NAME != 'text'}` by true or false; `$${` stands for a `${` of the text itself.
// An unset variable, or anything else between the braces, is an error that says so.
support::Expected<std::string, std::string> substituted(std::string_view text, const Variables& variables);

// Replaces the variables in the scalars of one YAML document, in place, value by value as
// its reader comes to them. Each scalar keeps its place in the file and its style: a plain
// `${COUNT}` set to 2 reads as a number, as if 2 had been written there, and a quoted one
// as the text "2". Maps' keys are replaced too.
class Substitution {
public:
    support::Expected<void, YamlError> in(YAML::Node node, const Variables& variables);

private:
    support::Expected<void, YamlError> in(YAML::Node node, const Variables& variables, std::size_t depth,
                                          std::size_t& nodes);

    // Where the scalars replaced so far stand in the document: an alias is the node it
    // names, replaced once, so that a `$${` it held stays a `${`.
    std::set<int> replaced_;
};

} // namespace sim

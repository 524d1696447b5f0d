#pragma once

#include "objc/Object.h"
#include "support/Expected.h"

#include <nlohmann/json.hpp>
#include <yaml-cpp/yaml.h>

#include <string>
#include <variant>

namespace sim {

// A YAML value that has no form where it is going, and where it stands.
struct YamlError {
    YAML::Mark mark;
    std::string message;
};

struct Bytes {
    std::string bytes;
    bool operator==(const Bytes&) const = default;
};

// A scalar typed as YAML 1.2's core schema types it: a plain scalar that looks like null,
// a boolean (true/false, not yes/no), an integer or a real is one; a quoted scalar is a
// string, so `2` is a number and `"2"` is text. The tags !!str, !!int, !!float, !!bool,
// !!null and !!binary (base64 bytes) say the type outright.
using ScalarValue = std::variant<std::nullptr_t, bool, long long, double, std::string, Bytes>;

support::Expected<ScalarValue, YamlError> scalarValue(const YAML::Node& node);

// A whole YAML value as JSON: maps to objects (keys as written), sequences to arrays,
// scalars typed as above. Bytes have no JSON form.
support::Expected<nlohmann::json, YamlError> jsonFromYaml(const YAML::Node& node);

// A whole YAML value as property-list objects (NSDictionary, NSArray, NSString,
// NSNumber, NSData). Null has no property-list form.
support::Expected<objc::Ref<objc::Object>, YamlError> propertyListFromYaml(const YAML::Node& node);

} // namespace sim

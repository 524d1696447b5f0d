#include "sim/flow/YamlValues.h"
#include "sim/flow/Base64.h"

#include "foundation/NSArray.h"
#include "foundation/NSData.h"
#include "foundation/NSDictionary.h"
#include "foundation/NSNumber.h"
#include "foundation/NSString.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <regex>
#include <set>

namespace sim {

using support::Unexpected;

namespace {

constexpr std::string_view CoreTag = "tag:yaml.org,2002:";

// Aliases let a small file stand for a huge value (or one that holds itself); these
// bounds keep a flow file's cost bounded.
constexpr std::size_t MaxDepth = 256;
constexpr std::size_t MaxNodes = 100000;

bool isNullText(const std::string& text) {
    return text.empty() || text == "~" || text == "null" || text == "Null" || text == "NULL";
}

std::optional<bool> booleanOf(const std::string& text) {
    if (text == "true" || text == "True" || text == "TRUE")
        return true;
    if (text == "false" || text == "False" || text == "FALSE")
        return false;
    return std::nullopt;
}

enum class Resolution { NotANumber, Integer, Real, OutOfRange };

Resolution numberOf(const std::string& text, long long& integer, double& real) {
    static const std::regex decimal("[-+]?[0-9]+");
    static const std::regex octal("0o[0-7]+");
    static const std::regex hexadecimal("0x[0-9a-fA-F]+");
    static const std::regex floating("[-+]?(\\.[0-9]+|[0-9]+(\\.[0-9]*)?)([eE][-+]?[0-9]+)?");
    static const std::regex infinity("[-+]?\\.(inf|Inf|INF)");
    static const std::regex notANumber("\\.(nan|NaN|NAN)");
    // Most scalars are words: spare them the patterns.
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '-' ||
                          text.front() == '+' || text.front() == '.'))
        return Resolution::NotANumber;

    auto parseInteger = [&](std::string_view digits, int base) {
        bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        unsigned long long magnitude = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
        const unsigned long long limit =
            static_cast<unsigned long long>(std::numeric_limits<long long>::max()) + (negative ? 1 : 0);
        if (error != std::errc() || end != digits.data() + digits.size() || magnitude > limit)
            return Resolution::OutOfRange;
        integer = negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
        return Resolution::Integer;
    };

    if (std::regex_match(text, decimal))
        return parseInteger(text, 10);
    if (std::regex_match(text, octal))
        return parseInteger(std::string_view(text).substr(2), 8);
    if (std::regex_match(text, hexadecimal))
        return parseInteger(std::string_view(text).substr(2), 16);
    if (std::regex_match(text, infinity)) {
        real = text.front() == '-' ? -HUGE_VAL : HUGE_VAL;
        return Resolution::Real;
    }
    if (std::regex_match(text, notANumber)) {
        real = std::numeric_limits<double>::quiet_NaN();
        return Resolution::Real;
    }
    if (std::regex_match(text, floating)) {
        std::string_view digits = text;
        if (digits.front() == '+')
            digits.remove_prefix(1);
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), real);
        if (error != std::errc() || end != digits.data() + digits.size())
            return Resolution::OutOfRange;
        return Resolution::Real;
    }
    return Resolution::NotANumber;
}

support::Expected<ScalarValue, YamlError> typed(const YAML::Node& node, std::string_view type) {
    const std::string& text = node.Scalar();
    auto fail = [&](std::string message) {
        return support::Unexpected(YamlError{node.Mark(), std::move(message)});
    };
    if (type == "str")
        return ScalarValue(text);
    if (type == "null") {
        if (!isNullText(text))
            return fail("!!null: expected null");
        return ScalarValue(nullptr);
    }
    if (type == "bool") {
        auto value = booleanOf(text);
        if (!value)
            return fail("!!bool: expected true or false");
        return ScalarValue(*value);
    }
    if (type == "binary") {
        auto bytes = decodeBase64(text);
        if (!bytes)
            return fail("!!binary: " + bytes.error());
        return ScalarValue(Bytes{std::move(*bytes)});
    }
    long long integer = 0;
    double real = 0;
    Resolution resolution = numberOf(text, integer, real);
    if (resolution == Resolution::OutOfRange)
        return fail("number out of range: " + text);
    if (type == "int") {
        if (resolution != Resolution::Integer)
            return fail("!!int: expected a whole number");
        return ScalarValue(integer);
    }
    if (type == "float") {
        if (resolution == Resolution::NotANumber)
            return fail("!!float: expected a number");
        return ScalarValue(resolution == Resolution::Integer ? static_cast<double>(integer) : real);
    }
    // A plain scalar: whatever the core schema reads in it.
    if (isNullText(text))
        return ScalarValue(nullptr);
    if (auto value = booleanOf(text))
        return ScalarValue(*value);
    if (resolution == Resolution::Integer)
        return ScalarValue(integer);
    if (resolution == Resolution::Real)
        return ScalarValue(real);
    return ScalarValue(text);
}

// Walks a YAML value for one of the conversions below, with the checks both share:
// duplicate keys, keys that are not scalars, depth and size.
template <class Builder> class Converter {
public:
    using Value = typename Builder::Value;

    support::Expected<Value, YamlError> convert(const YAML::Node& node, std::size_t depth = 0) {
        if (depth > MaxDepth || ++nodes_ > MaxNodes)
            return support::Unexpected(YamlError{node.Mark(), "value nested too deeply or too large"});
        if (node.IsMap()) {
            auto map = Builder::makeMap();
            std::set<std::string> keys;
            for (const auto& entry : node) {
                if (!entry.first.IsScalar())
                    return support::Unexpected(YamlError{entry.first.Mark(), "a key must be a plain text"});
                const std::string& key = entry.first.Scalar();
                if (!keys.insert(key).second)
                    return support::Unexpected(YamlError{entry.first.Mark(), "duplicate key `" + key + "`"});
                auto value = convert(entry.second, depth + 1);
                if (!value)
                    return value;
                Builder::addEntry(map, key, std::move(*value));
            }
            return Builder::finishMap(std::move(map));
        }
        if (node.IsSequence()) {
            auto list = Builder::makeList();
            for (const auto& element : node) {
                auto value = convert(element, depth + 1);
                if (!value)
                    return value;
                Builder::addElement(list, std::move(*value));
            }
            return Builder::finishList(std::move(list));
        }
        auto scalar = scalarValue(node);
        if (!scalar)
            return support::Unexpected(scalar.error());
        return Builder::scalar(node, std::move(*scalar));
    }

private:
    std::size_t nodes_ = 0;
};

struct JsonBuilder {
    using Value = nlohmann::json;
    static Value makeMap() { return Value::object(); }
    static void addEntry(Value& map, const std::string& key, Value value) { map[key] = std::move(value); }
    static Value finishMap(Value map) { return map; }
    static Value makeList() { return Value::array(); }
    static void addElement(Value& list, Value value) { list.push_back(std::move(value)); }
    static Value finishList(Value list) { return list; }
    static support::Expected<Value, YamlError> scalar(const YAML::Node& node, ScalarValue value) {
        if (std::holds_alternative<Bytes>(value))
            return support::Unexpected(YamlError{node.Mark(), "!!binary has no form here"});
        if (auto* boolean = std::get_if<bool>(&value))
            return Value(*boolean);
        if (auto* integer = std::get_if<long long>(&value))
            return Value(*integer);
        if (auto* real = std::get_if<double>(&value))
            return Value(*real);
        if (auto* text = std::get_if<std::string>(&value))
            return Value(std::move(*text));
        return Value(nullptr);
    }
};

struct PropertyListBuilder {
    using Value = objc::Ref<objc::Object>;
    using Map = std::vector<NSDictionary::Entry>;
    using List = std::vector<objc::Ref<objc::Object>>;
    static Map makeMap() { return {}; }
    static void addEntry(Map& map, const std::string& key, Value value) {
        map.emplace_back(NSString::make(key), std::move(value));
    }
    static Value finishMap(Map map) { return NSDictionary::make(std::move(map)); }
    static List makeList() { return {}; }
    static void addElement(List& list, Value value) { list.push_back(std::move(value)); }
    static Value finishList(List list) { return NSArray::make(std::move(list)); }
    static support::Expected<Value, YamlError> scalar(const YAML::Node& node, ScalarValue value) {
        if (std::holds_alternative<std::nullptr_t>(value))
            return support::Unexpected(
                YamlError{node.Mark(), "null has no property-list form (leave the key out)"});
        if (auto* boolean = std::get_if<bool>(&value))
            return Value(NSNumber::numberWithBool(*boolean));
        if (auto* integer = std::get_if<long long>(&value))
            return Value(NSNumber::numberWithLongLong(*integer));
        if (auto* real = std::get_if<double>(&value))
            return Value(NSNumber::numberWithDouble(*real));
        if (auto* bytes = std::get_if<Bytes>(&value))
            return Value(NSData::make(bytes->bytes));
        return Value(NSString::make(std::get<std::string>(value)));
    }
};

} // namespace

support::Expected<ScalarValue, YamlError> scalarValue(const YAML::Node& node) {
    if (node.IsNull())
        return ScalarValue(nullptr);
    if (!node.IsScalar())
        return support::Unexpected(YamlError{node.Mark(), "expected a single value"});
    const std::string& tag = node.Tag();
    if (tag == "!")
        return ScalarValue(node.Scalar());
    if (tag == "?" || tag.empty())
        return typed(node, "");
    if (tag.starts_with(CoreTag)) {
        std::string_view type = std::string_view(tag).substr(CoreTag.size());
        if (type == "str" || type == "null" || type == "bool" || type == "int" || type == "float" ||
            type == "binary")
            return typed(node, type);
    }
    return support::Unexpected(YamlError{node.Mark(), "unsupported tag " + tag});
}

support::Expected<nlohmann::json, YamlError> jsonFromYaml(const YAML::Node& node) {
    return Converter<JsonBuilder>().convert(node);
}

support::Expected<objc::Ref<objc::Object>, YamlError> propertyListFromYaml(const YAML::Node& node) {
    return Converter<PropertyListBuilder>().convert(node);
}

} // namespace sim

#include "sim/flow/Variables.h"
#include "sim/flow/NearestName.h"

#include <cctype>
#include <vector>

namespace sim {

namespace {

// As for the values a flow holds: aliases may make a small file a huge tree.
constexpr std::size_t MaxDepth = 256;
constexpr std::size_t MaxNodes = 100000;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

support::Expected<std::string, std::string> valueOf(std::string_view name, const Variables& variables) {
    if (auto it = variables.find(std::string(name)); it != variables.end())
        return it->second;
    std::vector<std::string_view> names(variables.size());
    std::size_t k = 0;
    for (const auto& [known, value] : variables)
        names[k++] = known;
    return support::Unexpected("`${" + std::string(name) + "}` is not set" + didYouMean(name, names) +
                               " (give it in the header's env, a runFlow's env or -e " + std::string(name) +
                               "=VALUE)");
}

// What stands between `${` and `}`: a name, or a name compared with a quoted text.
support::Expected<std::string, std::string> evaluate(std::string_view expression, const Variables& variables) {
    std::string_view inside = trimmed(expression);
    if (isVariableName(inside))
        return valueOf(inside, variables);
    const std::string shown = "`${" + std::string(expression) + "}`";
    std::size_t end = 0;
    while (end < inside.size() && (std::isalnum(static_cast<unsigned char>(inside[end])) || inside[end] == '_'))
        ++end;
    std::string_view name = inside.substr(0, end);
    std::string_view rest = trimmed(inside.substr(end));
    bool equal = true;
    std::size_t operatorLength = 0;
    for (std::string_view op : {"===", "!==", "==", "!="})
        if (rest.starts_with(op)) {
            equal = op[0] == '=';
            operatorLength = op.size();
            break;
        }
    std::string_view literal = trimmed(rest.substr(operatorLength));
    if (!isVariableName(name) || operatorLength == 0 || literal.size() < 2 ||
        (literal.front() != '\'' && literal.front() != '"') || literal.back() != literal.front() ||
        literal.substr(1, literal.size() - 2).find(literal.front()) != std::string_view::npos)
        return support::Unexpected(shown + ": expected a variable's name, or NAME == 'text' or NAME != 'text'");
    auto value = valueOf(name, variables);
    if (!value)
        return value;
    bool same = *value == literal.substr(1, literal.size() - 2);
    return std::string(same == equal ? "true" : "false");
}

} // namespace

bool isVariableName(std::string_view name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front())))
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

support::Expected<std::string, std::string> substituted(std::string_view text, const Variables& variables) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t dollar = text.find('$', at);
        if (dollar == std::string_view::npos) {
            out.append(text.substr(at));
            break;
        }
        out.append(text.substr(at, dollar - at));
        if (text.substr(dollar).starts_with("$${")) {
            out += "${";
            at = dollar + 3;
        } else if (text.substr(dollar).starts_with("${")) {
            std::size_t close = text.find('}', dollar + 2);
            if (close == std::string_view::npos)
                return support::Unexpected(std::string("a `${` is not closed by `}` (write `$${` for the text `${`)"));
            auto value = evaluate(text.substr(dollar + 2, close - dollar - 2), variables);
            if (!value)
                return value;
            out += *value;
            at = close + 1;
        } else {
            out += '$';
            at = dollar + 1;
        }
    }
    return out;
}

support::Expected<void, YamlError> Substitution::in(YAML::Node node, const Variables& variables) {
    std::size_t nodes = 0;
    return in(node, variables, 0, nodes);
}

support::Expected<void, YamlError> Substitution::in(YAML::Node node, const Variables& variables,
                                                     std::size_t depth, std::size_t& nodes) {
    if (depth > MaxDepth || ++nodes > MaxNodes)
        return support::Unexpected(YamlError{node.Mark(), "value nested too deeply or too large"});
    if (node.IsSequence()) {
        for (YAML::Node element : node)
            if (auto done = in(element, variables, depth + 1, nodes); !done)
                return done;
    } else if (node.IsMap()) {
        for (auto entry : node) {
            if (auto done = in(entry.first, variables, depth + 1, nodes); !done)
                return done;
            if (auto done = in(entry.second, variables, depth + 1, nodes); !done)
                return done;
        }
    } else if (node.IsScalar() && node.Scalar().find('$') != std::string::npos &&
               !replaced_.contains(node.Mark().pos)) {
        const std::string text = node.Scalar();
        auto value = substituted(text, variables);
        if (!value)
            return support::Unexpected(YamlError{node.Mark(), value.error()});
        if (*value != text) {
            replaced_.insert(node.Mark().pos);
            node = *value;
        }
    }
    return {};
}

} // namespace sim

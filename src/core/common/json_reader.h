#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kv820 {

// A JSON value read from untrusted text (RFC 8259). Objects keep the last of repeated
// names; numbers are doubles read without the locale.
class JsonValue {
  public:
    using Array = std::vector<JsonValue>;
    using Object = std::map<std::string, JsonValue, std::less<>>;

    JsonValue() = default;
    explicit JsonValue(bool value) : value_(value) {}
    explicit JsonValue(double value) : value_(value) {}
    explicit JsonValue(std::string value) : value_(std::move(value)) {}
    explicit JsonValue(Array value) : value_(std::move(value)) {}
    explicit JsonValue(Object value) : value_(std::move(value)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    const double* number() const { return std::get_if<double>(&value_); }
    const std::string* string() const { return std::get_if<std::string>(&value_); }
    const Array* array() const { return std::get_if<Array>(&value_); }
    const Object* object() const { return std::get_if<Object>(&value_); }
    // The member of an object; null when this is no object or has no such member.
    const JsonValue* member(std::string_view name) const;

  private:
    std::variant<std::monostate, bool, double, std::string, Array, Object> value_;
};

struct JsonReadResult {
    std::optional<JsonValue> value;
    std::string error;  // what is wrong and at which byte, when there is no value
};

// Reads one JSON text. Nesting deeper than `maxDepth` is refused, so that a hostile file
// cannot exhaust the stack.
JsonReadResult readJson(std::string_view text, std::size_t maxDepth = 64);

}  // namespace kv820

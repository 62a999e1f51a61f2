#include "core/common/json_text.h"

#include <cmath>

#include "core/common/number_text.h"

namespace kv820 {

namespace {

void appendUnicodeEscape(std::string& out, unsigned char c) {
    static constexpr char Hex[] = "0123456789abcdef";
    out += "\\u00";
    out += Hex[c >> 4];
    out += Hex[c & 0x0f];
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || c == '<' || c == '>' || c == '&') {
            appendUnicodeEscape(out, byte);
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendJsonNumber(std::string& out, double value, int decimals) {
    // JSON has no NaN or infinity; no caller should hand one, but the page must still parse.
    out += std::isfinite(value) ? fixedDecimal(value, decimals) : std::string("0");
}

}  // namespace kv820

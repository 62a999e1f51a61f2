#include "core/common/json_reader.h"

#include <charconv>
#include <cmath>

namespace kv820 {

const JsonValue* JsonValue::member(std::string_view name) const {
    const Object* members = object();
    if (!members) {
        return nullptr;
    }
    const auto found = members->find(name);
    return found == members->end() ? nullptr : &found->second;
}

namespace {

struct Failure {
    std::string what;
};

class JsonParser {
  public:
    JsonParser(std::string_view text, std::size_t maxDepth) : text_(text), maxDepth_(maxDepth) {}

    JsonValue document() {
        JsonValue value = parseValue(0);
        skipBlanks();
        if (pos_ != text_.size()) {
            fail("text after the value");
        }
        return value;
    }

    std::size_t position() const { return pos_; }

  private:
    [[noreturn]] void fail(const std::string& what) const { throw Failure{what}; }

    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r')) {
            ++pos_;
        }
    }

    bool take(char c) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    void expect(char c) {
        if (!take(c)) {
            fail(std::string("'") + c + "' expected");
        }
    }

    bool takeWord(std::string_view word) {
        if (text_.substr(pos_, word.size()) == word) {
            pos_ += word.size();
            return true;
        }
        return false;
    }

    JsonValue parseValue(std::size_t depth) {
        if (depth > maxDepth_) {
            fail("nested too deeply");
        }
        skipBlanks();
        if (pos_ >= text_.size()) {
            fail("value expected");
        }
        const char c = text_[pos_];
        if (c == '{') {
            return parseObject(depth);
        }
        if (c == '[') {
            return parseArray(depth);
        }
        if (c == '"') {
            return JsonValue(parseString());
        }
        if (takeWord("true")) {
            return JsonValue(true);
        }
        if (takeWord("false")) {
            return JsonValue(false);
        }
        if (takeWord("null")) {
            return JsonValue();
        }
        return JsonValue(parseNumber());
    }

    JsonValue parseObject(std::size_t depth) {
        expect('{');
        JsonValue::Object members;
        if (take('}')) {
            return JsonValue(std::move(members));
        }
        do {
            skipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != '"') {
                fail("member name expected");
            }
            std::string name = parseString();
            expect(':');
            members.insert_or_assign(std::move(name), parseValue(depth + 1));
        } while (take(','));
        expect('}');
        return JsonValue(std::move(members));
    }

    JsonValue parseArray(std::size_t depth) {
        expect('[');
        JsonValue::Array items;
        if (take(']')) {
            return JsonValue(std::move(items));
        }
        do {
            items.push_back(parseValue(depth + 1));
        } while (take(','));
        expect(']');
        return JsonValue(std::move(items));
    }

    double parseNumber() {
        // The grammar is checked here; from_chars alone would also take "inf" or "+1".
        const std::size_t start = pos_;
        auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
                ++pos_;
            }
            return pos_ > from;
        };
        if (pos_ < text_.size() && text_[pos_] == '-') {
            ++pos_;
        }
        if (!digits()) {
            fail("value expected");
        }
        if (pos_ < text_.size() && text_[pos_] == '.' && (++pos_, !digits())) {
            fail("digit expected after the decimal point");
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
                ++pos_;
            }
            if (!digits()) {
                fail("digit expected in the exponent");
            }
        }
        double value = 0;
        const auto [end, error] = std::from_chars(text_.data() + start, text_.data() + pos_, value);
        if (error != std::errc() || end != text_.data() + pos_ || !std::isfinite(value)) {
            fail("number out of range");
        }
        return value;
    }

    unsigned hexQuad() {
        if (pos_ + 4 > text_.size()) {
            fail("short \\u escape");
        }
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, value, 16);
        if (error != std::errc() || end != text_.data() + pos_ + 4) {
            fail("bad \\u escape");
        }
        pos_ += 4;
        return value;
    }

    void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    unsigned escapedCodePoint() {
        unsigned code = hexQuad();
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (!takeWord("\\u")) {
                fail("lone surrogate");
            }
            const unsigned low = hexQuad();
            if (low < 0xDC00 || low > 0xDFFF) {
                fail("lone surrogate");
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            fail("lone surrogate");
        }
        return code;
    }

    std::string parseString() {
        ++pos_;  // the opening quote
        std::string out;
        while (true) {
            if (pos_ >= text_.size()) {
                fail("unterminated string");
            }
            const char c = text_[pos_++];
            if (c == '"') {
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                fail("control character in a string");
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) {
                fail("unterminated string");
            }
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u':
                    appendUtf8(out, escapedCodePoint());
                    break;
                default:
                    fail("bad escape");
            }
        }
    }

    std::string_view text_;
    std::size_t maxDepth_;
    std::size_t pos_ = 0;
};

}  // namespace

JsonReadResult readJson(std::string_view text, std::size_t maxDepth) {
    JsonParser parser(text, maxDepth);
    try {
        return {parser.document(), {}};
    } catch (const Failure& failure) {
        return {std::nullopt, failure.what + " at byte " + std::to_string(parser.position())};
    }
}

}  // namespace kv820

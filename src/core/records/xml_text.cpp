#include "core/records/xml_text.h"

namespace kv820 {

namespace {
bool isForbiddenInXml(unsigned char c) {
    return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}
}  // namespace

void appendXmlText(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '\r':
                out += "&#13;";  // a raw CR would be folded into LF by any reader
                break;
            default:
                if (!isForbiddenInXml(static_cast<unsigned char>(c))) {
                    out += c;
                }
        }
    }
}

}  // namespace kv820

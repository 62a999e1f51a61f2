#pragma once

#include <string>
#include <string_view>

namespace kv820 {

// Appends text as XML character data or attribute value: "&", "<", ">", '"' and "'"
// become entities, so a user name such as "A&B" cannot break the document. Control
// characters that XML 1.0 cannot carry at all are left out.
void appendXmlText(std::string& out, std::string_view text);

}  // namespace kv820

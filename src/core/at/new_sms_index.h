#pragma once

#include <string>
#include <string_view>

namespace kv820 {

// True when a modem line announces a newly stored SMS.
bool IsNewSmsAnnouncement(std::string_view line);

// The storage index of an announcement line such as "+CMTI: \"SM\",5\r\n", as the
// decimal text the read and delete commands take ("5"). The number is read from the
// thirteenth character after the start of "+CMTI" (past the colon, a blank, a two-letter
// memory name in quotes and the comma); no number there reads as "0".
std::string NewSmsIndex(std::string_view line);

// The store an announcement names: "ME" for "+CMTI: \"ME\",3"; empty when it names none
// or something that is no store name (two capital letters).
std::string NewSmsStore(std::string_view line);

}  // namespace kv820

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv820 {

// Reading the module's listing of stored unsent messages ("at^smgl=\"STO UNSENT\"").
// Each entry starts with `^SMGL: <index>,"STO UNSENT","+k",` and the setup message k is
// recognised by the end of its quoted address: the tag "+k" followed by a double quote.

// The three-character tag of setup message k (1 to 4).
std::string setupMessageTag(int k);

// How often the tag of message k occurs in the listing: 0, 1, or 2 for "two or more".
int CountSetupMessage(std::string_view listing, int k);

// The store index in the entry header that precedes the first tag of message k; nothing
// when the tag is missing or no readable header precedes it.
std::optional<int> SetupMessageIndex(std::string_view listing, int k);

}  // namespace kv820

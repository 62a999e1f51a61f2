#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/setup/setup_file.h"

namespace kv820 {

// The four setup messages as texts, message 1 first. Each text is its fields, each
// followed by ","; the writer ends each with Ctrl-Z and CR on the line.
using SetupMessageTexts = std::array<std::string, SetupMessageCount>;
// The replies of "at+cmgr=" for messages 1 to 4, in that order.
using SetupMessageReplies = std::array<std::string, SetupMessageCount>;

// The longest field a decoded message keeps; longer pieces are cut, as the tracker's own
// fields never come near it.
inline constexpr std::size_t MaxSetupFieldLength = 127;

// Fields 1..n of message k (n = its field count) from the whole reply to "at+cmgr=": the
// echo, the header line ending in the quoted address and a comma, the message text and
// the final result. Decoding ends at the module's final result line, so a field that
// merely contains the letters "OK" is kept; fields the reply does not reach are empty.
// The line break in front of field 1 is not part of it.
std::vector<std::string> DecodeSetupMessage(std::string_view reply, int k);

// The setup file as the dialog shows it after reading the tracker: the dialog's defaults,
// overlaid with every field that reads back. The user name is not read back (the dialog
// shows the name registered for the tracker); simPin is the stored field 15 as it is.
SetupFile readSetupFile(const SetupMessageReplies& replies);

// The four message texts. timeZoneText is written when the time zone is on.
SetupMessageTexts EncodeSetupFile(const SetupFile& file, std::string_view timeZoneText);

}  // namespace kv820

#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace kv820 {

// Event times as they are stored, compared and typed: local "YYYY/MM/DD hh:mm:ss". Being
// zero-padded, they sort as the moments do.

// True for a text of that form naming a day of the calendar and a time of that day.
bool isEventTimeText(std::string_view text);

// Local calendar fields in that form.
std::string eventTimeText(const std::tm& local);
// The local time of a moment in that form; empty when the moment cannot be represented.
std::string eventTimeTextAt(std::time_t moment);

// Who acknowledges alarms at this desk: the login name, or "operator" when the system does
// not tell it.
std::string acknowledgerName();

}  // namespace kv820

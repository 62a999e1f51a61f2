#pragma once

#include <string>

namespace kv820 {

// Dates and times as the database and the screens hold them: "YYYY/MM/DD" and
// "HH:MM:SS", zero-padded so that the joined text sorts chronologically. The fields are
// wide so that a device's out-of-range values are written as they came.
std::string DateText(long long year, long long month, long long day);
std::string TimeText(long long hour, long long minute, long long second);

}  // namespace kv820

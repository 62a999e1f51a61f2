#include "core/common/local_time.h"

#include <cstdlib>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace kv820 {

namespace {

constexpr std::time_t NoMoment = static_cast<std::time_t>(-1);

void readZone() {
#ifdef _WIN32
    _tzset();
#else
    tzset();
#endif
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

std::optional<std::tm> localTimeAt(std::time_t moment) {
    readZone();
    std::tm fields{};
#ifdef _WIN32
    const bool ok = localtime_s(&fields, &moment) == 0;
#else
    const bool ok = localtime_r(&moment, &fields) != nullptr;
#endif
    return ok ? std::optional<std::tm>(fields) : std::nullopt;
}

int daysInMonth(long long year, int month) {
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : Days[month - 1];
}

std::optional<std::tm> utcTimeAt(std::time_t moment) {
    std::tm fields{};
#ifdef _WIN32
    const bool ok = gmtime_s(&fields, &moment) == 0;
#else
    const bool ok = gmtime_r(&moment, &fields) != nullptr;
#endif
    return ok ? std::optional<std::tm>(fields) : std::nullopt;
}

std::optional<std::time_t> momentOfUtc(std::tm& fields) {
#ifdef _WIN32
    const std::time_t moment = _mkgmtime(&fields);
#else
    const std::time_t moment = timegm(&fields);
#endif
    return moment == NoMoment ? std::nullopt : std::optional<std::time_t>(moment);
}

std::optional<std::time_t> momentOfLocal(std::tm& fields) {
    readZone();
    const std::time_t moment = std::mktime(&fields);
    return moment == NoMoment ? std::nullopt : std::optional<std::time_t>(moment);
}

long utcOffsetSecondsAt(std::time_t moment) {
    std::optional<std::tm> local = localTimeAt(moment);
    if (!local) {
        return 0;
    }
#ifdef _WIN32
    // No tm_gmtoff: the local calendar fields read as UTC are ahead of the moment by
    // exactly the offset, daylight saving included.
    const std::optional<std::time_t> asUtc = momentOfUtc(*local);
    return asUtc ? static_cast<long>(*asUtc - moment) : 0;
#else
    return local->tm_gmtoff;
#endif
}

long currentUtcOffsetSeconds() {
    return utcOffsetSecondsAt(std::time(nullptr));
}

std::string currentUserName() {
#ifdef _WIN32
    return environment("USERNAME");
#else
    for (const char* name : {"USER", "LOGNAME"}) {
        if (std::string user = environment(name); !user.empty()) {
            return user;
        }
    }
    // A service or container may set neither; the account database still knows.
    const passwd* account = getpwuid(geteuid());
    return account && account->pw_name ? std::string(account->pw_name) : std::string();
#endif
}

}  // namespace kv820

#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace kv820::test {

// Sets the process's time zone for one test and restores the previous one afterwards.
// POSIX zone strings ("CST-8", "EST5EDT,M3.2.0,M11.1.0") need no zone database.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            previous_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone() {
        if (previous_) {
            ::setenv("TZ", previous_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    std::optional<std::string> previous_;
};

}  // namespace kv820::test

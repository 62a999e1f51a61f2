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
        setZone(zone);
    }
    ~ScopedTimeZone() { setZone(previous_ ? previous_->c_str() : nullptr); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    // Sets TZ (or removes it, for nullptr) and has the C library read it again.
    static void setZone(const char* zone) {
#ifdef _WIN32
        // The C runtime's own copy of the environment is the one its zone code reads; an
        // empty value removes the variable.
        _putenv_s("TZ", zone ? zone : "");
        _tzset();
#else
        if (zone) {
            ::setenv("TZ", zone, 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
#endif
    }

    std::optional<std::string> previous_;
};

}  // namespace kv820::test

#pragma once

#include <stdexcept>

namespace kv820 {

// Any failure of the database engine: the callers catch it per operation and show that
// operation's own message.
class DatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace kv820

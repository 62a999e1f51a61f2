#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <set>

namespace kv820 {

// Follows a table's new rows by their row number while several writers commit in any order:
// a receiver that took number 10 may commit after another's 11 was read. Rows are asked for
// above the number below which everything has been read, and those read already are passed
// over. A number still missing after `patience` is taken as never to come: an insert that
// was rolled back, or a copy the unique key refused, uses a number up for good.
class RowFollower {
  public:
    RowFollower(std::int64_t lastRead, std::chrono::milliseconds patience)
        : settled_(lastRead), patience_(patience) {}

    // The next read asks for the rows numbered above this.
    std::int64_t readAbove() const { return settled_; }
    // True the first time a row is met: it is news.
    bool take(std::int64_t rowid);
    // After a read, at `now`: the numbers below the highest read that are still missing
    // are waited for until the patience runs out.
    void settle(std::chrono::milliseconds now);

  private:
    std::int64_t settled_;
    std::chrono::milliseconds patience_;
    std::set<std::int64_t> readAbove_;  // read, above settled_, with a gap below them
    std::optional<std::chrono::milliseconds> gapSince_;
};

}  // namespace kv820

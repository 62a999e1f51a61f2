#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv820 {

class Database;

// Makes every table the program uses where it is missing: users and gpslog, the alarms'
// tables, their forwards' and the program's settings. A shared database made by an
// administrator then needs no right to create tables later. Throws DatabaseError.
void ensureEveryTable(Database& db);

struct StoreCopyCount {
    std::int64_t users = 0;
    std::int64_t reports = 0;
    std::int64_t otherRows = 0;
    // Tables of the source the target has no place for (made by a newer program).
    std::vector<std::string> skippedTables;
};

// Copies every row of every table from `from` to `to`, between engines in either direction,
// keeping the row numbers (the users' order is their slots'). `to` gets the tables it lacks
// and must hold no user and no report. One transaction: a failure leaves `to` as it was.
// Throws DatabaseError.
StoreCopyCount copyStore(Database& from, Database& to);

}  // namespace kv820

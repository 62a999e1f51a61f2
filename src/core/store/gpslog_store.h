#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/store/gpslog_row.h"

namespace kv820 {

class Database;

// The gpslog columns in table order, for a statement's column list: "imei, receive_date, ...".
const std::string& gpslogColumnList();
// A row is incomplete when any column is NULL; such rows are never shown.
const std::string& gpslogIncompleteCondition();

// One tracker's reports between two receive moments ("YYYY/MM/DD" + "HH:MM:SS" joined with
// nothing between), both ends included.
struct ReceiveRange {
    std::string imei;
    std::string from;
    std::string to;
};

// One tracker's reports whose GPS moment (local "YYYY/MM/DD hh:mm:ss": the stored date, a
// blank, the time) lies between two, both included.
struct GpsMomentRange {
    std::string imei;
    std::string from;
    std::string to;
};

// Where a newest-first listing stopped, so that the next page continues after it.
struct HistoryPosition {
    std::string moment;
    std::int64_t rowid = 0;
};

struct StoredGpslogRow {
    std::int64_t rowid = 0;
    GpslogRow row;
    HistoryPosition position() const { return {row[ReceiveDate] + row[ReceiveTime], rowid}; }
};

// The gpslog table. Every method throws DatabaseError on failure.
class GpslogStore {
  public:
    explicit GpslogStore(Database& db) : db_(db) {}

    // The connection, for a transaction that stores a row together with what it raised.
    Database& database() { return db_; }

    // Deletes every row with a NULL column (a crash's) from a database file; returns how many
    // went. A shared database is left as it is.
    int PurgeIncompleteGpslogRows();
    // Appends one report; it is committed when this returns (or with the caller's transaction).
    // False when a shared database holds an equal row already: another receiver stored a
    // copy of the same report a moment before.
    bool append(const GpslogRow& row);
    // True when a row equal in all thirteen columns is stored already.
    bool contains(const GpslogRow& row);
    // The highest row number stored, 0 for none: a desk follows the rows after it.
    std::int64_t lastRowid();
    // Up to `limit` complete rows numbered above `rowid`, by their number.
    std::vector<StoredGpslogRow> rowsAbove(std::int64_t rowid, std::size_t limit);
    // Rows fetched at once as a report list scrolls to them.
    static constexpr std::size_t HistoryPageRows = 256;

    // Up to `limit` complete rows of the range, newest first, continuing after `after` if
    // given. Rows with the same receive moment come newest stored first. An incomplete row
    // is left out, never deleted: a read does not write (the start of the program purges).
    std::vector<StoredGpslogRow> newestFirst(const ReceiveRange& range,
                                             const std::optional<HistoryPosition>& after,
                                             std::size_t limit);
    // Every complete row of the range, oldest first, until the visitor returns false.
    void forEachOldestFirst(const ReceiveRange& range,
                            const std::function<bool(const GpslogRow&)>& visit);
    // Every complete row of the GPS range in the order the reports were received, until the
    // visitor returns false. That is the index's order: no sort, whatever the range's size,
    // but every row of the tracker is looked at. A late SMS comes after reports taken later.
    // Only the `columns` asked for are read (the others are empty): a year of reports is
    // read in a fraction of the time. The views are valid only during the visit.
    void forEachByReceiveInGpsRange(const GpsMomentRange& range,
                                    std::span<const GpslogColumn> columns,
                                    const std::function<bool(const GpslogRowView&)>& visit);

  private:
    Database& db_;
};

}  // namespace kv820

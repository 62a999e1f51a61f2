#pragma once

#include <cstdint>
#include <optional>
#include <queue>
#include <span>
#include <vector>

#include "core/trips/day_ledger.h"
#include "core/trips/track_summary.h"

namespace kv820 {

struct PositionReport;
struct ReportRowView;
class ReportRows;

// Finds a tracker's trips and stops and adds up its days in one pass over its reports,
// fed one at a time in GPS time order (small disorder is mended, see TripSettings). It
// keeps the open stop and trip and one entry per day, never the reports.
//
// A stop is a run of reports within the radius of its first report (its anchor) lasting
// the minimum time; a silence within the radius belongs to it however long. A trip runs
// from the last report of one stop to the first of the next (or from the first report of
// the range, or to its last). A report without a fix ("No Fix", or no valid degrees) is
// counted on its day and otherwise skipped; one whose GPS time is no moment is ignored.
class TripFinder {
  public:
    explicit TripFinder(const TripSettings& settings = {}) : settings_(settings) {}

    void add(const PositionReport& report);
    void add(const ReportRowView& report);
    // Ends what is open at the last report and hands everything out; call it once.
    TrackSummary finish();

  private:
    struct Fix {
        std::int64_t moment = 0;
        GeoPoint position;
        double speedKmh = 0;
    };
    struct Queued {
        Fix fix;
        std::uint64_t arrival = 0;  // keeps reports of one moment in the order they came
        bool operator>(const Queued& other) const {
            return fix.moment != other.fix.moment ? fix.moment > other.fix.moment
                                                  : arrival > other.arrival;
        }
    };
    // The stop that may be forming at `anchor`, or that has formed once `confirmed`.
    struct Candidate {
        Fix anchor;
        Fix latest;
        double latOffsetSum = 0;  // from the anchor, for the mean position
        double lonOffsetSum = 0;
        std::size_t reports = 1;
        bool confirmed = false;
    };
    struct OpenTrip {
        Fix start;
        double metres = 0;
        double maxSpeedKmh = 0;
    };
    // The legs since an unconfirmed anchor: the trip's if the tracker leaves, parking
    // jitter if the stop forms.
    struct Pending {
        double metres = 0;
        double maxSpeedKmh = 0;
        DayLedger days;
    };

    template <typename Report>
    void addReport(const Report& report);
    void take(const Fix& fix);
    void stayNear(const Fix& previous, const Fix& fix, double metres);
    void leaveCandidate();
    void driveLeg(const Fix& previous, const Fix& fix, double metres);
    void endCandidate();
    void startCandidate(const Fix& fix);
    void openTrip(const Fix& start);
    void closeTrip(const Fix& end);
    void closeStop();
    bool isJump(const Fix& previous, const Fix& fix, double metres) const;

    TripSettings settings_;
    std::priority_queue<Queued, std::vector<Queued>, std::greater<>> queue_;
    std::uint64_t arrivals_ = 0;
    std::optional<Fix> last_;
    std::optional<Candidate> candidate_;
    std::optional<OpenTrip> trip_;
    Pending pending_;
    DayLedger days_;
    std::vector<Trip> trips_;
    std::vector<Stop> stops_;
};

// The trips, stops and days of a sequence of reports in GPS time order.
TrackSummary summarizeTrack(std::span<const PositionReport> reports,
                            const TripSettings& settings = {});
// The same over stored rows (a search result); nothing when they could not be read.
std::optional<TrackSummary> summarizeTrack(const ReportRows& rows,
                                           const TripSettings& settings = {});

}  // namespace kv820

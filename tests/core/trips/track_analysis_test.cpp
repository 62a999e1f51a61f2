#include "core/trips/track_analysis.h"

#include <gtest/gtest.h>

#include "core/report/position_report.h"
#include "support/report_rows_fixture.h"
#include "support/synthetic_track.h"

namespace kv820 {
namespace {

using test::SyntheticTrack;

std::vector<GpslogRow> rowsOf(const std::vector<PositionReport>& reports) {
    std::vector<GpslogRow> rows;
    for (const PositionReport& report : reports) {
        rows.push_back(toGpslogRow(report));
    }
    return rows;
}

TrackFix fix(std::int64_t moment, double kmh, double lat = 25, double lon = 121) {
    return {moment, {lat, lon}, kmh};
}

const auto Always = [] { return true; };

// Park, drive, park, drive, park: the walk finds what the finder alone finds, and keeps
// every fix in moment order even when an SMS came late.
TEST(TrackAnalysisTest, FindsTheTripsAndKeepsTheFixesInMomentOrder) {
    SyntheticTrack track(SyntheticTrack::at("2026/03/02", "08:00:00"));
    track.park(600).drive(5000, 0, 600).park(600).drive(0, 3000, 300).park(600);
    std::vector<GpslogRow> rows = rowsOf(track.reports);
    std::swap(rows[25], rows[27]);
    const auto analysis = analyzeTrack(test::StoredReports(rows), Always);
    ASSERT_TRUE(analysis);
    const TrackSummary alone = summarizeTrack(track.reports);
    ASSERT_EQ(analysis->summary.trips.size(), 2u);
    EXPECT_EQ(analysis->summary.trips[1].startTime, alone.trips[1].startTime);
    EXPECT_EQ(analysis->summary.stops.size(), alone.stops.size());
    EXPECT_EQ(analysis->fixes.size(), track.reports.size());
    EXPECT_TRUE(
        std::is_sorted(analysis->fixes.begin(), analysis->fixes.end(),
                       [](const TrackFix& a, const TrackFix& b) { return a.moment < b.moment; }));
}

// A walk ended by a newer search, or a read that broke off, gives nothing.
TEST(TrackAnalysisTest, GivesNothingForAnEndedOrBrokenWalk) {
    SyntheticTrack track(SyntheticTrack::at("2026/03/02", "08:00:00"));
    track.park(600).drive(5000, 0, 600);
    int asked = 0;
    EXPECT_FALSE(
        analyzeTrack(test::StoredReports(rowsOf(track.reports)), [&asked] { return ++asked < 5; }));
    EXPECT_EQ(asked, 5);
    EXPECT_FALSE(analyzeTrack(test::StoredReports(rowsOf(track.reports), 3), Always));
}

// The chart keeps the fastest fix of each run, so that a peak survives any thinning.
TEST(TrackAnalysisTest, ChartKeepsTheFastestOfEachRun) {
    const std::vector<TrackFix> fixes = {fix(10, 5),  fix(20, 50.55), fix(30, 7),
                                         fix(40, 80), fix(50, 1),     fix(60, 0)};
    EXPECT_EQ(speedChartJson(fixes, 2),
              "{\"t\":[20,40],\"v\":[50.5,80.0],\"lat\":[25.000000,25.000000],"
              "\"lon\":[121.000000,121.000000]}");
    EXPECT_EQ(speedChartJson(fixes, 4), speedChartJson(fixes, 3));  // runs of two either way
    EXPECT_EQ(speedChartJson({}, 100), "{\"t\":[],\"v\":[],\"lat\":[],\"lon\":[]}");
}

// A trip's path runs from its first fix to its last, both ends included, thinned to the
// points asked for.
TEST(TrackAnalysisTest, TripPathHoldsItsFixesBothEndsIncluded) {
    const std::int64_t start = SyntheticTrack::at("2026/03/02", "08:00:00");
    std::vector<TrackFix> fixes;
    for (int i = 0; i < 20; ++i) {
        fixes.push_back(fix(start + i * 10, 30, 25 + i * 0.001, 121));
    }
    const Trip trip{"2026/03/02 08:00:20", "2026/03/02 08:01:30", {25.002, 121}, {25.009, 121}};
    EXPECT_EQ(fixesOfTrip(fixes, trip).size(), 8u);
    EXPECT_EQ(fixesOfTrip(fixes, trip).front().moment, start + 20);
    const std::string json = tripPathJson(trip, fixes, 4);
    EXPECT_EQ(json,
              "{\"path\":[25.002000,121.000000,25.005000,121.000000,25.008000,121.000000,"
              "25.009000,121.000000],\"start\":[25.002000,121.000000],"
              "\"end\":[25.009000,121.000000],"
              "\"label\":\"2026/03/02 08:00:20 - 2026/03/02 08:01:30\"}");
    Trip unreadable = trip;
    unreadable.startTime = "bad";
    EXPECT_TRUE(fixesOfTrip(fixes, unreadable).empty());
}

}  // namespace
}  // namespace kv820

#include "core/trips/trip_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>

#include "core/report/position_report.h"
#include "support/synthetic_track.h"

namespace kv820 {
namespace {

using test::SyntheticTrack;

const std::int64_t Morning = SyntheticTrack::at("2026/03/02", "08:00:00");

double tripKm(const TrackSummary& summary) {
    return std::accumulate(summary.trips.begin(), summary.trips.end(), 0.0,
                           [](double sum, const Trip& trip) { return sum + trip.distanceMetres; }) /
           1000;
}

double dayKm(const TrackSummary& summary) {
    return std::accumulate(
               summary.days.begin(), summary.days.end(), 0.0,
               [](double sum, const DaySummary& day) { return sum + day.distanceMetres; }) /
           1000;
}

struct TrackCase {
    const char* name;
    std::function<void(SyntheticTrack&)> build;
    std::size_t trips;
    std::size_t stops;
    double km;
    double kmTolerance;
};

// Each track's trips, stops and distance; the days always add up to the trips' distance.
TEST(TripFinderTest, FindsTheTripsAndStopsOfSyntheticTracks) {
    const TrackCase cases[] = {
        {"parked with 20 m jitter", [](SyntheticTrack& t) { t.park(7200); }, 0, 1, 0, 0},
        {"three drives with stops between",
         [](SyntheticTrack& t) {
             t.park(600).drive(5000, 0, 600).park(600).drive(0, 3000, 300).park(600);
             t.drive(-2000, 0, 240).park(600);
         },
         3, 4, 10, 0.1},
        {"two silent hours while parked",
         [](SyntheticTrack& t) { t.park(600).silence(7200).park(600); }, 0, 1, 0, 0},
        {"moved 20 km during two silent hours",
         [](SyntheticTrack& t) { t.park(600).silence(7200, 0, 20000).park(600); }, 1, 2, 20, 0.05},
        {"carried 1000 km during two silent hours",
         [](SyntheticTrack& t) { t.park(600).silence(7200, 1e6, 0).park(600); }, 0, 2, 0, 0},
        {"hops of 150 m every 30 s",
         [](SyntheticTrack& t) { t.park(300).drive(6000, 0, 1200).park(300); }, 1, 2, 6, 0.2},
        {"a single moving report between two stops",
         [](SyntheticTrack& t) { t.park(600).once(1000, 0, 90).silence(0, 2000, 0).park(600); }, 1,
         2, 2, 0.05},
        {"starting in the middle of a drive",
         [](SyntheticTrack& t) { t.drive(5000, 0, 600).park(600); }, 1, 1, 5, 0.3},
        {"ending in the middle of a drive",
         [](SyntheticTrack& t) { t.park(600).drive(5000, 0, 600); }, 1, 1, 5, 0.05},
        {"parked for less than the stop time", [](SyntheticTrack& t) { t.park(150); }, 0, 0, 0, 0},
        {"a short halt in a drive",
         [](SyntheticTrack& t) { t.park(600).drive(3000, 0, 300).park(120).drive(3000, 0, 300); },
         1, 1, 6, 0.15},
    };
    for (const TrackCase& c : cases) {
        SyntheticTrack track(Morning);
        c.build(track);
        const TrackSummary summary = summarizeTrack(track.reports);
        EXPECT_EQ(summary.trips.size(), c.trips) << c.name;
        EXPECT_EQ(summary.stops.size(), c.stops) << c.name;
        EXPECT_NEAR(tripKm(summary), c.km, c.kmTolerance) << c.name;
        EXPECT_NEAR(dayKm(summary), tripKm(summary), 1e-9) << c.name;
    }
}

// A trip runs from the last report of a stop to the first of the next; its average is its
// distance over its duration, its top speed the highest one reported.
TEST(TripFinderTest, ATripRunsFromTheLastReportOfAStopToTheFirstOfTheNext) {
    SyntheticTrack track(Morning);
    track.park(600).drive(0, 6000, 360).park(600);
    const TrackSummary summary = summarizeTrack(track.reports);
    ASSERT_EQ(summary.trips.size(), 1u);
    ASSERT_EQ(summary.stops.size(), 2u);
    const Trip& trip = summary.trips[0];
    EXPECT_EQ(trip.startTime, summary.stops[0].endTime);
    EXPECT_EQ(trip.endTime, summary.stops[1].startTime);
    EXPECT_EQ(trip.startTime, "2026/03/02 08:09:30");
    EXPECT_EQ(trip.endTime, "2026/03/02 08:16:00");
    EXPECT_EQ(trip.durationSeconds, 390);
    EXPECT_NEAR(trip.maxSpeedKmh, 60, 1e-3);
    EXPECT_NEAR(trip.averageSpeedKmh, trip.distanceMetres / 390 * 3.6, 1e-9);
    EXPECT_NEAR(distanceMetres(trip.endPosition, summary.stops[1].position), 0, 20);
    EXPECT_EQ(summary.stops[0].startTime, "2026/03/02 08:00:00");
    EXPECT_EQ(summary.stops[0].durationSeconds, 570);
    // The mean of the jitter pattern is the spot itself.
    EXPECT_NEAR(summary.stops[0].position.lat, 25.05, 2e-6);
    EXPECT_NEAR(summary.stops[0].position.lon, 121.5, 2e-6);
}

// Reports without a fix are skipped for positions and counted on their day.
TEST(TripFinderTest, ReportsWithoutAFixAreCountedButNotMeasured) {
    SyntheticTrack track(Morning);
    track.park(600).drive(6000, 0, 600).park(600);
    const SyntheticTrack clean = track;
    for (std::size_t i = 25; i < 40; i += 3) {
        track.reports[i].gpsStatus = "No Fix";
        track.reports[i].gpsPosLat = "0.000000";
    }
    track.reports[41].gpsPosLon = "NO";
    const TrackSummary summary = summarizeTrack(track.reports);
    const TrackSummary reference = summarizeTrack(clean.reports);
    ASSERT_EQ(summary.trips.size(), 1u);
    EXPECT_NEAR(summary.trips[0].distanceMetres, reference.trips[0].distanceMetres, 1e-6);
    ASSERT_EQ(summary.days.size(), 1u);
    EXPECT_EQ(summary.days[0].reports, track.reports.size());
}

// A trip across midnight shares its time and distance between both days by the clock.
TEST(TripFinderTest, ATripAcrossMidnightCountsOnBothDays) {
    SyntheticTrack track(SyntheticTrack::at("2026/03/02", "23:40:00"));
    track.park(600).drive(0, 20000, 1200).park(600);
    const TrackSummary summary = summarizeTrack(track.reports);
    ASSERT_EQ(summary.trips.size(), 1u);
    const Trip& trip = summary.trips[0];
    ASSERT_EQ(summary.days.size(), 2u);
    const DaySummary& first = summary.days[0];
    const DaySummary& second = summary.days[1];
    EXPECT_EQ(first.date, "2026/03/02");
    EXPECT_EQ(second.date, "2026/03/03");
    const std::int64_t beforeMidnight =
        SyntheticTrack::at("2026/03/03", "00:00:00") - SyntheticTrack::at("2026/03/02", "23:49:30");
    EXPECT_EQ(trip.startTime, "2026/03/02 23:49:30");
    EXPECT_EQ(first.drivingSeconds, beforeMidnight);
    EXPECT_EQ(first.drivingSeconds + second.drivingSeconds, trip.durationSeconds);
    EXPECT_NEAR(first.distanceMetres + second.distanceMetres, trip.distanceMetres, 1e-6);
    EXPECT_NEAR(first.distanceMetres / trip.distanceMetres,
                double(beforeMidnight) / double(trip.durationSeconds), 0.03);
    EXPECT_NEAR(first.maxSpeedKmh, 60, 1e-3);
    EXPECT_NEAR(second.averageSpeedKmh, second.distanceMetres / second.drivingSeconds * 3.6, 1e-9);
    const auto onFirstDay =
        std::count_if(track.reports.begin(), track.reports.end(),
                      [](const PositionReport& r) { return r.gpsDate == "2026/03/02"; });
    EXPECT_EQ(first.reports, std::size_t(onFirstDay));
    EXPECT_EQ(first.reports + second.reports, track.reports.size());
}

// An SMS that came a few reports late takes its place; one later than the window is
// counted on its day but not measured.
TEST(TripFinderTest, LateReportsTakeTheirPlaceWithinTheWindow) {
    SyntheticTrack track(Morning);
    track.park(600).drive(6000, 0, 600).park(600);
    const TrackSummary ordered = summarizeTrack(track.reports);

    std::vector<PositionReport> late = track.reports;
    std::rotate(late.begin() + 25, late.begin() + 26, late.begin() + 31);  // one 5 behind
    const TrackSummary mended = summarizeTrack(late);
    ASSERT_EQ(mended.trips.size(), 1u);
    EXPECT_NEAR(mended.trips[0].distanceMetres, ordered.trips[0].distanceMetres, 1e-6);

    TripSettings noWindow;
    noWindow.reorderReports = 0;
    const TrackSummary skipped = summarizeTrack(late, noWindow);
    ASSERT_EQ(skipped.trips.size(), 1u);
    EXPECT_NEAR(skipped.trips[0].distanceMetres, ordered.trips[0].distanceMetres, 1e-6);
    EXPECT_EQ(skipped.days[0].reports, track.reports.size());
}

// Reports whose GPS time names no moment cannot be placed on any day.
TEST(TripFinderTest, AReportWithoutAMomentIsIgnored) {
    SyntheticTrack track(Morning);
    track.park(300);
    track.reports[3].gpsDate = "2000/00/00";
    const TrackSummary summary = summarizeTrack(track.reports);
    ASSERT_EQ(summary.days.size(), 1u);
    EXPECT_EQ(summary.days[0].reports, track.reports.size() - 1);
    EXPECT_TRUE(summarizeTrack(std::vector<PositionReport>{}).days.empty());
}

}  // namespace
}  // namespace kv820

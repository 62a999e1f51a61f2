#include "core/alarms/tracker_events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv820 {
namespace {

using namespace std::chrono_literals;

constexpr char Imei[] = "354612071234567";

Geofence fenceAround(std::int64_t id, const std::string& name, GeoPoint centre,
                     std::optional<double> limit = std::nullopt) {
    Geofence fence;
    fence.id = id;
    fence.name = name;
    fence.centre = centre;
    fence.radiusMetres = 1000;
    fence.speedLimitKmh = limit;
    return fence;
}

constexpr GeoPoint Depot{52.0, 13.0};
constexpr GeoPoint School{52.5, 13.0};
constexpr GeoPoint Road{52.25, 13.0};

// One report of the track: where (none: "No Fix"), how fast, and what it is.
struct Step {
    std::optional<GeoPoint> where;
    double speed = 0;
    bool sos = false;
};

// The kinds and details each report of a track raises.
std::vector<std::vector<std::string>> eventsOfTrack(EventDetector& detector,
                                                    const std::vector<Step>& track) {
    std::vector<std::vector<std::string>> raised;
    for (std::size_t i = 0; i < track.size(); ++i) {
        ReportFacts facts{Imei,
                          "2026/03/02 08:00:0" + std::to_string(i),
                          track[i].where,
                          track[i].speed,
                          track[i].sos,
                          false,
                          std::chrono::minutes(i)};
        std::vector<std::string> texts;
        for (const TrackerEvent& e : detector.onReport(facts)) {
            EXPECT_EQ(e.time, facts.time);
            texts.push_back(std::string(eventKindText(e.kind)) + ": " + e.details);
        }
        raised.push_back(texts);
    }
    return raised;
}

TEST(TrackerEventsTest, FencesRaiseEnterAndExitAndNoFixChangesNothing) {
    EventDetector detector;
    detector.setFences({fenceAround(1, "Depot", Depot), fenceAround(2, "School", School)});
    const auto raised = eventsOfTrack(
        detector, {{Depot}, {Depot}, {std::nullopt}, {Road}, {std::nullopt}, {School}, {Depot}});
    EXPECT_EQ(raised, (std::vector<std::vector<std::string>>{
                          {"geofence enter: Depot"},
                          {},
                          {},
                          {"geofence exit: Depot"},
                          {},
                          {"geofence enter: School"},
                          {"geofence enter: Depot", "geofence exit: School"}}));
}

TEST(TrackerEventsTest, OverspeedIsOneEventPerStretchAgainstTheLowerLimit) {
    EventDetector detector;
    detector.setFences({fenceAround(2, "School", School, 30)});
    detector.setWatch(Imei, {.speedLimitKmh = 90});
    const auto raised = eventsOfTrack(detector, {{Road, 95},
                                                 {Road, 120},
                                                 {std::nullopt, 10},
                                                 {Road, 100},
                                                 {Road, 90},
                                                 {Road, 91},
                                                 {School, 45},
                                                 {School, 50},
                                                 {School, 30},
                                                 {School, 31, true}});
    EXPECT_EQ(raised,
              (std::vector<std::vector<std::string>>{
                  {"overspeed: tracker limit, limit 90.0 km/h, speed 95.0 km/h"},
                  {},
                  {},
                  {},
                  {},
                  {"overspeed: tracker limit, limit 90.0 km/h, speed 91.0 km/h"},
                  {"geofence enter: School"},
                  {},
                  {},
                  {"SOS: SOS report", "overspeed: School, limit 30.0 km/h, speed 31.0 km/h"}}));
}

// Period reports arrive every 2 minutes; the tracker then goes silent.
TEST(TrackerEventsTest, ASilentTrackerIsOverdueOnceAndItsNextReportEndsIt) {
    struct Case {
        std::optional<std::chrono::seconds> commanded;
        std::chrono::minutes overdueAfter;  // after the last report
    };
    for (const Case c : {Case{std::nullopt, 6min}, Case{std::chrono::seconds(60), 5min},
                         Case{std::chrono::seconds(600), 30min}}) {
        EventDetector detector;
        detector.setWatch(Imei, {.periodInterval = c.commanded});
        for (int minute = 0; minute <= 8; minute += 2) {
            detector.onReport(
                {Imei, "t", std::nullopt, 0, false, true, std::chrono::minutes(minute)});
        }
        const auto last = 8min;
        EXPECT_TRUE(detector.checkOverdue(last + c.overdueAfter, "now").empty());
        const auto overdue = detector.checkOverdue(last + c.overdueAfter + 1s, "now");
        ASSERT_EQ(overdue.size(), 1u);
        EXPECT_EQ(overdue[0].kind, EventKind::Overdue);
        EXPECT_EQ(overdue[0].time, "now");
        EXPECT_TRUE(detector.checkOverdue(last + 2 * c.overdueAfter, "later").empty());
        EXPECT_TRUE(detector.isOverdue(Imei));

        const auto back = detector.onReport(
            {Imei, "back", std::nullopt, 0, false, false, last + 2 * c.overdueAfter});
        ASSERT_EQ(back.size(), 1u);
        EXPECT_EQ(back[0].kind, EventKind::ReportingAgain);
        EXPECT_FALSE(detector.isOverdue(Imei));
    }
}

TEST(TrackerEventsTest, ATrackerWithoutPeriodReportsIsNeverOverdue) {
    EventDetector detector;
    detector.setWatch(Imei, {.periodInterval = std::chrono::seconds(60)});
    detector.onReport({Imei, "t", Depot, 0, false, false, 0min});
    EXPECT_TRUE(detector.checkOverdue(24h, "now").empty());
}

TEST(TrackerEventsTest, EveryKindHasOneTextThatReadsBack) {
    for (int k = 0; k <= static_cast<int>(EventKind::ReportingAgain); ++k) {
        const auto kind = static_cast<EventKind>(k);
        EXPECT_EQ(eventKindOfText(eventKindText(kind)), kind);
    }
    EXPECT_EQ(eventKindOfText("Overspeed"), std::nullopt);
}

}  // namespace
}  // namespace kv820

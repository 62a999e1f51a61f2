#include "core/trips/trip_report.h"

#include <gtest/gtest.h>

#include "core/records/text_sink.h"
#include "core/store/database.h"
#include "core/store/user_store.h"
#include "core/trips/track_csv.h"
#include "support/collecting_sink.h"
#include "support/report_rows_fixture.h"
#include "support/synthetic_track.h"
#include "support/temp_database_file.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

struct FailingSink : TextSink {
    bool write(std::string_view) override { return false; }
};

constexpr const char* TripsHeader =
    "start_time,end_time,duration_s,distance_km,max_speed_kmh,average_speed_kmh,start_lat,"
    "start_lon,end_lat,end_lon\r\n";
constexpr const char* StopsHeader = "start_time,end_time,duration_s,lat,lon\r\n";
constexpr const char* SummaryHeader =
    "date,distance_km,driving_s,max_speed_kmh,average_speed_kmh,reports\r\n";

// The writers' fields: times as stored, km to the metre, km/h to a tenth, six decimals.
TEST(TrackCsvTest, WritesEveryFieldWithADot) {
    const Trip trip{"2026/03/02 08:19:30",
                    "2026/03/02 08:40:00",
                    {25.05, 121.5},
                    {-33.9, -70.123456789},
                    1230,
                    12345.6789,
                    88.04,
                    36.15};
    const Stop stop{"2026/03/02 08:00:00", "2026/03/02 08:19:30", 1170, {25.0500004, 121.5}, 40};
    const DaySummary day{"2026/03/02", 12345.6789, 1230, 88.04, 36.15, 2880};
    test::CollectingSink sink;
    ASSERT_TRUE(writeTripsCsv(sink, std::span(&trip, 1)));
    ASSERT_TRUE(writeStopsCsv(sink, std::span(&stop, 1)));
    ASSERT_TRUE(writeDaySummariesCsv(sink, std::span(&day, 1)));
    EXPECT_EQ(sink.text,
              std::string(TripsHeader) +
                  "2026/03/02 08:19:30,2026/03/02 08:40:00,1230,12.346,88.0,36.1,"
                  "25.050000,121.500000,-33.900000,-70.123457\r\n" +
                  StopsHeader +
                  "2026/03/02 08:00:00,2026/03/02 08:19:30,1170,25.050000,121.500000\r\n" +
                  SummaryHeader + "2026/03/02,12.346,1230,88.0,36.1,2880\r\n");
    FailingSink failing;
    EXPECT_FALSE(writeStopsCsv(failing, std::span(&stop, 1)));
}

class TripReportTest : public ::testing::Test {
  protected:
    TripReportTest() : db(file.path()) {
        UserStore(db).addOrUpdate({"van", "0922", "111"});
        UserStore(db).addOrUpdate({"bus", "0933", "222"});
        test::SyntheticTrack track(test::SyntheticTrack::at("2026/03/02", "08:00:00"));
        track.park(600).drive(6000, 0, 600).park(600);
        test::storeTrack(db, "111", track.reports);
    }

    std::string report(const UserRangeRequest& request, TripReportKind kind) {
        sink.text.clear();
        return writeUserTripReport(db, request, kind, sink);
    }

    test::TempDatabaseFile file;
    Database db;
    test::CollectingSink sink;
};

TEST_F(TripReportTest, TheUsersReportsOfTheRangeAreSummarized) {
    const UserRangeRequest day{"van", "2026/03/02 00:00:00", "2026/03/02 23:59:59"};
    EXPECT_EQ(report(day, TripReportKind::Trips), "");
    EXPECT_EQ(sink.text.rfind(TripsHeader, 0), 0u);
    EXPECT_NE(sink.text.find("\r\n2026/03/02 08:09:30,2026/03/02 08:20:00,630,6.0"),
              std::string::npos)
        << sink.text;
    EXPECT_EQ(report(day, TripReportKind::Stops), "");
    EXPECT_EQ(std::count(sink.text.begin(), sink.text.end(), '\n'), 3) << sink.text;
    EXPECT_EQ(report(day, TripReportKind::Summary), "");
    EXPECT_NE(sink.text.find("\r\n2026/03/02,6.0"), std::string::npos) << sink.text;
    EXPECT_NE(sink.text.find(",36.0,"), std::string::npos) << sink.text;

    // From the middle of the drive: the trip starts at the range's first report.
    EXPECT_EQ(report({"van", "2026/03/02 08:15:00", "2026/03/02 09:00:00"}, TripReportKind::Trips),
              "");
    EXPECT_NE(sink.text.find("\r\n2026/03/02 08:15:00,2026/03/02 08:20:00,300,"), std::string::npos)
        << sink.text;
}

TEST_F(TripReportTest, AnEmptyRangeIsTheHeaderAlone) {
    const std::pair<UserRangeRequest, const char*> empty[] = {
        {{"bus", "2026/03/02 00:00:00", "2026/03/02 23:59:59"}, SummaryHeader},
        {{"van", "2026/03/03 00:00:00", "2026/03/03 23:59:59"}, SummaryHeader},
    };
    for (const auto& [request, header] : empty) {
        EXPECT_EQ(report(request, TripReportKind::Summary), "");
        EXPECT_EQ(sink.text, header);
    }
}

// The user and range are checked as for the events report (and end to end); a sink that
// fails is told.
TEST_F(TripReportTest, AReportThatCannotBeWrittenSaysSo) {
    FailingSink failing;
    EXPECT_EQ(writeUserTripReport(db, {"van", "2026/03/02 00:00:00", "2026/03/02 23:59:59"},
                                  TripReportKind::Stops, failing),
              "The report could not be written.");
}

// The window's export: the same CSV as the command line's, in a whole file or none.
TEST(TripReportFileTest, WritesTheKindAsAWholeFile) {
    const test::TempDir dir;
    const DaySummary day{"2026/03/02", 1500, 120, 60, 45, 3};
    const TrackSummary summary{{}, {}, {day}};
    const auto path = dir.path() / "summary.csv";
    EXPECT_EQ(writeTripReportFile(path, TripReportKind::Summary, summary), ExportOutcome::Written);
    EXPECT_EQ(test::readWholeFile(path),
              std::string(SummaryHeader) + "2026/03/02,1.500,120,60.0,45.0,3\r\n");
    EXPECT_EQ(
        writeTripReportFile(dir.path() / "none" / "trips.csv", TripReportKind::Trips, summary),
        ExportOutcome::NoFileExistence);
}

}  // namespace
}  // namespace kv820

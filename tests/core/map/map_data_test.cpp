#include "core/map/map_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/map/web_map_address.h"
#include "core/records/stored_range_rows.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "support/gpslog_rows.h"
#include "support/report_rows_fixture.h"
#include "support/temp_database_file.h"

namespace kv820 {
namespace {

using test::StoredReports;

GpslogRow point(std::string lat, std::string lon, std::string speed, std::string status = "3D") {
    GpslogRow report = test::at(std::move(lat), std::move(lon), std::move(status));
    report[GpsSpeed] = std::move(speed);
    return report;
}

TEST(TrackJsonTest, DrawsFixedPointsOldestFirstInRunsOfOneSpeedBand) {
    const StoredReports rows({point("25.000001", "121.5", "5.0"), point("NO", "NO", "50"),
                              point("25.1", "121.6", "8.2"), point("25.3", "121.8", "9", "No Fix"),
                              point("95.0", "121.7", "9"), point("-25.2", "-121.7", "55.5"),
                              point("25.25", "121.75", "3")});
    EXPECT_EQ(trackJson(rows).value(),
              "{\"points\":4,\"start\":[25.000001,121.500000],\"end\":[25.250000,121.750000],"
              "\"bands\":[{\"colour\":\"#2c7bb6\",\"label\":\"below 10 km/h\",\"parts\":"
              "[[25.000001,121.500000,25.100000,121.600000],"
              "[-25.200000,-121.700000,25.250000,121.750000]]},"
              "{\"colour\":\"#1a9641\",\"label\":\"10 to 40 km/h\",\"parts\":[]},"
              "{\"colour\":\"#e6a100\",\"label\":\"40 to 70 km/h\",\"parts\":"
              "[[25.100000,121.600000,-25.200000,-121.700000]]},"
              "{\"colour\":\"#f46d43\",\"label\":\"70 to 100 km/h\",\"parts\":[]},"
              "{\"colour\":\"#a50026\",\"label\":\"100 km/h and more\",\"parts\":[]}]}");
}

TEST(TrackJsonTest, AnEmptyResultHasNoEndsAndAnUnreadableOneNoTrack) {
    EXPECT_EQ(trackJson(StoredReports({point("NO", "NO", "0")})).value().substr(0, 22),
              "{\"points\":0,\"bands\":[{");
    EXPECT_FALSE(trackJson(StoredReports({point("25", "121", "0"), point("25", "121", "0")}, 1)));
}

TEST(FleetJsonTest, EscapesTextsThatWouldBreakThePageAndMarksAnSos) {
    FleetMarker marker;
    marker.imei = "354612071234567";
    marker.userName = "A\"B\\</script>\n&";
    marker.slot = 6;
    marker.position = {-33.5, 151.25};
    marker.sos = true;
    marker.row = {marker.imei,  "2007/05/12", "10:03:04",  "-33.5", "151.25",
                  "2007/05/12", "10:02:58",   "2D",        "12",    "18.5200",
                  "90",         "7",          "SOS report"};
    // The sixth slot wraps round to the second colour.
    EXPECT_EQ(fleetJson({marker}),
              "{\"markers\":[{\"imei\":\"354612071234567\",\"name\":"
              "\"A\\\"B\\\\\\u003c/script\\u003e\\u000a\\u0026\",\"lat\":-33.500000,"
              "\"lon\":151.250000,\"colour\":\"#33a02c\",\"sos\":true,\"tooltip\":["
              "\"A\\\"B\\\\\\u003c/script\\u003e\\u000a\\u0026\",\"SOS report\","
              "\"GPS time: 2007/05/12 10:02:58\",\"Speed: 18.5200 km/h\",\"Fix: 2D\"]}]}");
}

TEST(CentreJsonTest, OnlyAReportWithAPositionIsCentredOn) {
    GpslogRow row = test::reportRow("354612071234567", "2007/05/12", "10:02:58", "3D", "25.5");
    EXPECT_EQ(
        centreJson("truck", reportRowViewOf(row)).value(),
        "{\"lat\":25.500000,\"lon\":121.517081,\"tooltip\":[\"truck\","
        "\"Period report\",\"GPS time: 2007/05/12 10:02:58\",\"Speed: 0.0000 km/h\",\"Fix: 3D\"]}");
    row[GpsStatus] = "No Fix";
    EXPECT_FALSE(centreJson("truck", reportRowViewOf(row)));
}

TEST(LatestTrackRowTest, IsTheNewestReportWithAPositionOfThatTracker) {
    test::TempDatabaseFile file;
    Database db(file.path());
    GpslogStore store(db);
    const char* truck = "354612071234567";
    EXPECT_FALSE(latestTrackRow(db, truck));
    store.append(test::reportRow(truck, "2007/05/12", "10:00:00", "3D", "25.1"));
    store.append(test::reportRow(truck, "2007/05/12", "10:05:00", "2D", "25.2"));
    store.append(test::reportRow(truck, "2007/05/12", "10:10:00", "No Fix", "25.3"));
    store.append(test::reportRow(truck, "2007/05/12", "10:15:00", "3D", "NO"));
    store.append(test::reportRow(truck, "2007/05/12", "10:20:00", "3D", "125.0"));
    store.append(test::reportRow("354612079999999", "2007/05/12", "11:00:00"));
    EXPECT_EQ(latestTrackRow(db, truck).value()[ReceiveTime], "10:05:00");
}

TEST(LoadFleetMarkerTest, IsTheOneRegisteredTrackersMarkerAsTheFleetHasIt) {
    test::TempDatabaseFile file;
    Database db(file.path());
    GpslogStore store(db);
    const std::string truck = "354612071234567", van = "354612079876543";
    UserRegistry::Snapshot users;
    users.users[0] = {"truck", "0912345678", truck};
    users.users[1] = {"van", "0922333444", van};
    users.users[2] = {"bike", "0933555666", "354612070000001"};
    users.userCount = 3;
    store.append(test::reportRow(truck, "2007/05/12", "10:00:00", "3D", "25.1"));
    store.append(test::reportRow(van, "2007/05/12", "10:05:00", "3D", "25.2"));
    store.append(test::reportRow(van, "2007/05/12", "10:10:00", "No Fix", "25.3"));

    const std::vector<FleetMarker> fleet = loadFleetMarkers(db, users, {van});
    ASSERT_EQ(fleet.size(), 2U);
    const std::optional<FleetMarker> one = loadFleetMarker(db, users, van, {van});
    ASSERT_TRUE(one);
    EXPECT_EQ(one->slot, 1U);
    EXPECT_EQ(one->row, fleet[1].row);
    EXPECT_EQ(fleetJson(fleet),
              "{\"markers\":[" + markerJson(fleet[0]) + "," + markerJson(*one) + "]}");
    // No stored position, or no registered tracker with that IMEI: no marker.
    EXPECT_FALSE(loadFleetMarker(db, users, "354612070000001", {}));
    EXPECT_FALSE(loadFleetMarker(db, users, "359999999999999", {}));
    EXPECT_FALSE(loadFleetMarker(db, users, "", {}));
}

TEST(WebMapAddress, PutsLatitudeFirstAndKeepsTheStoredTexts) {
    EXPECT_EQ(webMapAddress("151.209300", "-33.868800"),
              "https://maps.google.com/maps?q=-33.868800+151.209300&h=en&t=h");
}

}  // namespace
}  // namespace kv820

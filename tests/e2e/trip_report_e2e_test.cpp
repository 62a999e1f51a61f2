#include <gtest/gtest.h>

#include <QProcess>

#include "core/records/text_sink.h"
#include "core/store/database.h"
#include "core/trips/trip_report.h"
#include "support/collecting_sink.h"
#include "support/qt/records_database.h"
#include "support/synthetic_track.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct CommandCase {
    QStringList arguments;
    int exitCode;
    std::string errorPart;  // what standard error says, for a refusal
};

// kv820-callcenter --report trips|stops|summary run as a script runs it, in the folder of
// a database holding one drive between two stops.
class TripReportEndToEnd : public ::testing::Test {
  protected:
    TripReportEndToEnd() {
        test::SyntheticTrack track(test::SyntheticTrack::at("2026/03/02", "08:00:00"));
        track.park(600).drive(6000, 0, 600).park(600);
        Database db(path);
        test::storeTrack(db, test::Truck.imei, track.reports);
    }

    ProgramRun run(const QStringList& arguments) {
        QProcess program;
        program.setWorkingDirectory(QString::fromStdString(dir.path().string()));
        program.start(QStringLiteral(KV820_CALLCENTER_PROGRAM), arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        return {program.exitCode(), program.readAllStandardOutput().toStdString(),
                program.readAllStandardError().toStdString()};
    }

    // What the core writes for the same request.
    std::string coreReport(const QStringList& arguments) {
        Database db(path);
        test::CollectingSink sink;
        const UserRangeRequest request{arguments[3].toStdString(), arguments[5].toStdString(),
                                       arguments[7].toStdString()};
        EXPECT_EQ(writeUserTripReport(db, request, *tripReportKindNamed(arguments[1].toStdString()),
                                      sink),
                  "");
        return sink.text;
    }

    test::TempDir dir;
    std::string path = test::createRecordsDatabase(dir, {test::Truck, test::Van});
};

constexpr const char* Start = "2026/03/02 00:00:00";
constexpr const char* End = "2026/03/02 23:59:59";

QStringList request(const char* kind, const char* user, const char* from, const char* to) {
    return {"--report", kind, "--user", user, "--from", from, "--to", to};
}

TEST_F(TripReportEndToEnd, PrintsTheReportsOrSaysWhyNot) {
    const CommandCase cases[] = {
        {request("trips", "truck", Start, End), 0, ""},
        {request("stops", "truck", Start, End), 0, ""},
        {request("summary", "truck", Start, End), 0, ""},
        {request("summary", "truck", "2026/03/02 08:15:00", "2026/03/02 08:25:00"), 0, ""},
        {request("trips", "van", Start, End), 0, ""},
        {request("trips", "car", Start, End), 1, "No user is named \"car\"."},
        {request("stops", "truck", "2026/03/02", End), 1,
         "\"2026/03/02\" is no time of the form YYYY/MM/DD hh:mm:ss."},
        {request("summary", "truck", End, Start), 1, "The range starts after it ends."},
        {request("routes", "truck", Start, End), 1,
         "Unknown report 'routes'; the reports are: events, trips, stops, summary."},
    };
    for (const CommandCase& c : cases) {
        const ProgramRun result = run(c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(result.exitCode, c.exitCode) << name << "\n" << result.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(result.out, coreReport(c.arguments)) << name;
            EXPECT_EQ(result.err, "") << name;
        } else {
            EXPECT_EQ(result.out, "") << name;
            EXPECT_NE(result.err.find(c.errorPart), std::string::npos) << name << "\n"
                                                                       << result.err;
        }
    }
}

}  // namespace
}  // namespace kv820

#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace kv820 {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action {
        RunWindow,
        CreateDatabase,
        ListPorts,
        Receive,
        ImportGeofences,
        EventsReport,
        TripReport,
        CopyDatabase,
        Help,
        Version,
        Invalid
    };

    Action action = Action::RunWindow;
    QString error;    // why the command line is invalid
    QString port;     // the port of --receive: a listed entry or a device path
    QString logFile;  // --log-file of --receive; empty for none
    QString file;     // the GeoJSON file of --import-geofences
    QString report;   // the kind of --report: "events", "trips", "stops" or "summary"
    QString user;     // --user, --from and --to of a report
    QString from;
    QString to;
    QString tiles;     // --tiles: the map's tile source for this run (file, folder or URL)
    QString database;  // --database: a file path or a PostgreSQL URL; empty for the default
    QString copyTo;    // --copy-database FROM TO: FROM is `database`, TO this

    // Accepts Qt's own options (-style, -platform, ...) beside the program's; they are left
    // in the arguments for QApplication to take.
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
};

// The actions that need no window; each returns the process exit code.
// The database is a location as chosenDatabaseLocation gives it.
int runCreateDatabase(const std::string& database);
int runListPorts();
// Copies every table from one database to another (a file or a URL each), printing the
// counts, or why nothing was copied.
int runCopyDatabase(const std::string& from, const std::string& to);
// These print what they did or why not.
int runImportGeofences(const std::string& database, const QString& file);
int runEventsReport(const std::string& database, const QString& user, const QString& from,
                    const QString& to);
// `kind` is one of the trip reports ("trips", "stops", "summary").
int runTripReport(const std::string& database, const QString& kind, const QString& user,
                  const QString& from, const QString& to);

}  // namespace kv820

#pragma once

#include <QString>
#include <QStringList>

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
    QString tiles;  // --tiles: the map's tile source for this run (file, folder or URL)

    // Accepts Qt's own options (-style, -platform, ...) beside the program's; they are left
    // in the arguments for QApplication to take.
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
};

// The actions that need no window; each returns the process exit code.
int runCreateDatabase();
int runListPorts();
// Both work on KV820Y.mdb of the current folder and print what they did or why not.
int runImportGeofences(const QString& file);
int runEventsReport(const QString& user, const QString& from, const QString& to);
// `kind` is one of the trip reports ("trips", "stops", "summary").
int runTripReport(const QString& kind, const QString& user, const QString& from, const QString& to);

}  // namespace kv820

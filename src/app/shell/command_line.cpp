#include "app/shell/command_line.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

#include "app/map/map_settings.h"
#include "app/ports/port_discovery.h"
#include "app/trips/trip_settings.h"
#include "core/alarms/event_report.h"
#include "core/alarms/geofence_file.h"
#include "core/reception/store_copy.h"
#include "core/records/text_sink.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/schema.h"
#include "core/trips/trip_report.h"

namespace kv820 {

namespace {

// The options QGuiApplication and QApplication take from the command line themselves.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr QtOption QtOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"geometry", true},
    {"qwindowtitle", true},
    {"title", true},
    {"qwindowicon", true},
    {"icon", true},
    {"session", true},
    {"display", true},
    {"name", true},
    {"style", true},
    {"stylesheet", true},
    {"visual", true},
    {"reverse", false},
    {"widgetcount", false},
    {"nograb", false},
    {"dograb", false},
    {"testability", false},
};

void addQtOptions(QCommandLineParser& parser) {
    for (const QtOption& qt : QtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name));
        if (qt.takesValue) {
            option.setValueName(QStringLiteral("value"));
        }
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

CommandLine invalid(const QString& error) {
    CommandLine result;
    result.action = CommandLine::Action::Invalid;
    result.error = error;
    return result;
}

// The reports a script may ask for: the events, then the track reports of the core.
QStringList reportNames() {
    QStringList names{QStringLiteral("events")};
    for (const std::string_view name : TripReportNames) {
        names.append(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    return names;
}

// The options of a report.
struct ReportOptions {
    QCommandLineOption report{QStringLiteral("report"), {}, QStringLiteral("KIND")};
    QCommandLineOption user{QStringLiteral("user"), {}, QStringLiteral("NAME")};
    QCommandLineOption from{QStringLiteral("from"), {}, QStringLiteral("TIME")};
    QCommandLineOption to{QStringLiteral("to"), {}, QStringLiteral("TIME")};
};

// Fills the report's fields of `result`, or says why the command line is invalid.
CommandLine reportCommand(const QCommandLineParser& parser, const ReportOptions& options,
                          CommandLine result) {
    const bool anyRange =
        parser.isSet(options.user) || parser.isSet(options.from) || parser.isSet(options.to);
    if (result.action != CommandLine::Action::EventsReport) {
        return anyRange ? invalid(QStringLiteral("--user, --from and --to go with --report."))
                        : result;
    }
    const QString kind = parser.value(options.report);
    if (!reportNames().contains(kind)) {
        return invalid(QStringLiteral("Unknown report '%1'; the reports are: %2.")
                           .arg(kind, reportNames().join(QStringLiteral(", "))));
    }
    for (const QCommandLineOption* option : {&options.user, &options.from, &options.to}) {
        if (parser.values(*option).size() != 1) {
            return invalid(
                QStringLiteral("--report %1 needs one --user, --from and --to.").arg(kind));
        }
    }
    if (kind != QStringLiteral("events")) {
        result.action = CommandLine::Action::TripReport;
    }
    result.report = kind;
    result.user = parser.value(options.user);
    result.from = parser.value(options.from);
    result.to = parser.value(options.to);
    return result;
}

// --copy-database FROM TO: the one option that takes a second value, after the first.
CommandLine copyCommand(const QCommandLineParser& parser, const QCommandLineOption& copy,
                        const QCommandLineOption& database) {
    const QStringList rest = parser.positionalArguments();
    if (parser.values(copy).size() != 1 || rest.size() != 1 || parser.isSet(database) ||
        parser.optionNames().size() != 1) {
        return invalid(
            QStringLiteral("--copy-database needs a database to copy from and one to "
                           "copy to, and nothing else."));
    }
    CommandLine result;
    result.action = CommandLine::Action::CopyDatabase;
    result.database = parser.value(copy);
    result.copyTo = rest.front();
    return result;
}

}  // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption createDatabase(QStringLiteral("create-database"));
    const QCommandLineOption listPorts(QStringLiteral("list-ports"));
    const QCommandLineOption receive(QStringLiteral("receive"), {}, QStringLiteral("PORT"));
    const QCommandLineOption logFile(QStringLiteral("log-file"), {}, QStringLiteral("FILE"));
    const QCommandLineOption importGeofences(QStringLiteral("import-geofences"), {},
                                             QStringLiteral("FILE"));
    const QCommandLineOption tiles(QStringLiteral("tiles"), {}, QStringLiteral("SOURCE"));
    const QCommandLineOption database(QStringLiteral("database"), {}, QStringLiteral("URL"));
    const QCommandLineOption copyDatabase(QStringLiteral("copy-database"), {},
                                          QStringLiteral("FROM"));
    const ReportOptions report;

    QCommandLineParser parser;
    // Qt's options are single-dash words ("-style"), not clusters of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({help, version, createDatabase, listPorts, receive, logFile, importGeofences,
                       report.report, report.user, report.from, report.to, tiles, database,
                       copyDatabase});
    addQtOptions(parser);
    if (!parser.parse(arguments)) {
        return invalid(parser.errorText());
    }
    if (parser.isSet(copyDatabase)) {
        return copyCommand(parser, copyDatabase, database);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return invalid(
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().front()));
    }
    const std::pair<const QCommandLineOption*, Action> actions[] = {
        {&help, Action::Help},
        {&version, Action::Version},
        {&createDatabase, Action::CreateDatabase},
        {&listPorts, Action::ListPorts},
        {&receive, Action::Receive},
        {&importGeofences, Action::ImportGeofences},
        {&report.report, Action::EventsReport},
    };
    CommandLine result;
    for (const auto& [option, action] : actions) {
        if (!parser.isSet(*option)) {
            continue;
        }
        if (result.action != Action::RunWindow || parser.values(*option).size() > 1) {
            return invalid(QStringLiteral("One option at a time."));
        }
        result.action = action;
    }
    if (parser.isSet(logFile) && result.action != Action::Receive) {
        return invalid(QStringLiteral("--log-file goes with --receive."));
    }
    if (result.action == Action::Receive) {
        result.port = parser.value(receive);
        result.logFile = parser.value(logFile);
        if (result.port.isEmpty() || (parser.isSet(logFile) && result.logFile.isEmpty())) {
            return invalid(QStringLiteral("--receive needs a port, --log-file a file."));
        }
    }
    if (parser.isSet(tiles)) {
        if (result.action != Action::RunWindow || parser.values(tiles).size() > 1) {
            return invalid(QStringLiteral("--tiles goes with the window, once."));
        }
        result.tiles = parser.value(tiles);
        if (!MapSettings::tileSourceFromArgument(result.tiles)) {
            return invalid(QStringLiteral("--tiles needs an MBTiles file, a folder of tiles or a "
                                          "URL template with {z}, {x} and {y}: '%1' is none.")
                               .arg(result.tiles));
        }
    }
    if (parser.isSet(database)) {
        result.database = parser.value(database);
        if (parser.values(database).size() > 1 || result.database.isEmpty() ||
            result.action == Action::ListPorts) {
            return invalid(QStringLiteral("--database needs one file or URL, and a use for it."));
        }
    }
    result.file = parser.value(importGeofences);
    if (result.action == Action::ImportGeofences && result.file.isEmpty()) {
        return invalid(QStringLiteral("--import-geofences needs a file."));
    }
    return reportCommand(parser, report, result);
}

QString CommandLine::helpText() {
    return QStringLiteral(
        "Usage: kv820-callcenter [option] [Qt option ...]\n"
        "\n"
        "Call center for KV820 GPS/GSM trackers: receives their position reports by SMS\n"
        "through a GSM modem, stores them in KV820Y.mdb in the current folder, shows them on\n"
        "a web map, and sends commands to the trackers.\n"
        "\n"
        "Without an option the main window opens; KV820Y.mdb must exist in the current folder.\n"
        "\n"
        "Options:\n"
        "  --create-database  create KV820Y.mdb in the current folder (an existing file is\n"
        "                     left untouched); with --database URL: create the tables in\n"
        "                     that PostgreSQL database, or those it lacks after an upgrade\n"
        "  --database URL     with any other option: use this database instead of KV820Y.mdb\n"
        "                     in the current folder: a file path or a PostgreSQL URL\n"
        "                     (postgresql://user@host/db; a password is better kept in\n"
        "                     ~/.pgpass than in the URL)\n"
        "  --list-ports       print the entries of the \"COM Port :\" lists, one a line\n"
        "  --receive PORT     receive reports without a window: start the modem on PORT (a\n"
        "                     listed entry such as ttyUSB0: or a device path), print the\n"
        "                     modem log with the time of each line, store reports in\n"
        "                     KV820Y.mdb; SIGINT or SIGTERM closes the session (exit\n"
        "                     code 0); a failed start or a lost modem exits with 1\n"
        "  --log-file FILE    with --receive: write the log to FILE too (appending);\n"
        "                     SIGHUP reopens FILE (after logrotate moved it)\n"
        "  --import-geofences FILE\n"
        "                     add the fences of a GeoJSON file to KV820Y.mdb; a file with\n"
        "                     one bad feature adds none and exits with 1\n"
        "  --report events --user NAME --from TIME --to TIME\n"
        "                     print the user's alarm events from TIME to TIME (both\n"
        "                     \"YYYY/MM/DD hh:mm:ss\", local time) as CSV, oldest first\n"
        "  --report trips|stops|summary --user NAME --from TIME --to TIME\n"
        "                     print the user's trips, stops or daily totals (distance,\n"
        "                     driving time, speeds, reports) over the reports whose GPS\n"
        "                     time lies from TIME to TIME, as CSV with a header row\n"
        "  --tiles SOURCE     with the window: take the map's tiles, for this run only,\n"
        "                     from SOURCE: an MBTiles file of raster tiles, a folder laid\n"
        "                     out as {z}/{x}/{y}.png (or .jpg), or a URL template such as\n"
        "                     https://tiles.example.org/{z}/{x}/{y}.png\n"
        "  --copy-database FROM TO\n"
        "                     copy users, reports and every other table from one database\n"
        "                     to another (each a file path or a PostgreSQL URL), in either\n"
        "                     direction; TO must hold no users and no reports, and a\n"
        "                     failure copies nothing\n"
        "  --help             show this text\n"
        "  --version          show the version\n"
        "\n"
        "Qt's own options such as -style NAME or -platform NAME are taken too. A wrong\n"
        "command line prints this text and exits with 1.\n"
        "\n"
        "Environment:\n"
        "  KV820_EXTRA_PORTS  further serial ports to list, separated by ':' (';' on Windows)\n"
        "  KV820_DATABASE     the database when --database is not given\n");
}

int runCopyDatabase(const std::string& from, const std::string& to) {
    const std::string shownFrom = shownLocation(from);
    const std::string shownTo = shownLocation(to);
    bool madeFile = false;
    try {
        Database source(from);
        if (!isServerLocation(to) && !QFileInfo::exists(QFile::decodeName(to.c_str()))) {
            madeFile = createDatabase(to) == CreateDatabaseResult::Created;
        }
        Database target(to);
        const StoreCopyCount count = copyStore(source, target);
        std::printf("Copied %lld users, %lld reports and %lld other rows from %s to %s.\n",
                    static_cast<long long>(count.users), static_cast<long long>(count.reports),
                    static_cast<long long>(count.otherRows), shownFrom.c_str(), shownTo.c_str());
        for (const std::string& table : count.skippedTables) {
            std::printf("Table %s has no place in %s and was left out.\n", table.c_str(),
                        shownTo.c_str());
        }
        return 0;
    } catch (const DatabaseError& error) {
        if (madeFile) {
            QFile::remove(QFile::decodeName(to.c_str()));  // nothing half-copied stays
        }
        std::fprintf(stderr, "Nothing was copied from %s to %s: %s\n", shownFrom.c_str(),
                     shownTo.c_str(), error.what());
    }
    return 1;
}

int runCreateDatabase(const std::string& database) {
    const std::string shown = shownLocation(database);
    try {
        const CreateDatabaseResult result = createDatabase(database);
        if (isServerLocation(database)) {
            // Receivers and desks with the least rights cannot make tables later.
            Database db(database);
            ensureEveryTable(db);
        }
        switch (result) {
            case CreateDatabaseResult::Created:
                std::printf("Created %s with the tables users and gpslog.\n", shown.c_str());
                return 0;
            case CreateDatabaseResult::AlreadyExists:
                std::printf(isServerLocation(database)
                                ? "%s exists already; only the tables it lacked were added.\n"
                                : "%s exists already; it was left untouched.\n",
                            shown.c_str());
                return 0;
        }
    } catch (const DatabaseError& error) {
        std::fprintf(stderr, "Cannot create %s: %s\n", shown.c_str(), error.what());
    }
    return 1;
}

}  // namespace kv820

namespace kv820 {

int runListPorts() {
    for (const QString& entry : EnumUsbSerialPorts()) {
        std::printf("%s\n", entry.toLocal8Bit().constData());
    }
    return 0;
}

}  // namespace kv820

namespace kv820 {

namespace {

class StandardOutput final : public TextSink {
  public:
    bool write(std::string_view text) override {
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    }
};

// The chosen database; nothing, with the reason printed, when it is missing or cannot be
// opened.
std::unique_ptr<Database> openChosenDatabase(const std::string& database) {
    if (database == DatabaseFileName && !QFileInfo::exists(QString::fromLatin1(DatabaseFileName))) {
        std::fprintf(stderr, "%s is not in the current folder (--create-database makes it).\n",
                     DatabaseFileName);
        return nullptr;
    }
    try {
        return std::make_unique<Database>(database);
    } catch (const DatabaseError& error) {
        std::fprintf(stderr, "Cannot open %s: %s\n", shownLocation(database).c_str(), error.what());
        return nullptr;
    }
}

// Runs a report on the chosen database to standard output: exit code 0 when it was
// written whole, 1 with the reason on standard error otherwise. `write` returns the core's
// reason, empty when written.
int runReport(const std::string& database,
              const std::function<std::string(Database&, TextSink&)>& write) {
    const std::unique_ptr<Database> db = openChosenDatabase(database);
    if (!db) {
        return 1;
    }
    StandardOutput output;
    try {
        const std::string error = write(*db, output);
        if (error.empty()) {
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        std::fprintf(stderr, "%s\n", error.c_str());
    } catch (const DatabaseError& error) {
        std::fprintf(stderr, "Cannot read the database: %s\n", error.what());
    }
    return 1;
}

}  // namespace

int runImportGeofences(const std::string& database, const QString& file) {
    const std::unique_ptr<Database> db = openChosenDatabase(database);
    if (!db) {
        return 1;
    }
    try {
        const GeofenceFileImport result =
            importGeofenceFile(*db, QFile::encodeName(file).toStdString());
        if (!result.error.empty()) {
            std::fprintf(stderr, "No geofence was added: %s\n", result.error.c_str());
            return 1;
        }
        std::printf("%zu geofences added\n", result.added);
        return 0;
    } catch (const DatabaseError& error) {
        std::fprintf(stderr, "No geofence was added: %s\n", error.what());
        return 1;
    }
}

int runEventsReport(const std::string& database, const QString& user, const QString& from,
                    const QString& to) {
    return runReport(database, [&](Database& db, TextSink& sink) {
        return writeUserEventsCsv(db, {user.toStdString(), from.toStdString(), to.toStdString()},
                                  sink);
    });
}

int runTripReport(const std::string& database, const QString& kind, const QString& user,
                  const QString& from, const QString& to) {
    const std::optional<TripReportKind> report = tripReportKindNamed(kind.toStdString());
    if (!report) {
        std::fprintf(stderr, "Unknown report '%s'.\n", kind.toLocal8Bit().constData());
        return 1;
    }
    return runReport(database, [&](Database& db, TextSink& sink) {
        return writeUserTripReport(db, {user.toStdString(), from.toStdString(), to.toStdString()},
                                   *report, sink, savedTripSettings());
    });
}

}  // namespace kv820

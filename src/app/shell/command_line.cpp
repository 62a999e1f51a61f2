#include "app/shell/command_line.h"

#include <QCommandLineParser>
#include <cstdio>
#include <utility>

#include "app/ports/port_discovery.h"
#include "core/store/database_error.h"
#include "core/store/schema.h"

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

void AddQtOptions(QCommandLineParser& parser) {
    for (const QtOption& qt : QtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name));
        if (qt.takesValue) {
            option.setValueName(QStringLiteral("value"));
        }
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

CommandLine Invalid(const QString& error) {
    CommandLine result;
    result.action = CommandLine::Action::Invalid;
    result.error = error;
    return result;
}

}  // namespace

CommandLine CommandLine::Parse(const QStringList& arguments) {
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption createDatabase(QStringLiteral("create-database"));
    const QCommandLineOption listPorts(QStringLiteral("list-ports"));
    const QCommandLineOption receive(QStringLiteral("receive"), {}, QStringLiteral("PORT"));
    const QCommandLineOption logFile(QStringLiteral("log-file"), {}, QStringLiteral("FILE"));

    QCommandLineParser parser;
    // Qt's options are single-dash words ("-style"), not clusters of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({help, version, createDatabase, listPorts, receive, logFile});
    AddQtOptions(parser);
    if (!parser.parse(arguments)) {
        return Invalid(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Invalid(
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().front()));
    }
    const std::pair<const QCommandLineOption*, Action> actions[] = {
        {&help, Action::Help},
        {&version, Action::Version},
        {&createDatabase, Action::CreateDatabase},
        {&listPorts, Action::ListPorts},
        {&receive, Action::Receive},
    };
    CommandLine result;
    for (const auto& [option, action] : actions) {
        if (!parser.isSet(*option)) {
            continue;
        }
        if (result.action != Action::RunWindow || parser.values(*option).size() > 1) {
            return Invalid(QStringLiteral("One option at a time."));
        }
        result.action = action;
    }
    if (parser.isSet(logFile) && result.action != Action::Receive) {
        return Invalid(QStringLiteral("--log-file goes with --receive."));
    }
    if (result.action == Action::Receive) {
        result.port = parser.value(receive);
        result.logFile = parser.value(logFile);
        if (result.port.isEmpty() || (parser.isSet(logFile) && result.logFile.isEmpty())) {
            return Invalid(QStringLiteral("--receive needs a port, --log-file a file."));
        }
    }
    return result;
}

QString CommandLine::HelpText() {
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
        "                     left untouched)\n"
        "  --list-ports       print the entries of the \"COM Port :\" lists, one a line\n"
        "  --receive PORT     receive reports without a window: start the modem on PORT (a\n"
        "                     listed entry such as ttyUSB0: or a device path), print the\n"
        "                     modem log with the time of each line, store reports in\n"
        "                     KV820Y.mdb; SIGINT or SIGTERM closes the session (exit\n"
        "                     code 0); a failed start or a lost modem exits with 1\n"
        "  --log-file FILE    with --receive: write the log to FILE too (appending);\n"
        "                     SIGHUP reopens FILE (after logrotate moved it)\n"
        "  --help             show this text\n"
        "  --version          show the version\n"
        "\n"
        "Qt's own options such as -style NAME or -platform NAME are taken too. A wrong\n"
        "command line prints this text and exits with 1.\n"
        "\n"
        "Environment:\n"
        "  KV820_EXTRA_PORTS  further serial ports to list, separated by ':' (';' on Windows)\n");
}

int RunCreateDatabase() {
    try {
        switch (CreateDatabaseFile(DatabaseFileName)) {
            case CreateDatabaseResult::Created:
                std::printf("Created %s with the tables users and gpslog.\n", DatabaseFileName);
                return 0;
            case CreateDatabaseResult::AlreadyExists:
                std::printf("%s exists already; it was left untouched.\n", DatabaseFileName);
                return 0;
        }
    } catch (const DatabaseError& error) {
        std::fprintf(stderr, "Cannot create %s: %s\n", DatabaseFileName, error.what());
    }
    return 1;
}

}  // namespace kv820

namespace kv820 {

int RunListPorts() {
    for (const QString& entry : EnumUsbSerialPorts()) {
        std::printf("%s\n", entry.toLocal8Bit().constData());
    }
    return 0;
}

}  // namespace kv820

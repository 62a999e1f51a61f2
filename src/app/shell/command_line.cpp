#include "app/shell/command_line.h"

#include <cstdio>

#include "app/ports/port_discovery.h"
#include "core/store/database_error.h"
#include "core/store/schema.h"

namespace kv820 {

CommandLine CommandLine::Parse(const QStringList& arguments) {
    CommandLine result;
    const QStringList options = arguments.mid(1);
    if (options.isEmpty()) {
        return result;
    }
    if (options.front() == QLatin1String("--receive")) {
        if (options.size() != 2 || options.at(1).isEmpty()) {
            result.action = Action::Invalid;
            result.error = QStringLiteral("--receive needs one port");
            return result;
        }
        result.action = Action::Receive;
        result.port = options.at(1);
        return result;
    }
    if (options.size() > 1) {
        result.action = Action::Invalid;
        result.error = QStringLiteral("too many arguments");
        return result;
    }
    const QString& option = options.front();
    if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
        result.action = Action::Help;
    } else if (option == QLatin1String("--version") || option == QLatin1String("-v")) {
        result.action = Action::Version;
    } else if (option == QLatin1String("--create-database")) {
        result.action = Action::CreateDatabase;
    } else if (option == QLatin1String("--list-ports")) {
        result.action = Action::ListPorts;
    } else {
        result.action = Action::Invalid;
        result.error = QStringLiteral("unknown option '%1'").arg(option);
    }
    return result;
}

QString CommandLine::HelpText() {
    return QStringLiteral(
        "Usage: kv820-callcenter [option]\n"
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
        "                     modem log, store reports in KV820Y.mdb; SIGINT or SIGTERM\n"
        "                     closes the session\n"
        "  --help             show this text\n"
        "  --version          show the version\n"
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

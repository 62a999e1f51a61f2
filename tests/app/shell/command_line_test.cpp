#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/map/map_settings.h"
#include "app/reception/headless_receiver.h"
#include "app/shell/command_line.h"

namespace kv820 {

class CommandLineTest : public QObject {
    Q_OBJECT

  private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("port");
        using A = CommandLine::Action;
        QTest::newRow("window") << QStringList{} << int(A::RunWindow) << QString();
        QTest::newRow("receive without port")
            << QStringList{"--receive"} << int(A::Invalid) << QString();
        QTest::newRow("port before option")
            << QStringList{"ttyUSB0:", "--receive"} << int(A::Invalid) << QString();
        QTest::newRow("two actions")
            << QStringList{"--version", "--list-ports"} << int(A::Invalid) << QString();
        QTest::newRow("qt options for the window")
            << QStringList{"-style", "fusion", "-platform", "offscreen", "-reverse"}
            << int(A::RunWindow) << QString();
        QTest::newRow("qt option with an action")
            << QStringList{"-style=fusion", "-v"} << int(A::Version) << QString();
        QTest::newRow("log file without receive")
            << QStringList{"--log-file", "r.log"} << int(A::Invalid) << QString();
        QTest::newRow("receive with log file")
            << QStringList{"--receive", "ttyUSB0:", "--log-file", "r.log"} << int(A::Receive)
            << QStringLiteral("ttyUSB0:");
        const QStringList eventsRange{
            "--user", "van", "--from", "2026/03/01 00:00:00", "--to", "2026/03/02 00:00:00"};
        QTest::newRow("events report")
            << QStringList{"--report", "events"} + eventsRange << int(A::EventsReport) << QString();
        for (const char* kind : {"trips", "stops", "summary"}) {
            QTest::newRow(kind) << QStringList{"--report", kind} + eventsRange << int(A::TripReport)
                                << QString();
        }
        QTest::newRow("unknown report")
            << QStringList{"--report", "routes"} + eventsRange << int(A::Invalid) << QString();
        QTest::newRow("trips without their range")
            << QStringList{"--report", "trips", "--from", "2026/03/01 00:00:00"} << int(A::Invalid)
            << QString();
        QTest::newRow("report without its range")
            << QStringList{"--report", "events", "--user", "van"} << int(A::Invalid) << QString();
        QTest::newRow("range without report") << eventsRange << int(A::Invalid) << QString();
        QTest::newRow("fence import") << QStringList{"--import-geofences", "f.geojson"}
                                      << int(A::ImportGeofences) << QString();
        const QString url = QStringLiteral("postgresql://desk@db/kv820");
        QTest::newRow("receive into a server")
            << QStringList{"--receive", "ttyUSB0:", "--database", url} << int(A::Receive)
            << QStringLiteral("ttyUSB0:");
        QTest::newRow("database without a use")
            << QStringList{"--list-ports", "--database", url} << int(A::Invalid) << QString();
        QTest::newRow("copy") << QStringList{"--copy-database", "KV820Y.mdb", url}
                              << int(A::CopyDatabase) << QString();
        QTest::newRow("copy without a target")
            << QStringList{"--copy-database", "KV820Y.mdb"} << int(A::Invalid) << QString();
        QTest::newRow("copy with another option")
            << QStringList{"--copy-database", "a.mdb", url, "--database", "b.mdb"}
            << int(A::Invalid) << QString();
        QTest::newRow("stray argument")
            << QStringList{"--version", "extra"} << int(A::Invalid) << QString();
    }

    void parse() {
        QFETCH(QStringList, options);
        QFETCH(int, action);
        QFETCH(QString, port);
        const CommandLine command =
            CommandLine::parse(QStringList{QStringLiteral("kv820-callcenter")} + options);
        QCOMPARE(int(command.action), action);
        QCOMPARE(command.port, port);
        QCOMPARE(command.error.isEmpty(), action != int(CommandLine::Action::Invalid));
        QCOMPARE(command.logFile, command.action == CommandLine::Action::Receive &&
                                          options.contains(QStringLiteral("--log-file"))
                                      ? QStringLiteral("r.log")
                                      : QString());
    }

    // --tiles names the map's source for one run: a file, a folder or a URL template.
    void tileSources() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("region.mbtiles"));
        QFile(file).open(QIODevice::WriteOnly);
        const QString url = QStringLiteral("http://tiles.local/{z}/{x}/{y}.png");
        using Kind = MapTileSource::Kind;
        const struct {
            QStringList options;
            bool valid;
            Kind kind;
            QString path;
        } cases[] = {
            {{"--tiles", file}, true, Kind::MbtilesFile, file},
            {{"--tiles", dir.path()}, true, Kind::Folder, dir.path()},
            {{"--tiles", url}, true, Kind::Url, {}},
            {{"--tiles", dir.filePath(QStringLiteral("absent.mbtiles"))}, false, Kind::Url, {}},
            {{"--tiles", "http://tiles.local/{z}.png"}, false, Kind::Url, {}},
            {{"--tiles", file, "--list-ports"}, false, Kind::Url, {}},
            {{"--tiles", file, "--tiles", file}, false, Kind::Url, {}},
        };
        for (const auto& c : cases) {
            const CommandLine command =
                CommandLine::parse(QStringList{QStringLiteral("kv820-callcenter")} + c.options);
            QCOMPARE(command.action == CommandLine::Action::RunWindow, c.valid);
            if (c.valid) {
                const auto source = MapSettings::tileSourceFromArgument(command.tiles);
                QVERIFY(source);
                QCOMPARE(int(source->kind), int(c.kind));
                QCOMPARE(source->path, c.path);
                QCOMPARE(source->urlTemplate, c.kind == Kind::Url ? url : QString());
            } else {
                QVERIFY(!command.error.isEmpty());
            }
        }
        QVERIFY(CommandLine::helpText().contains(QStringLiteral("--tiles SOURCE")));
    }

    void portEntries_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("entry");
        QTest::newRow("device path") << "/dev/pts/3"
                                     << "/dev/pts/3:";
        QTest::newRow("path holding a colon") << "/dev/serial/by-path/pci-0:1"
                                              << "/dev/serial/by-path/pci-0:1:";
    }

    void portEntries() {
        QFETCH(QString, argument);
        QFETCH(QString, entry);
        QCOMPARE(QString::fromStdString(portEntryFromArgument(argument.toStdString())), entry);
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::CommandLineTest)
#include "command_line_test.moc"

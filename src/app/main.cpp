#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "app/common/app_context.h"
#include "app/common/database_choice.h"
#include "app/map/map_settings.h"
#include "app/map/web_engine_setup.h"
#include "app/reception/headless_receiver.h"
#include "app/shell/command_line.h"
#include "app/shell/main_window.h"
#include "app/shell/single_instance.h"
#include "core/store/schema.h"

namespace {

QStringList arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

int runWindow(int argc, char** argv, const QString& tiles, const QString& database) {
    kv820::prepareWebEngineBeforeApplication();
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("kv820-callcenter"));
    app.setApplicationVersion(QStringLiteral(KV820_VERSION));
    // Lets the desktop match the window with its menu entry (and so with its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("kv820-callcenter"));

    kv820::SingleInstance instance(
        kv820::SingleInstance::perUserKey(QStringLiteral("kv820-callcenter")));
    if (qEnvironmentVariableIsEmpty("KV820_NO_SINGLE_INSTANCE") && !instance.claim()) {
        return 0;  // the running copy comes to the front
    }
    if (const auto source = kv820::MapSettings::tileSourceFromArgument(tiles)) {
        kv820::MapSettings::setRunTileSource(*source);
    }
    kv820::AppContext context(kv820::chosenDatabaseLocation(database));
    kv820::MainWindow window(context);
    QObject::connect(&instance, &kv820::SingleInstance::activationRequested, &window,
                     &kv820::MainWindow::activate);
    window.showAsLeft();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    using Action = kv820::CommandLine::Action;
    const kv820::CommandLine command = kv820::CommandLine::parse(arguments(argc, argv));
    switch (command.action) {
        case Action::Help:
            std::fputs(kv820::CommandLine::helpText().toLocal8Bit().constData(), stdout);
            return 0;
        case Action::Version:
            std::printf("kv820-callcenter %s\n", KV820_VERSION);
            return 0;
        case Action::CreateDatabase:
            return kv820::runCreateDatabase(kv820::chosenDatabaseLocation(command.database));
        case Action::CopyDatabase:
            return kv820::runCopyDatabase(kv820::chosenDatabaseLocation(command.database),
                                          kv820::chosenDatabaseLocation(command.copyTo));
        case Action::ListPorts:
            return kv820::runListPorts();
        case Action::ImportGeofences:
            return kv820::runImportGeofences(kv820::chosenDatabaseLocation(command.database),
                                             command.file);
        case Action::EventsReport:
            return kv820::runEventsReport(kv820::chosenDatabaseLocation(command.database),
                                          command.user, command.from, command.to);
        case Action::TripReport:
            return kv820::runTripReport(kv820::chosenDatabaseLocation(command.database),
                                        command.report, command.user, command.from, command.to);
        case Action::Receive: {
            QCoreApplication app(argc, argv);
            return kv820::runHeadlessReceiver(command.port.toStdString(),
                                              QFile::encodeName(command.logFile).toStdString(),
                                              kv820::chosenDatabaseLocation(command.database));
        }
        case Action::Invalid:
            std::fprintf(stderr, "kv820-callcenter: %s\n%s",
                         command.error.toLocal8Bit().constData(),
                         kv820::CommandLine::helpText().toLocal8Bit().constData());
            return 1;
        case Action::RunWindow:
            break;
    }
    return runWindow(argc, argv, command.tiles, command.database);
}

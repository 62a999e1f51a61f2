// Every page and dialog: each visible control is what a mouse click at its centre reaches
// (scrolled to, in a window at its smallest), shows its whole text, and a keyboard-only
// operator reaches every labelled field; every window fits a laptop's screen.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "app/alarms/alarm_beeper.h"
#include "app/alarms/fence_dialog.h"
#include "app/alarms/forwarding_dialog.h"
#include "app/alarms/geofence_editor.h"
#include "app/alarms/geofences_dialog.h"
#include "app/alarms/sos_alarms.h"
#include "app/commands/sms_command_page.h"
#include "app/common/app_context.h"
#include "app/firmware/firmware_update_dialog.h"
#include "app/firmware/firmware_wizard_dialog.h"
#include "app/map/map_settings.h"
#include "app/map/map_tile_dialog.h"
#include "app/ports/scan_com_port_dialog.h"
#include "app/records/sms_tracking_page.h"
#include "app/setup/setup_file_dialog.h"
#include "app/setup/setup_session.h"
#include "app/setup/setup_wizard.h"
#include "app/setup/sim_pin_dialog.h"
#include "app/shell/about_dialog.h"
#include "app/shell/main_window.h"
#include "app/trips/trip_settings_dialog.h"
#include "app/users/user_edit_dialog.h"
#include "app/users/user_information_dialog.h"
#include "app/users/user_slots_dialog.h"
#include "core/report/position_report.h"
#include "support/qt/keyboard_check.h"
#include "support/qt/large_offscreen_screen.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/qt/widget_hit_test.h"
#include "support/temp_dir.h"

namespace kv820 {

namespace {

class SilentBeeper final : public AlarmBeeper {
  public:
    void beep() override {}
};

// What the windows under test are made from; it outlives them. No message box opens.
struct Rig {
    Rig() { session.services = services.app(); }

    test::TempDir dir;
    test::RecordingServices services;
    AppContext context{test::createRecordsDatabase(dir, {test::Truck, test::Van}), services.app()};
    SetupSession session;
    QPlainTextEdit modemLog;
    QComboBox ownerPorts;
    QWidget alarmOwner;
    SosAlarms alarms{services.app(), &alarmOwner};
    GeofenceEditor geofences{context, &alarmOwner};
};

using WindowFactory = std::function<std::unique_ptr<QWidget>(Rig&)>;

std::unique_ptr<QWidget> mainWindowOn(Rig& rig, int mainTab, int commandTab, bool minimum) {
    auto window = std::make_unique<MainWindow>(rig.context);
    window->mainTab()->setCurrentIndex(mainTab);
    window->commandPage()->commandTab()->setCurrentIndex(commandTab);
    if (minimum) {
        // The longest texts the report fields show must fit at the smallest size, where the
        // pages scroll.
        const std::pair<const char*, const char*> longest[] = {
            {"moduleImeiEdit", "354612071234567"},
            {"gpsDateTimeEdit", "2026/12/07-00:45:46"},
            {"receiveDateTimeEdit", "2026/12/07-00:45:46"},
            {"longitudeEdit", "-121.517081"}};
        for (const auto& [field, text] : longest) {
            window->trackingPage()
                ->findChild<QLineEdit*>(QString::fromLatin1(field))
                ->setText(text);
        }
        window->show();
        window->resize(window->minimumSize());
    }
    return window;
}

std::unique_ptr<QWidget> sosAlarmWindowOf(Rig& rig) {
    rig.alarms.setBeeper(std::make_unique<SilentBeeper>());
    PositionReport report;
    report.userName = "truck";
    report.messageStatus = "SOS report";
    rig.alarms.raise(report);
    // The alarms own their window; the caller gets a window it may delete.
    auto* shown = rig.alarmOwner.findChild<QWidget*>(QStringLiteral("sosAlarmWindow"));
    shown->setParent(nullptr, shown->windowFlags());
    return std::unique_ptr<QWidget>(shown);
}

const std::vector<std::pair<const char*, WindowFactory>>& windows() {
    static const std::vector<std::pair<const char*, WindowFactory>> Windows = {
        {"SMS Tracking", [](Rig& r) { return mainWindowOn(r, 0, 0, false); }},
        {"Search Records", [](Rig& r) { return mainWindowOn(r, 1, 0, false); }},
        {"SMS Command, tracking", [](Rig& r) { return mainWindowOn(r, 2, 0, false); }},
        {"SMS Command, configuration", [](Rig& r) { return mainWindowOn(r, 2, 1, false); }},
        {"SMS Tracking, smallest", [](Rig& r) { return mainWindowOn(r, 0, 0, true); }},
        {"Search Records, smallest", [](Rig& r) { return mainWindowOn(r, 1, 0, true); }},
        {"SMS Command, tracking, smallest", [](Rig& r) { return mainWindowOn(r, 2, 0, true); }},
        {"SMS Command, configuration, smallest",
         [](Rig& r) { return mainWindowOn(r, 2, 1, true); }},
        {"Events", [](Rig& r) { return mainWindowOn(r, 4, 0, false); }},
        {"Events, smallest", [](Rig& r) { return mainWindowOn(r, 4, 0, true); }},
        {"Scan COM Port",
         [](Rig& r) {
             auto dialog = std::make_unique<ScanComPortDialog>(ScanVariant::SmsCommand,
                                                               &r.ownerPorts, nullptr);
             dialog->setProbeFactory([](ScanVariant, Clock&) -> PortProbe {
                 return [](const std::string&, const std::stop_token&) { return false; };
             });
             return dialog;
         }},
        {"KV820 Setup", [](Rig& r) { return std::make_unique<SetupWizard>(r.session); }},
        {"SIM PIN", [](Rig& r) { return std::make_unique<SimPinDialog>(r.session); }},
        {"Setup File",
         [](Rig& r) { return std::make_unique<SetupFileDialog>(SetupForm{}, r.session); }},
        {"User Information",
         [](Rig& r) { return std::make_unique<UserInformationDialog>(r.context, nullptr); }},
        {"User Edit", [](Rig& r) { return std::make_unique<UserEditDialog>(r.context, nullptr); }},
        {"Geofences",
         [](Rig& r) { return std::make_unique<GeofencesDialog>(r.context, r.geofences, nullptr); }},
        {"Geofence",
         [](Rig& r) {
             return std::make_unique<FenceDialog>(Geofence{}, r.context.registry().snapshot(),
                                                  nullptr);
         }},
        {"Trackers (user slots)",
         [](Rig& r) { return std::make_unique<UserSlotsDialog>(r.context, nullptr); }},
        {"Event forwarding",
         [](Rig& r) { return std::make_unique<ForwardingDialog>(r.context, nullptr); }},
        {"Trip settings",
         [](Rig&) { return std::make_unique<TripSettingsDialog>(TripSettings{}, nullptr); }},
        {"Tiles",
         [](Rig& r) {
             return std::make_unique<MapTileDialog>(MapSettings::defaultTileSource(),
                                                    r.context.services());
         }},
        {"About", [](Rig&) { return std::make_unique<AboutDialog>(); }},
        {"Firmware wizard", [](Rig&) { return std::make_unique<FirmwareWizardDialog>(); }},
        {"Firmware update",
         [](Rig& r) { return std::make_unique<FirmwareUpdateDialog>(&r.modemLog); }},
        {"SOS alarm", sosAlarmWindowOf},
    };
    return Windows;
}

}  // namespace

class EveryWindowTest : public QObject {
    Q_OBJECT

  private:
    // Shows each window of the table in turn and collects what `check` finds in it.
    void checkEveryWindow(const std::function<QStringList(QWidget*)>& check) {
        for (const auto& [name, make] : windows()) {
            Rig rig;
            std::unique_ptr<QWidget> window = make(rig);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            const QStringList faults = check(window.get());
            QVERIFY2(faults.isEmpty(),
                     qPrintable(QString::fromLatin1(name) + ": " + faults.join("; ")));
        }
    }

  private slots:
    void init() { qputenv("KV820_EXTRA_PORTS", ""); }

    void everyControlTakesTheClickAtItsCentre() { checkEveryWindow(test::unreachableControls); }

    void everyControlShowsItsWholeText() { checkEveryWindow(test::clippedControls); }

    void everyLabelledFieldHasItsOwnMnemonic() { checkEveryWindow(test::keyboardFaults); }

    // A 1366 x 768 screen less a desktop panel and a title bar.
    void everyWindowFitsALaptopScreen() {
        checkEveryWindow([](QWidget* window) {
            const QSize usable(1366, 700);
            const QSize shown = window->size().expandedTo(window->minimumSize());
            if (shown.boundedTo(usable) == shown) {
                return QStringList();
            }
            return QStringList{QStringLiteral("%1 x %2").arg(shown.width()).arg(shown.height())};
        });
    }
};

}  // namespace kv820

int main(int argc, char** argv) {
    const kv820::test::LargeOffscreenScreen screen;
    QApplication app(argc, argv);
    kv820::EveryWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "every_window_test.moc"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/records/record_search.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/search_records_page.h"
#include "app/setup/setup_file_dialog.h"
#include "app/setup/setup_launcher.h"
#include "app/setup/setup_wizard.h"
#include "app/shell/main_window.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/user_store.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/qt/scripted_port_devices.h"
#include "support/scripted_tracker.h"

namespace kv820 {

namespace {

const UserSlot Registered{"Van", "0955000000", "354612079999999"};

// The module confirms every stored message.
void confirmWrites(test::FakeSerialLink& link) {
    link.onWrite = [stored = 0](test::FakeSerialLink& l, std::string_view written) mutable {
        if (written.starts_with("at+cmgd=")) {
            l.feed(std::string(written) + "\r\nOK\r\n");
        } else if (written.starts_with("at+cmgw=")) {
            l.feed(std::string(written) + "\r\n> ");
        } else if (written.ends_with("\x1A\r")) {
            l.feed("\r\n+CMGW: " + std::to_string(++stored) + "\r\n\r\nOK\r\n");
        }
    };
}

}  // namespace

class SetupLauncherTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ScriptedPortDevices> scripted_;

    // Opens the wizard from the menu command and connects to the fresh scripted tracker;
    // returns the window's launcher, showing the Setup File dialog.
    SetupLauncher* connectFreshTracker(MainWindow& window) {
        auto* launcher = window.findChild<SetupLauncher*>(QStringLiteral("setupLauncher"));
        launcher->setDevices(scripted_->devices());
        test::ScriptedTracker tracker;
        tracker.listings = {test::listingReply({})};
        tracker.install(scripted_->link);
        confirmWrites(scripted_->link);
        window.setupAction()->trigger();
        QTest::mouseClick(launcher->wizard()->setupButton(), Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return launcher->setupFileDialog() != nullptr; })) {
            qFatal("the Setup File dialog did not open");
        }
        return launcher;
    }

    static void fillAndSubmit(SetupFileDialog* dialog, const QString& name, const QString& phone) {
        dialog->findChild<QLineEdit*>(QStringLiteral("userNameEdit"))->setText(name);
        dialog->findChild<QLineEdit*>(QStringLiteral("phoneNumberEdit"))->setText(phone);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("setupFileOkButton")),
                          Qt::LeftButton);
    }

  private slots:
    void init() {
        qputenv("KV820_EXTRA_PORTS", "/dev/ttyTRACKER");
        scripted_ = std::make_unique<test::ScriptedPortDevices>();
    }

    void theMainWindowStaysDisabledFromTheWizardToTheEndOfTheSetupFile() {
        test::WindowRig rig(std::vector<UserSlot>{});
        SetupLauncher* launcher = connectFreshTracker(rig.window);
        SetupFileDialog* dialog = launcher->setupFileDialog();
        QVERIFY(dialog->isVisible() && dialog->isEnabled());
        QTRY_VERIFY(launcher->wizard() == nullptr);
        QVERIFY(!rig.window.isEnabled());
        dialog->reject();
        QVERIFY(rig.window.isEnabled());
    }

    void aSetupRegistersTheTrackerAndRefreshesEveryList() {
        test::WindowRig rig({Registered});
        {
            Database db(rig.path);
            GpslogStore(db).append(test::reportAt(Registered.imei, "12:00:00"));
        }
        MainWindow& window = rig.window;
        ReportTableModel* result = window.searchPage()->resultList()->reportModel();
        test::setSearchRange(*window.searchPage(), test::onReportDay(0, 0, 0),
                             test::onReportDay(23, 59, 59));
        window.searchPage()->inquireButton()->click();
        QCOMPARE(result->rowCount(), 1);
        fillAndSubmit(connectFreshTracker(window)->setupFileDialog(), QStringLiteral("Truck"),
                      QStringLiteral("0912345678"));
        QTRY_VERIFY(window.isEnabled());

        QCOMPARE(rig.services.alerts.texts(),
                 QStringList({"Your setup file is ERROR.", "KV820 Setup is successful."}));
        QCOMPARE(window.searchPage()->userCombo()->itemText(1), QStringLiteral("Truck"));
        QCOMPARE(window.searchPage()->userCombo()->currentIndex(), 0);
        auto* smsUsers = window.findChild<QComboBox*>(QStringLiteral("smsUserNameCombo"));
        QCOMPARE(smsUsers->itemText(1), QStringLiteral("Truck"));
        QCOMPARE(result->rowCount(), 0);
        QVERIFY(!window.recordSearch()->shownRange());  // nothing shown, nothing exported
    }

    // The tracker's row was deleted (outside this program) while its Setup File was open:
    // it is not quietly added back as a new user, and the setup itself still succeeds.
    void aRegisteredTrackerWhoseRowVanishedIsAnAddUserError() {
        test::WindowRig rig({{"Truck", "0912345678", test::TrackerImei}});
        SetupFileDialog* dialog = connectFreshTracker(rig.window)->setupFileDialog();
        Database(rig.path).execute("DELETE FROM users");
        fillAndSubmit(dialog, QStringLiteral("Truck"), QStringLiteral("0912345678"));
        QTRY_VERIFY(rig.window.isEnabled());
        QCOMPARE(rig.services.alerts.texts(),
                 QStringList({"Your setup file is ERROR.", "Add user error.",
                              "KV820 Setup is successful."}));
        QCOMPARE(rig.services.alerts.messages()[1].owner, dialog);
        QCOMPARE(UserStore(*rig.context.usersConnection()).readUsers(10).size(), std::size_t{0});
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SetupLauncherTest)
#include "setup_launcher_test.moc"

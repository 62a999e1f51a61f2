#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/ports/scan_com_port_dialog.h"
#include "app/setup/scripted_setup_devices.h"
#include "app/setup/setup_session.h"
#include "app/setup/setup_wizard.h"
#include "app/setup/sim_pin_dialog.h"
#include "support/scripted_tracker.h"
#include "support/qt/alert_recorder.h"

Q_DECLARE_METATYPE(kv820::SetupForm)

namespace kv820 {

namespace {

const QString TrackerPort = QStringLiteral("/dev/ttyTRACKER");

// A complete setup file: period reports every 60 s, time zone off, fixing time 7.
const std::vector<std::string> StoredSetupFile{"0,7,,,,,,,Old name,-0.00,1,60,0,4,1234,",
                                               "0911111111,,,,0922222222,,,", "5000,,,,,,", ","};

UserRegistry::Snapshot OneRegisteredTracker() {
    UserRegistry::Snapshot users;
    users.users[0] = {"Truck 7", "0912000007", test::TrackerImei};
    users.userCount = 1;
    return users;
}

UserRegistry::Snapshot FiveOtherTrackers() {
    UserRegistry::Snapshot users;
    for (std::size_t i = 0; i < UserRegistry::MaxUsers; ++i) {
        users.users[i] = {"User " + std::to_string(i), "09" + std::to_string(i),
                          "35000000000000" + std::to_string(i)};
    }
    users.userCount = static_cast<int>(UserRegistry::MaxUsers);
    return users;
}

}  // namespace

class SetupWizardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ScriptedSetupDevices> scripted_;
    SetupSession session_;

    void install(const test::ScriptedTracker& tracker) { tracker.Install(scripted_->link); }

    static QPushButton* setupButton(SetupWizard& wizard) {
        return wizard.findChild<QPushButton*>(QStringLiteral("setupButton"));
    }

    // Presses Setup and waits until the connect has ended.
    static void pressSetup(SetupWizard& wizard) {
        QTest::mouseClick(setupButton(wizard), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.isConnecting(), 20000);
    }

  private slots:
    void initTestCase() { qRegisterMetaType<SetupForm>(); }

    void init() {
        qputenv("KV820_EXTRA_PORTS", TrackerPort.toUtf8());
        scripted_ = std::make_unique<test::ScriptedSetupDevices>();
        session_ = SetupSession{};
        session_.devices = scripted_->devices();
    }

    void aRefusalLeavesTheWizardOpenAndIdle_data() {
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("message");
        QTest::newRow("sixth tracker") << "users"
                                       << "Five users login already, please delete one.";
        QTest::newRow("no SIM") << "no sim"
                                << "Please check the SIM card.";
        QTest::newRow("not a module") << "ati"
                                      << "COM Port is ERROR.";
    }

    void aRefusalLeavesTheWizardOpenAndIdle() {
        QFETCH(QString, refusal);
        QFETCH(QString, message);
        test::ScriptedTracker tracker;
        tracker.listings = {test::ListingReply({})};
        if (refusal == "users") {
            session_.registeredUsers = FiveOtherTrackers;
        } else if (refusal == "no sim") {
            tracker.pinStateReply = "at+cpin?\r\r\n+CME ERROR: 10\r\n";
        } else {
            tracker.atiReply = test::Echoed("ati", "WAVECOM");
        }
        install(tracker);
        SetupWizard wizard(session_);
        wizard.show();
        test::AlertRecorder recorder;
        pressSetup(wizard);
        QCOMPARE(recorder.texts(), QStringList({message}));
        QCOMPARE(recorder.messages()[0].caption, QStringLiteral("ERROR"));
        QVERIFY(wizard.isVisible());
        QVERIFY(setupButton(wizard)->isEnabled());
        QVERIFY(wizard.statusLine()->text().isEmpty());
        QVERIFY(!scripted_->link.isOpen());
    }

    void aCompleteFileIsHandedOverWithTheRegisteredIdentity() {
        test::ScriptedTracker tracker;
        tracker.HoldSetupFile(StoredSetupFile, {3, 4, 5, 6});
        install(tracker);
        session_.registeredUsers = OneRegisteredTracker;
        SetupWizard wizard(session_);
        wizard.show();
        QSignalSpy handedOver(&wizard, &SetupWizard::setupFileReady);
        test::AlertRecorder recorder;
        pressSetup(wizard);
        QVERIFY(recorder.messages().empty());
        QCOMPARE(handedOver.size(), 1);
        const auto form = handedOver[0][0].value<SetupForm>();
        QCOMPARE(form.moduleImei, test::TrackerImei);
        QCOMPARE(form.firmwareVersion, std::string("V1.01(B05)"));
        QCOMPARE(form.phoneNumber, std::string("0912000007"));
        QCOMPARE(form.file.userName, std::string("Truck 7"));
        QCOMPARE(form.file.maxGpsFixingTime, 7);
        QVERIFY(!wizard.isVisible());
        QCOMPARE(wizard.result(), int(QDialog::Accepted));
        QVERIFY(session_.context.loadedFromDevice);
        QVERIFY(session_.context.trackerRegistered);
        QCOMPARE(session_.context.storedIndex[3], std::optional<int>(6));
        QCOMPARE(session_.context.portEntry, (TrackerPort + ":").toStdString());
    }

    void aFreshTrackerGetsTheDefaultsAfterTheMessage() {
        test::ScriptedTracker tracker;
        tracker.listings = {test::ListingReply({})};
        install(tracker);
        SetupWizard wizard(session_);
        wizard.show();
        QSignalSpy handedOver(&wizard, &SetupWizard::setupFileReady);
        test::AlertRecorder recorder;
        pressSetup(wizard);
        QCOMPARE(recorder.texts(), QStringList({"Your setup file is ERROR."}));
        QCOMPARE(recorder.messages()[0].owner, &wizard);
        QCOMPARE(handedOver.size(), 1);
        const auto form = handedOver[0][0].value<SetupForm>();
        QCOMPARE(form.file, SetupFile{});
        QCOMPARE(form.firmwareVersion, std::string("0001"));
        QVERIFY(form.phoneNumber.empty());
        QVERIFY(!wizard.isVisible());
        QVERIFY(!session_.context.loadedFromDevice);
    }

    void whileConnectingTheWizardTakesNoInput() {
        test::ScriptedTracker tracker;
        tracker.listings = {test::ListingReply({})};
        install(tracker);
        SetupWizard wizard(session_);
        wizard.show();
        test::AlertRecorder recorder;
        QTest::mouseClick(setupButton(wizard), Qt::LeftButton);
        QVERIFY(wizard.isConnecting());
        QVERIFY(!setupButton(wizard)->isEnabled());
        QVERIFY(!wizard.portCombo()->isEnabled());
        QVERIFY(!wizard.scanButton()->isEnabled());
        wizard.close();
        QVERIFY(wizard.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.isConnecting(), 20000);
    }

    void scanComPortScansTheWizardsOwnList() {
        SetupWizard wizard(session_);
        wizard.show();
        ScanComPortDialog* scan = nullptr;
        QTimer::singleShot(0, &wizard, [&] {
            scan = wizard.findChild<ScanComPortDialog*>();
            if (scan) {
                scan->done(0);
            }
        });
        QTest::mouseClick(wizard.scanButton(), Qt::LeftButton);
        QVERIFY(scan);
        QVERIFY(wizard.isVisible());
        QCOMPARE(wizard.portCombo()->currentText(), TrackerPort + ":");
    }

    void aSimAskingForItsPinOpensThePinDialogAndARightPinConnectsAgain() {
        scripted_->link.replyTo("at+cpin?\r", test::Echoed("at+cpin?", "+CPIN: SIM PIN"), 1);
        scripted_->link.replyTo("at+cpin=2468\r", test::Echoed("at+cpin=2468"));
        scripted_->link.replyTo("at^spic\r\n", test::Echoed("at^spic", "^SPIC: 3"));
        test::ScriptedTracker tracker;
        tracker.HoldSetupFile(StoredSetupFile, {1, 2, 3, 4});
        tracker.listings.push_back(tracker.listings.front());
        install(tracker);
        SetupWizard wizard(session_);
        wizard.show();
        QSignalSpy handedOver(&wizard, &SetupWizard::setupFileReady);
        test::AlertRecorder recorder;
        pressSetup(wizard);
        QVERIFY(recorder.messages().empty());
        auto* pinDialog = wizard.findChild<SimPinDialog*>();
        QVERIFY(pinDialog);
        QTRY_VERIFY(pinDialog->isVisible());
        QCOMPARE(pinDialog->windowModality(), Qt::WindowModal);
        QVERIFY(wizard.isVisible());

        pinDialog->pinEdit()->setText(QStringLiteral("2468"));
        QTest::mouseClick(pinDialog->okButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(handedOver.size(), 1, 20000);
        QCOMPARE(recorder.texts(), QStringList({"Your SIM PIN is correct. Continue set up."}));
        QCOMPARE(recorder.messages()[0].caption, QStringLiteral("KV820 Setup"));
        QCOMPARE(session_.context.simPin, std::string("2468"));
        QVERIFY(!wizard.isVisible());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SetupWizardTest)
#include "setup_wizard_test.moc"

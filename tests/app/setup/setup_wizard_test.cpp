#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/ports/scan_com_port_dialog.h"
#include "app/setup/setup_session.h"
#include "app/setup/setup_wizard.h"
#include "support/qt/recording_services.h"
#include "support/qt/scripted_port_devices.h"
#include "support/scripted_tracker.h"

namespace kv820 {

namespace {

const QString TrackerPort = QStringLiteral("/dev/ttyTRACKER");

UserRegistry::Snapshot fiveOtherTrackers() {
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

    std::unique_ptr<test::ScriptedPortDevices> scripted_;
    SetupSession session_;

    static QPushButton* setupButton(SetupWizard& wizard) {
        return wizard.findChild<QPushButton*>(QStringLiteral("setupButton"));
    }

  private slots:
    void init() {
        qputenv("KV820_EXTRA_PORTS", TrackerPort.toUtf8());
        scripted_ = std::make_unique<test::ScriptedPortDevices>();
        session_ = SetupSession{};
        session_.devices = scripted_->devices();
    }

    // While connecting the wizard takes no input; a refusal leaves it open and idle.
    void aRefusalLeavesTheWizardOpenAndIdle() {
        test::ScriptedTracker tracker;
        tracker.listings = {test::listingReply({})};
        session_.registeredUsers = fiveOtherTrackers;
        tracker.install(scripted_->link);
        test::RecordingServices services;
        session_.services = services.app();
        test::AlertRecorder& recorder = services.alerts;
        SetupWizard wizard(session_);
        wizard.show();
        QTest::mouseClick(setupButton(wizard), Qt::LeftButton);
        QVERIFY(wizard.isConnecting());
        QVERIFY(!setupButton(wizard)->isEnabled());
        QVERIFY(!wizard.portCombo()->isEnabled());
        QVERIFY(!wizard.scanButton()->isEnabled());
        wizard.close();
        QVERIFY(wizard.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.isConnecting(), 20000);
        QCOMPARE(recorder.texts(), QStringList({"Five users login already, please delete one."}));
        QVERIFY(wizard.isVisible());
        QVERIFY(setupButton(wizard)->isEnabled());
        QVERIFY(wizard.statusLine()->text().isEmpty());
        QVERIFY(!scripted_->link.isOpen());
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
};

}  // namespace kv820

QTEST_MAIN(kv820::SetupWizardTest)
#include "setup_wizard_test.moc"

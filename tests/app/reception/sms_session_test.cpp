#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

#include "app/commands/sms_command_page.h"
#include "app/reception/sms_session.h"
#include "support/qt/records_database.h"
#include "support/qt/simulated_modem_devices.h"

namespace kv820 {

namespace {

// A bound for what takes milliseconds: the session runs on a virtual clock.
constexpr int SessionTimeoutMs = 10000;

// A main window whose "COM Port :" list holds a simulated modem in this process.
struct SessionRig {
    explicit SessionRig(const char* portEntry = test::SimulatedModemDevices::PortEntry)
        : modem(std::make_unique<test::SimulatedModemDevices>()) {
        QComboBox* ports = page()->comPortCombo();
        ports->clear();
        ports->addItem(QString::fromLatin1(portEntry));
        session()->setDevices(modem->devices());
        app.window.showPage(page());
    }

    SmsSession* session() { return app.window.smsSession(); }
    SmsCommandPage* page() { return app.window.commandPage(); }
    QPushButton* startButton() { return page()->startButton(); }

    std::unique_ptr<test::SimulatedModemDevices> modem;  // outlives the window and its worker
    test::WindowRig app;
};

}  // namespace

class SmsSessionTest : public QObject {
    Q_OBJECT

  private:
    // Every control the session state table names, checked against one state. The scan
    // waits until no worker holds the port any more.
    void verifyControls(SessionRig& rig, bool open, bool portHeld = false) {
        QCOMPARE(rig.startButton()->text(),
                 open ? QStringLiteral("Close SMS") : QStringLiteral("Start SMS"));
        QVERIFY(rig.startButton()->isEnabled());
        QCOMPARE(rig.page()->scanButton()->isEnabled(), !open && !portHeld);
        QCOMPARE(rig.page()->comPortCombo()->isEnabled(), !open);
        QCOMPARE(rig.page()->userCombo()->isEnabled(), open);
        for (QAction* action : {rig.app.window.setupAction(), rig.app.window.userEditAction(),
                                rig.app.window.firmwareAction()}) {
            QCOMPARE(action->isEnabled(), !open);
        }
        QCOMPARE(rig.session()->sessionActive(), open);
    }

    void openSession(SessionRig& rig) {
        QTest::mouseClick(rig.startButton(), Qt::LeftButton);
        waitUntilOpen(rig);
    }
    void waitUntilOpen(SessionRig& rig) {
        QTRY_COMPARE_WITH_TIMEOUT(rig.session()->state(), SmsSession::State::Open,
                                  SessionTimeoutMs);
    }

  private slots:
    void theControlsSwitchOnlyOnceTheModemStartHasFinished() {
        SessionRig rig;
        verifyControls(rig, false);
        QSignalSpy activeChanges(rig.session(), &CommandChannel::sessionActiveChanged);

        QTest::mouseClick(rig.startButton(), Qt::LeftButton);
        QCOMPARE(rig.session()->state(), SmsSession::State::Starting);
        verifyControls(rig, false, true);  // nothing changes but the scan while the modem starts
        // The window takes no input meanwhile: a second press starts nothing.
        QTest::mouseClick(rig.startButton(), Qt::LeftButton);
        rig.session()->toggle();
        waitUntilOpen(rig);

        verifyControls(rig, true);
        QCOMPARE(rig.modem->portOpenCount(), 1);
        QCOMPARE(activeChanges.size(), 1);
    }

    void aFailedStartLeavesEverythingIdleWithTheErrorInTheLog() {
        SessionRig rig("/dev/kv820-none:");
        rig.page()->modemLog()->setPlainText(QStringLiteral("from before"));
        QSignalSpy finished(rig.session(), &SmsSession::workerFinished);
        QTest::mouseClick(rig.startButton(), Qt::LeftButton);
        QVERIFY(finished.wait(SessionTimeoutMs));
        QCOMPARE(rig.session()->state(), SmsSession::State::Idle);
        QCOMPARE(rig.page()->modemLog()->toPlainText(), QStringLiteral("COM Port ERROR!!!"));
        verifyControls(rig, false);
        QVERIFY(rig.app.services.alerts.texts().isEmpty());
    }

    void aNewStartWaitsForTheClosedSessionsWorker() {
        SessionRig rig;
        openSession(rig);
        QTest::mouseClick(rig.startButton(), Qt::LeftButton);  // close: idle at once
        verifyControls(rig, false, true);
        QTest::mouseClick(rig.startButton(), Qt::LeftButton);  // and start again at once
        QCOMPARE(rig.session()->state(), SmsSession::State::Starting);
        waitUntilOpen(rig);
        verifyControls(rig, true);
        QCOMPARE(rig.modem->portOpenCount(), 2);
        QVERIFY(rig.modem->portOpen());
    }

    // What the status bar shows, whole, through a session's life: started, a report stored,
    // and closed.
    void theStatusBarSaysHowTheSessionStands() {
        SessionRig rig;
        auto* shown = rig.app.window.findChild<QLabel*>(QStringLiteral("sessionHealthPart"));
        const QString last =
            QStringLiteral(" \\| Last report \\d{4}/\\d\\d/\\d\\d-\\d\\d:\\d\\d:\\d\\d$");
        const QString receiving = QStringLiteral("^Receiving \\| Signal 4/4 -73 dBm \\| SIM 0/30");
        const struct {
            std::function<void()> act;
            QString pattern;
        } steps[] = {
            {[] {}, QStringLiteral("^Idle$")},
            {[&] { openSession(rig); }, receiving + QStringLiteral("$")},
            {[&] {
                 rig.modem->withModem([](sim::ModemSimulator& m) {
                     m.injectReport(
                         sim::TrackerReport::at(test::Truck.imei, 121.5, 25.05, 1336780800));
                 });
             },
             receiving + last},
            {[&] { QTest::mouseClick(rig.startButton(), Qt::LeftButton); },
             QStringLiteral("^Idle$")},
        };
        for (const auto& step : steps) {
            step.act();
            const QRegularExpression expected(step.pattern);
            QTRY_VERIFY2_WITH_TIMEOUT(expected.match(shown->text()).hasMatch(),
                                      qPrintable(shown->text()), SessionTimeoutMs);
        }
    }

    void destroyingTheWindowStopsAndJoinsTheWorker() {
        auto rig = std::make_unique<SessionRig>();
        openSession(*rig);
        const auto modem = std::move(rig->modem);
        rig.reset();
        QVERIFY(!modem->portOpen());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SmsSessionTest)
#include "sms_session_test.moc"

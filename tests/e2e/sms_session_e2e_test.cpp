#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <ctime>
#include <memory>

#include "app/common/app_context.h"
#include "app/modem/sms_command_page.h"
#include "app/modem/sms_session.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/sms_tracking_page.h"
#include "app/shell/main_window.h"
#include "e2e/e2e_database.h"
#include "sim/pty_simulator.h"
#include "support/qt/alert_recorder.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using test::GpslogColumn;
using test::RegisteredImei;
using test::RegisteredPhone;

constexpr int WaitMs = 30000;
constexpr std::time_t May2007 = 1178965230;  // 2007-05-12 10:20:30 UTC

// The main window with its real serial link on a simulated modem.
class SmsSessionEndToEnd : public ::testing::Test {
  protected:
    SmsSessionEndToEnd()
        : modem(sim::PtySimulator::modem()),
          path(CreateDatabase(dir)),
          context(path),
          window(context) {
        QComboBox* ports = window.commandPage()->comPortCombo();
        ports->clear();
        ports->addItem(QString::fromStdString(modem->devicePath() + ":"));
        window.smsSession()->setSleepScale(0.02);  // the modem's pauses, shortened
        window.show();
    }

    static std::string CreateDatabase(const test::TempDir& dir) {
        const std::string path = dir.file(DatabaseFileName);
        test::CreateDatabaseWithTruck(path);
        return path;
    }

    void openSession() {
        QTest::mouseClick(window.commandPage()->startButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return window.smsSession()->state() == SmsSession::State::Open; }, WaitMs));
        ASSERT_TRUE(modem->withModem([](sim::ModemSimulator& m) { return m.sessionOpen(); }));
    }

    std::size_t messagesInModem() {
        return modem->withModem([](sim::ModemSimulator& m) { return m.storage().size(); });
    }

    bool waitForRows(std::size_t count) {
        return QTest::qWaitFor(
            [&] { return GpslogColumn(path, "imei").size() >= count && messagesInModem() == 0; },
            WaitMs);
    }

    QString field(const char* name) {
        return window.trackingPage()->field(QString::fromLatin1(name))->text();
    }
    ReportTableModel* history() { return window.trackingPage()->reportList()->reportModel(); }

    test::TempDir dir;
    test::AlertRecorder recorder;
    std::unique_ptr<sim::PtySimulator> modem;
    std::string path;
    AppContext context;
    MainWindow window;
};

TEST_F(SmsSessionEndToEnd, ReportsAreStoredShownAndDeletedAndOtherMessagesDropped) {
    openSession();
    modem->withModem([](sim::ModemSimulator& m) {
        m.injectReport(sim::TrackerReport::at(RegisteredImei, 121.502057, 25.052057, May2007));
    });
    ASSERT_TRUE(waitForRows(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !field("userNameEdit").isEmpty(); }, WaitMs));
    EXPECT_EQ(field("userNameEdit"), QStringLiteral("truck"));
    EXPECT_EQ(field("longitudeEdit"), QStringLiteral("121.502057"));
    EXPECT_EQ(field("gpsDateTimeEdit"), QStringLiteral("2007/05/12-10:20:30"));
    EXPECT_EQ(history()->rowCount(), 1);

    // A tracker nobody registered: stored with an empty IMEI, shown without a user.
    modem->withModem([](sim::ModemSimulator& m) {
        m.injectReport(sim::TrackerReport::at("359876543210987", -74.205, -33.508333, May2007));
    });
    ASSERT_TRUE(waitForRows(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return field("userNameEdit").isEmpty(); }, WaitMs));
    EXPECT_EQ(field("moduleImeiEdit"), QString());
    EXPECT_EQ(field("longitudeEdit"), QStringLiteral("-74.205000"));

    // Not a report: deleted, nothing stored or shown.
    modem->withModem([](sim::ModemSimulator& m) { m.injectSms("+886900000000", "hello there"); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return messagesInModem() == 0; }, WaitMs));
    QTest::qWait(300);
    EXPECT_EQ(GpslogColumn(path, "imei"), (std::vector<std::string>{RegisteredImei, ""}));
    EXPECT_EQ(GpslogColumn(path, "message_status"),
              (std::vector<std::string>{"Period report", "Period report"}));
    EXPECT_EQ(field("longitudeEdit"), QStringLiteral("-74.205000"));
    EXPECT_TRUE(window.commandPage()->modemLog()->toPlainText().contains("hello there"));
    EXPECT_TRUE(recorder.texts().isEmpty()) << recorder.texts().join('|').toStdString();

    // "Close SMS": the worker ends and the port is closed.
    QSignalSpy finished(window.smsSession(), &SmsSession::workerFinished);
    QTest::mouseClick(window.commandPage()->startButton(), Qt::LeftButton);
    EXPECT_EQ(window.commandPage()->startButton()->text(), QStringLiteral("Start SMS"));
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_FALSE(window.smsSession()->workerRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !modem->portOpen(); }, 2000));
}

TEST_F(SmsSessionEndToEnd, ACommandSentWhileAReportArrivesAndBothAreHandled) {
    openSession();
    window.mainTab()->setCurrentWidget(window.commandPage());
    QSignalSpy sent(window.smsSession(), &CommandChannel::commandSent);
    auto* send = window.findChild<QPushButton*>(QStringLiteral("sendTrackingCommandButton"));
    ASSERT_TRUE(send->isEnabled());

    modem->withModem([](sim::ModemSimulator& m) {
        m.injectReport(sim::TrackerReport::at(RegisteredImei, 121.502057, 25.052057, May2007));
    });
    QTest::mouseClick(send, Qt::LeftButton);

    ASSERT_TRUE(sent.wait(WaitMs) || sent.size() == 1);
    ASSERT_TRUE(waitForRows(1));
    const auto sentSms = modem->withModem([](sim::ModemSimulator& m) { return m.sentMessages(); });
    ASSERT_EQ(sentSms.size(), 1u);
    EXPECT_EQ(sentSms[0].destination, RegisteredPhone);
    EXPECT_EQ(sentSms[0].text, std::string("?0,") + RegisteredImei + ",0!");
    EXPECT_EQ(GpslogColumn(path, "imei"), std::vector<std::string>{RegisteredImei});
    EXPECT_EQ(messagesInModem(), 0u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return send->isEnabled(); }, WaitMs));
    EXPECT_TRUE(recorder.texts().isEmpty()) << recorder.texts().join('|').toStdString();
}

}  // namespace
}  // namespace kv820

// A desk on a shared database, against the tests' own PostgreSQL server: what a receiver in
// another process stores reaches the window's panel, and a command sent without a session
// of the desk's own goes through the receivers' queue.
#include <poll.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/commands/queued_command_channel.h"
#include "app/commands/sms_command_page.h"
#include "app/common/app_context.h"
#include "app/reception/shared_desk.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/sms_tracking_page.h"
#include "app/shell/main_window.h"
#include "core/commands/command_queue.h"
#include "core/reception/store_copy.h"
#include "core/store/database.h"
#include "core/store/gpslog_store.h"
#include "core/store/schema.h"
#include "core/store/store_channels.h"
#include "core/store/transaction.h"
#include "core/store/user_store.h"
#include "support/gpslog_rows.h"
#include "support/postgres_server.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"
#include "support/virtual_clock.h"

namespace kv820 {

class SharedDeskTest : public QObject {
    Q_OBJECT

  private:
    // A desk window on a database of its own on the server, with one registered truck.
    struct Desk {
        Desk() : location(test::PostgresServer::shared().createDatabase()) {
            createDatabase(location);
            Database setup(location);
            ensureEveryTable(setup);
            setup.execute("INSERT INTO users (name, phone, imei) VALUES ('" + test::Truck.name +
                          "', '" + test::Truck.phone + "', '" + test::Truck.imei + "')");
            context = std::make_unique<AppContext>(location, services.app());
            window = std::make_unique<MainWindow>(*context);
            window->show();
            window->showPage(window->commandPage());
        }
        QString panel(const char* field) const {
            return window->findChild<QLineEdit*>(QString::fromLatin1(field))->text();
        }
        QPushButton* send() const {
            return window->findChild<QPushButton*>(QStringLiteral("sendTrackingCommandButton"));
        }
        QString log() const { return window->commandPage()->modemLog()->toPlainText(); }

        std::string location;
        test::RecordingServices services;
        std::unique_ptr<AppContext> context;
        std::unique_ptr<MainWindow> window;
    };

    // As a receiver in another program stores a report of the truck.
    static void storeReport(const std::string& location, const std::string& time) {
        Database receiver(location);
        Transaction transaction(receiver);
        GpslogStore(receiver).append(test::reportRow(test::Truck.imei, "2026/12/08", time));
        receiver.notify(StoredChannel);
        transaction.commit();
    }

    // Looks each time the desk's socket has something, until the users' notification came:
    // the server sends it a moment after the commit.
    static bool waitForNotification(SharedDesk& shared) {
        bool usersNotified = false;
        QObject::connect(&shared, &SharedDesk::usersChanged, [&] { usersNotified = true; });
        for (int attempt = 0; attempt < 50 && !usersNotified; ++attempt) {
            pollfd socket{shared.connection()->notificationSocket(), POLLIN, 0};
            ::poll(&socket, 1, 100);
            shared.look();
        }
        return usersNotified;
    }

  private slots:
    void aReportAReceiverStoredReachesThePanelAndTheHistory() {
        Desk desk;
        QVERIFY(desk.window->sharedDesk() != nullptr);
        storeReport(desk.location, "10:00:00");
        desk.window->sharedDesk()->look();
        QCOMPARE(desk.panel("userNameEdit"), QString::fromStdString(test::Truck.name));
        QCOMPARE(desk.panel("receiveDateTimeEdit"), QStringLiteral("2026/12/08-10:00:00"));
        QCOMPARE(desk.panel("phoneNumberEdit"), QString::fromStdString(test::Truck.phone));
        QCOMPARE(desk.window->trackingPage()->reportList()->reportModel()->rowCount(), 1);
    }

    // A tracker another desk registered is in this desk's lists after its next look.
    void aUserAnotherDeskRegisteredIsListed() {
        Desk desk;
        QCOMPARE(desk.window->commandPage()->userCombo()->count(), 1);
        Database otherDesk(desk.location);
        UserStore(otherDesk).addOrUpdate({"van", "0987654321", "354612079999999"});
        QVERIFY(waitForNotification(*desk.window->sharedDesk()));
        QCOMPARE(desk.window->commandPage()->userCombo()->count(), 2);
        QCOMPARE(desk.window->commandPage()->userCombo()->itemText(1), QStringLiteral("van"));
    }

    // The server ended every connection (a restart): the desk connects anew after its pause,
    // and with it the window's own connections, so the history is read again.
    void afterTheServerCameBackTheDeskAndTheWindowReadAgain() {
        Desk desk;
        test::VirtualClock clock;
        desk.window->sharedDesk()->setClock(clock);
        test::PostgresServer::shared().dropConnections(desk.location);
        desk.window->sharedDesk()->look();
        QVERIFY(desk.window->sharedDesk()->connection() == nullptr);
        storeReport(desk.location, "10:00:00");
        clock.advance(SharedDesk::LookInterval);
        desk.window->sharedDesk()->look();
        QVERIFY(desk.window->sharedDesk()->connection() != nullptr);
        QCOMPARE(desk.panel("receiveDateTimeEdit"), QStringLiteral("2026/12/08-10:00:00"));
        QCOMPARE(desk.window->trackingPage()->reportList()->reportModel()->rowCount(), 1);
        QVERIFY(desk.services.alerts.texts().isEmpty());
    }

    // Queued, claimed and sent by a receiver: the desk shows the send's log and can send
    // again. Not claimed within a minute: taken back and said not sent.
    void aCommandGoesThroughTheQueueOrIsTakenBackWhenNoReceiverTakesIt() {
        Desk desk;
        test::VirtualClock clock;
        auto* channel = desk.window->findChild<QueuedCommandChannel*>();
        QVERIFY(channel != nullptr);
        channel->setClock(clock);
        QVERIFY(desk.window->commandPage()->userCombo()->isEnabled());
        QVERIFY(desk.send()->isEnabled());

        QTest::mouseClick(desk.send(), Qt::LeftButton);
        QVERIFY(desk.services.alerts.texts().isEmpty());
        QVERIFY(!desk.send()->isEnabled());
        Database receiver(desk.location);
        const auto claimed = CommandQueue(receiver).claim("ttyUSB0:");
        QVERIFY(claimed.has_value());
        QCOMPARE(claimed->phone, test::Truck.phone);
        CommandQueue(receiver).finish(claimed->id, true, "at+cmgs=\"0912345678\"\r\n");
        desk.window->sharedDesk()->look();
        QVERIFY(desk.log().contains(QStringLiteral("at+cmgs=\"0912345678\"")));
        QVERIFY(desk.send()->isEnabled());

        QTest::mouseClick(desk.send(), Qt::LeftButton);
        clock.advance(QueuedCommandChannel::ClaimWait - std::chrono::milliseconds(1));
        desk.window->sharedDesk()->look();
        QVERIFY(!desk.send()->isEnabled());
        clock.advance(std::chrono::milliseconds(1));
        desk.window->sharedDesk()->look();
        QVERIFY(desk.log().contains(
            QString::fromLatin1(QueuedCommandChannel::NoReceiverText).trimmed()));
        QVERIFY(desk.send()->isEnabled());
        QVERIFY(!CommandQueue(receiver).claim("ttyUSB0:").has_value());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SharedDeskTest)
#include "shared_desk_test.moc"

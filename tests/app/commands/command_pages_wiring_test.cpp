#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/commands/fake_command_channel.h"
#include "app/commands/sms_command_page.h"
#include "core/store/database.h"
#include "support/qt/records_database.h"

namespace kv820 {

// The command pages as the main window builds them: the SMS Command page's user list and
// the program's registry, and one session shared by both pages.
class CommandPagesWiringTest : public QObject {
    Q_OBJECT

  private:
    QPushButton* trackingSend(MainWindow& window) {
        return window.findChild<QPushButton*>(QStringLiteral("sendTrackingCommandButton"));
    }
    QPushButton* configSend(MainWindow& window) {
        return window.findChild<QPushButton*>(QStringLiteral("sendConfigurationCommandButton"));
    }

    // The main window over the test database, its command pages on a fake open session.
    struct Rig : test::WindowRig {
        Rig() {
            window.commandPage()->setCommandChannel(&channel);
            window.showPage(window.commandPage());
        }
        test::FakeCommandChannel channel;
    };

  private slots:
    // Sent to a user registered while the program runs: the pages read the reloaded registry.
    void aCommandGoesToTheRegisteredUserAndHoldsBothPagesUntilSent() {
        Rig rig;
        MainWindow& window = rig.window;
        QVERIFY(!trackingSend(window)->isEnabled());
        QVERIFY(!configSend(window)->isEnabled());
        Database(rig.path).execute(
            "INSERT INTO users VALUES ('van', '0987654321', '354612079999999')");
        rig.context.reloadUsers(&window);
        window.commandPage()->userCombo()->setCurrentIndex(1);
        rig.channel.setActive(true);
        QTest::mouseClick(trackingSend(window), Qt::LeftButton);
        QVERIFY(rig.services.alerts.texts().isEmpty());
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QCOMPARE(rig.channel.sent[0].first, QStringLiteral("0987654321"));
        // Neither a key nor the other page starts a second send meanwhile: one modem.
        QTest::keyClick(window.findChild<QLineEdit*>(QStringLiteral("returnPhoneEdit")),
                        Qt::Key_Return);
        QVERIFY(!configSend(window)->isEnabled());
        window.commandPage()->commandTab()->setCurrentIndex(1);
        QTest::mouseClick(configSend(window), Qt::LeftButton);
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});

        emit rig.channel.commandSent();
        QTest::mouseClick(configSend(window), Qt::LeftButton);
        QCOMPARE(rig.channel.sent.size(), std::size_t{2});
        QCOMPARE(rig.channel.sent[1].second, QStringLiteral("?7,354612079999999,1,0,!"));
        // A send that ends after the session leaves the buttons for the next session.
        rig.channel.setActive(false);
        emit rig.channel.commandSent();
        QVERIFY(!trackingSend(window)->isEnabled());
        QVERIFY(!configSend(window)->isEnabled());
        rig.channel.setActive(true);
        QVERIFY(configSend(window)->isEnabled());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::CommandPagesWiringTest)
#include "command_pages_wiring_test.moc"

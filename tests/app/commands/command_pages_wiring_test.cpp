#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/commands/command_page_checks.h"
#include "app/commands/config_command_page.h"
#include "app/commands/fake_command_channel.h"
#include "app/commands/tracking_command_page.h"
#include "app/modem/sms_command_page.h"
#include "core/store/database.h"
#include "core/store/user_store.h"
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

  private slots:
    void bothSendButtonsFollowTheSessionGivenToTheSmsCommandPage() {
        test::WindowRig rig;
        MainWindow& window = rig.window;
        test::FakeCommandChannel channel;
        window.commandPage()->setCommandChannel(&channel);
        QVERIFY(!trackingSend(window)->isEnabled());
        QVERIFY(!configSend(window)->isEnabled());
        channel.setActive(true);
        QVERIFY(trackingSend(window)->isEnabled());
        QVERIFY(configSend(window)->isEnabled());
        channel.setActive(false);
        QVERIFY(!trackingSend(window)->isEnabled());
        QVERIFY(!configSend(window)->isEnabled());
    }

    void aCommandGoesToTheRegisteredUserAndHoldsBothPagesUntilSent() {
        test::WindowRig rig;
        auto [recorder, window] = std::tie(rig.recorder, rig.window);
        test::FakeCommandChannel channel;
        window.commandPage()->setCommandChannel(&channel);
        channel.setActive(true);
        window.mainTab()->setCurrentWidget(window.commandPage());

        QTest::mouseClick(trackingSend(window), Qt::LeftButton);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(channel.sent.size(), std::size_t{1});
        QCOMPARE(channel.sent[0].first, QStringLiteral("0912345678"));
        QCOMPARE(channel.sent[0].second, QStringLiteral("?0,354612071234567,0!"));
        // One modem: the other page cannot start a send meanwhile.
        QVERIFY(!trackingSend(window)->isEnabled());
        QVERIFY(!configSend(window)->isEnabled());
        window.commandPage()->commandTab()->setCurrentIndex(1);
        QTest::mouseClick(configSend(window), Qt::LeftButton);
        QCOMPARE(channel.sent.size(), std::size_t{1});

        emit channel.commandSent();
        QVERIFY(trackingSend(window)->isEnabled());
        QVERIFY(configSend(window)->isEnabled());
        QTest::mouseClick(configSend(window), Qt::LeftButton);
        QCOMPARE(channel.sent.size(), std::size_t{2});
        QCOMPARE(channel.sent[1].second, QStringLiteral("?7,354612071234567,1,0,!"));
    }

    void rangeRefusalsBelongToTheMainWindowAndTheRestToThePage() {
        test::WindowRig rig;
        auto [recorder, window] = std::tie(rig.recorder, rig.window);
        test::FakeCommandChannel channel;
        window.commandPage()->setCommandChannel(&channel);
        channel.setActive(true);
        window.mainTab()->setCurrentWidget(window.commandPage());
        window.commandPage()->commandTab()->setCurrentIndex(1);
        ConfigCommandPage* page = window.commandPage()->configPage();
        test::Choose(page->findChild<QComboBox*>(QStringLiteral("parameterCombo")), 2);
        test::Choose(page->findChild<QComboBox*>(QStringLiteral("defaultReportModeCombo")), 1);
        auto* interval = page->findChild<QLineEdit*>(QStringLiteral("reportIntervalEdit"));
        QTest::mouseClick(configSend(window), Qt::LeftButton);
        QTest::keyClicks(interval, QStringLiteral("4"));
        QTest::mouseClick(configSend(window), Qt::LeftButton);
        QCOMPARE(recorder.texts(), QStringList({"Return Interval must have a value.",
                                                "Return Interval input is 5 ~ 86400"}));
        QCOMPARE(recorder.messages()[0].owner, page);
        QCOMPARE(recorder.messages()[1].owner, &window);
        QVERIFY(channel.sent.empty());
    }

    void aUserRegisteredWhileTheProgramRunsCanBeSentTo() {
        test::WindowRig rig;
        auto [recorder, window, path, context] =
            std::tie(rig.recorder, rig.window, rig.path, rig.context);
        test::FakeCommandChannel channel;
        window.commandPage()->setCommandChannel(&channel);
        channel.setActive(true);
        {
            Database db(path);
            UserStore(db).addOrUpdate({"van", "0987654321", "354612079999999"});
        }
        context.reloadUsers(&window);
        QComboBox* users = window.commandPage()->userCombo();
        QCOMPARE(users->count(), 2);
        users->setCurrentIndex(1);
        window.mainTab()->setCurrentWidget(window.commandPage());
        QTest::mouseClick(trackingSend(window), Qt::LeftButton);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(channel.sent.size(), std::size_t{1});
        QCOMPARE(channel.sent[0].first, QStringLiteral("0987654321"));
        QCOMPARE(channel.sent[0].second, QStringLiteral("?0,354612079999999,0!"));
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::CommandPagesWiringTest)
#include "command_pages_wiring_test.moc"

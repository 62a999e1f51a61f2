// A fleet larger than five: the slots chosen in "Trackers (user slots)" hold twenty
// trackers, every list shows them and a command goes to the twentieth; fewer slots than
// trackers are refused.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/commands/fake_command_channel.h"
#include "app/commands/sms_command_page.h"
#include "app/users/user_information_dialog.h"
#include "app/users/user_slots_dialog.h"
#include "core/store/database.h"
#include "core/store/user_store.h"
#include "support/qt/records_database.h"

namespace kv820 {

class UserSlotsTest : public QObject {
    Q_OBJECT

  private:
    // Types `count` in the dialog the menu opens and presses Enter; returns whether it
    // closed.
    bool chooseSlots(test::WindowRig& rig, const char* count) {
        bool closed = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<UserSlotsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* box = dialog->findChild<QSpinBox*>(QStringLiteral("userSlotsSpinBox"));
            box->selectAll();
            QTest::keyClicks(box, count);
            QTest::keyClick(box, Qt::Key_Return);
            closed = !dialog->isVisible();
            dialog->reject();
        });
        rig.window.findChild<QAction*>(QStringLiteral("actionUserSlots"))->trigger();
        return closed;
    }

  private slots:
    void twentySlotsHoldTwentyTrackersListedAndCommanded() {
        test::WindowRig rig;
        {
            Database db(rig.path);
            for (int n = 2; n <= 20; ++n) {
                UserStore(db).addOrUpdate({"car" + std::to_string(n), "0900" + std::to_string(n),
                                           "35461207" + std::to_string(1000000 + n)});
            }
        }
        rig.context.reloadUsers(&rig.window);
        QComboBox* users = rig.window.commandPage()->userCombo();
        QCOMPARE(users->count(), 5);  // the default: five slots, as ever

        QVERIFY(chooseSlots(rig, "20"));
        QCOMPARE(users->count(), 20);
        UserInformationDialog information(rig.context, &rig.window);
        QCOMPARE(information.findChild<QTreeWidget*>()->topLevelItemCount(), 20);

        test::FakeCommandChannel channel;
        rig.window.commandPage()->setCommandChannel(&channel);
        channel.setActive(true);
        users->setCurrentIndex(19);
        QTest::mouseClick(
            rig.window.findChild<QPushButton*>(QStringLiteral("sendTrackingCommandButton")),
            Qt::LeftButton);
        QCOMPARE(channel.sent.size(), std::size_t{1});
        QCOMPARE(channel.sent[0].first, QStringLiteral("090020"));

        QVERIFY(!chooseSlots(rig, "10"));
        QCOMPARE(rig.services.alerts.texts(),
                 QStringList{"20 trackers are registered: delete some in User Edit before "
                             "choosing fewer slots."});
        QCOMPARE(users->count(), 20);
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::UserSlotsTest)
#include "user_slots_test.moc"

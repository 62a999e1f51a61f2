#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/commands/command_page_checks.h"
#include "app/commands/command_page_rig.h"
#include "app/commands/tracking_command_page.h"
#include "support/qt/alert_recorder.h"

namespace kv820 {

namespace {

using Rig = test::CommandPageRig<TrackingCommandPage>;

constexpr int PeriodReport = 1, Geofence = 3;

}  // namespace

// The page's own part: each control reaches its field of the command, the shape pair, and
// where its refusals go. The rules and the command texts themselves are the core's.
class TrackingCommandPageTest : public QObject {
    Q_OBJECT

  private:
    void press(Rig& rig) {
        QTest::mouseClick(rig.child<QPushButton>("sendTrackingCommandButton"), Qt::LeftButton);
    }

  private slots:
    void eachControlReachesItsField_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("text");
        QTest::newRow("immediate, format")
            << QStringList({"reportFormatCombo=1"}) << "?0,354612071234567,1!";
        QTest::newRow("period, return number")
            << QStringList({"reportModeCombo=1", "reportIntervalEdit=60", "numberOfReportsEdit=10",
                            "returnPhoneEdit=+15550100"})
            << "?1,354612071234567,60,10,0,+15550100!";
        QTest::newRow("rectangle")
            << QStringList({"reportModeCombo=3", "longitude1Edit=121.5", "latitude1Edit=25.05",
                            "longitude2Edit=121.6", "latitude2Edit=25.1", "reportIntervalEdit=30",
                            "numberOfReportsEdit=0"})
            << "?4,354612071234567,R,25.05,121.5,25.1,121.6,In,30,0,0!";
        QTest::newRow("circle, out")
            << QStringList({"reportModeCombo=3", "circleCheck", "circleLongitudeEdit=121.5",
                            "circleLatitudeEdit=25.05", "radiusEdit=500", "inOutCombo=1",
                            "reportIntervalEdit=30", "numberOfReportsEdit=0"})
            << "?4,354612071234567,C,25.05,121.5,500,Out,30,0,0!";
        QTest::newRow("voice monitor")
            << QStringList({"reportModeCombo=4", "returnPhoneEdit=+"}) << "?6,354612071234567,+!";
        // Text left in a field that the mode disabled is not read.
        QTest::newRow("stop after period")
            << QStringList({"reportModeCombo=1", "reportIntervalEdit=abc", "reportModeCombo=2"})
            << "?2,354612071234567!";
    }

    void eachControlReachesItsField() {
        QFETCH(QStringList, steps);
        QFETCH(QString, text);
        QCOMPARE(Rig().sentAfter(steps, "sendTrackingCommandButton"), text);
    }

    void theShapeBoxesActAsAPairThatOutlivesAnotherMode() {
        Rig rig;
        auto* rectangle = rig.child<QCheckBox>("rectangleCheck");
        auto* circle = rig.child<QCheckBox>("circleCheck");
        auto* mode = rig.child<QComboBox>("reportModeCombo");
        QVERIFY(rectangle->isChecked());
        QVERIFY(!rig.child<QLineEdit>("longitude1Edit")->isEnabled());
        test::Choose(mode, Geofence);
        QVERIFY(rig.child<QLineEdit>("longitude1Edit")->isEnabled());
        QVERIFY(!rig.child<QLineEdit>("radiusEdit")->isEnabled());

        test::ClickBox(circle);
        test::ClickBox(circle);  // already checked: stays so
        QVERIFY(circle->isChecked());
        QVERIFY(!rectangle->isChecked());
        QVERIFY(rig.child<QLineEdit>("radiusEdit")->isEnabled());
        QVERIFY(!rig.child<QLineEdit>("longitude1Edit")->isEnabled());

        test::Choose(mode, PeriodReport);
        test::Choose(mode, Geofence);
        QVERIFY(circle->isChecked());
        QVERIFY(rig.child<QLineEdit>("radiusEdit")->isEnabled());

        test::ClickBox(rectangle);
        QVERIFY(rectangle->isChecked());
        QVERIFY(!circle->isChecked());
    }

    void withoutASessionNothingIsSentAndThePageSaysSo_data() {
        QTest::addColumn<bool>("refusedAsHandedOver");
        QTest::newRow("closed, not yet told") << false;
        QTest::newRow("closed as the send is handed over") << true;
    }

    void withoutASessionNothingIsSentAndThePageSaysSo() {
        QFETCH(bool, refusedAsHandedOver);
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        if (refusedAsHandedOver) {
            rig.channel.refuseSends = true;
        } else {
            rig.channel.closeWithoutNotice();
        }
        press(rig);
        QCOMPARE(recorder.texts(), QStringList({"Connection is ERROR!!!"}));
        QCOMPARE(recorder.messages()[0].owner, rig.page);
        QVERIFY(rig.channel.sent.empty());
        QVERIFY(rig.child<QPushButton>("sendTrackingCommandButton")->isEnabled());
    }

    void anUnknownUserSendsNothing() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        rig.users->clear();
        rig.users->addItems({"TRUCK"});  // the registry's name differs in case
        // The user is checked before any field: this empty interval is never reached.
        test::Choose(rig.child<QComboBox>("reportModeCombo"), PeriodReport);
        press(rig);
        QCOMPARE(recorder.texts(), QStringList({"No user is choosed."}));
        QCOMPARE(recorder.messages()[0].owner, rig.page);
        QVERIFY(rig.channel.sent.empty());
    }

    void theButtonStaysDisabledUntilTheSendIsDoneInASession() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        auto* send = rig.child<QPushButton>("sendTrackingCommandButton");
        press(rig);
        QVERIFY(!send->isEnabled());
        QTest::keyClick(rig.child<QLineEdit>("returnPhoneEdit"), Qt::Key_Return);
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        emit rig.channel.commandSent();
        QVERIFY(send->isEnabled());
        press(rig);
        QCOMPARE(rig.channel.sent.size(), std::size_t{2});
        // A send that ends after the session leaves the button for the next session.
        rig.channel.setActive(false);
        emit rig.channel.commandSent();
        QVERIFY(!send->isEnabled());
        rig.channel.setActive(true);
        QVERIFY(send->isEnabled());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::TrackingCommandPageTest)
#include "tracking_command_page_test.moc"

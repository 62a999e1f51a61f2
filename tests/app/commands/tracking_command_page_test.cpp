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

constexpr int PeriodReport = 1, StopReport = 2, Geofence = 3;

// The controls whose enabling depends on the report mode and shape, in a fixed order.
const char* const ModeDependentControls[] = {
    "reportIntervalEdit", "numberOfReportsEdit", "reportFormatCombo",   "inOutCombo",
    "rectangleCheck",     "circleCheck",         "longitude1Edit",      "latitude1Edit",
    "longitude2Edit",     "latitude2Edit",       "circleLongitudeEdit", "circleLatitudeEdit",
    "radiusEdit"};

QList<bool> EnabledStates(const Rig& rig) {
    return test::EnabledStates(rig.page, ModeDependentControls);
}

}  // namespace

class TrackingCommandPageTest : public QObject {
    Q_OBJECT

  private:
    void press(Rig& rig) {
        QTest::mouseClick(rig.child<QPushButton>("sendTrackingCommandButton"), Qt::LeftButton);
    }

  private slots:
    void theListsOfferTheirEntriesWithTheFirstSelected() {
        Rig rig;
        auto* mode = rig.child<QComboBox>("reportModeCombo");
        QCOMPARE(test::Entries(mode), QStringList({"Immediate Report", "Period Report",
                                                   "Stop Report", "Geofence", "Voice Monitor"}));
        QCOMPARE(mode->currentIndex(), 0);
        auto* format = rig.child<QComboBox>("reportFormatCombo");
        QCOMPARE(test::Entries(format), QStringList({"Format 0", "Format 1"}));
        QCOMPARE(format->currentIndex(), 0);
        auto* inOut = rig.child<QComboBox>("inOutCombo");
        QCOMPARE(test::Entries(inOut), QStringList({"In", "Out"}));
        QCOMPARE(inOut->currentIndex(), 0);
    }

    void thePageStartsInImmediateReportWithTheRectangleCheckedAndNothingToSend() {
        Rig rig;
        QCOMPARE(EnabledStates(rig), QList<bool>({false, false, true, false, false, false, false,
                                                  false, false, false, false, false, false}));
        QVERIFY(rig.child<QCheckBox>("rectangleCheck")->isChecked());
        QVERIFY(!rig.child<QCheckBox>("circleCheck")->isChecked());
        QVERIFY(rig.child<QComboBox>("reportModeCombo")->isEnabled());
        QVERIFY(rig.child<QLineEdit>("returnPhoneEdit")->isEnabled());
        QVERIFY(!rig.child<QPushButton>("sendTrackingCommandButton")->isEnabled());
    }

    void everyInputCarriesItsLabelAndLengthLimit_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("maxLength");  // 0: not an edit
        QTest::newRow("mode") << "Report Mode :"
                              << "reportModeCombo" << 0;
        QTest::newRow("interval") << "Report Interval :"
                                  << "reportIntervalEdit" << 15;
        QTest::newRow("format") << "Report Format :"
                                << "reportFormatCombo" << 0;
        QTest::newRow("count") << "Number of Reports :"
                               << "numberOfReportsEdit" << 15;
        QTest::newRow("lon1") << "Longitude 1 :"
                              << "longitude1Edit" << 15;
        QTest::newRow("lat1") << "Latitude 1 :"
                              << "latitude1Edit" << 15;
        QTest::newRow("lon2") << "Longitude 2 :"
                              << "longitude2Edit" << 15;
        QTest::newRow("lat2") << "Latitude 2 :"
                              << "latitude2Edit" << 15;
        QTest::newRow("lon") << "Longitude :"
                             << "circleLongitudeEdit" << 15;
        QTest::newRow("lat") << "Latitude :"
                             << "circleLatitudeEdit" << 15;
        QTest::newRow("radius") << "Radius :"
                                << "radiusEdit" << 15;
        QTest::newRow("in/out") << "In or Out the boundary :"
                                << "inOutCombo" << 0;
        QTest::newRow("return") << "Return Phone Number :"
                                << "returnPhoneEdit" << 63;
    }

    void everyInputCarriesItsLabelAndLengthLimit() {
        QFETCH(QString, label);
        QFETCH(QString, control);
        QFETCH(int, maxLength);
        Rig rig;
        QCOMPARE(test::BuddyOf(rig.page, label), control);
        if (maxLength > 0) {
            auto* edit = rig.child<QLineEdit>(control.toLatin1().constData());
            QCOMPARE(edit->maxLength(), maxLength);
            edit->setText(QString(maxLength + 5, QLatin1Char('1')));
            QCOMPARE(edit->text().size(), maxLength);
        }
    }

    void theShapeBoxesAndTheSendButtonHaveTheirTexts() {
        Rig rig;
        QCOMPARE(rig.child<QCheckBox>("rectangleCheck")->text(), QStringLiteral("Rectangle :"));
        QCOMPARE(rig.child<QCheckBox>("circleCheck")->text(), QStringLiteral("Circle :"));
        QCOMPARE(rig.child<QPushButton>("sendTrackingCommandButton")->text(),
                 QStringLiteral("Send Tracking Command"));
        QVERIFY(rig.child<QPushButton>("sendTrackingCommandButton")->isDefault());
    }

    void everyControlFitsTheTabPage() {
        Rig rig;
        QVERIFY(test::FitsTheTabPage(rig.page));
    }

    void eachReportModeEnablesItsFields_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<bool>>("enabled");  // in the order of ModeDependentControls
        const bool y = true, n = false;
        QTest::newRow("Immediate Report")
            << 0 << QList<bool>({n, n, y, n, n, n, n, n, n, n, n, n, n});
        QTest::newRow("Period Report") << 1 << QList<bool>({y, y, y, n, n, n, n, n, n, n, n, n, n});
        QTest::newRow("Stop Report") << 2 << QList<bool>({n, n, n, n, n, n, n, n, n, n, n, n, n});
        QTest::newRow("Geofence") << 3 << QList<bool>({y, y, y, y, y, y, y, y, y, y, n, n, n});
        QTest::newRow("Voice Monitor") << 4 << QList<bool>({n, n, n, n, n, n, n, n, n, n, n, n, n});
    }

    void eachReportModeEnablesItsFields() {
        QFETCH(int, mode);
        QFETCH(QList<bool>, enabled);
        Rig rig;
        // Pass through Geofence first so that nothing is left enabled from the start state.
        test::Choose(rig.child<QComboBox>("reportModeCombo"), Geofence);
        test::Choose(rig.child<QComboBox>("reportModeCombo"), mode);
        QCOMPARE(rig.child<QComboBox>("reportModeCombo")->currentIndex(), mode);
        QCOMPARE(EnabledStates(rig), enabled);
        QVERIFY(rig.child<QLineEdit>("returnPhoneEdit")->isEnabled());
    }

    void theShapeBoxesActAsAPairOfRadioButtons() {
        Rig rig;
        auto* rectangle = rig.child<QCheckBox>("rectangleCheck");
        auto* circle = rig.child<QCheckBox>("circleCheck");
        test::Choose(rig.child<QComboBox>("reportModeCombo"), Geofence);
        const QList<bool> rectangleFields = {true, true, true, true,  true,  true, true,
                                             true, true, true, false, false, false};
        const QList<bool> circleFields = {true,  true,  true,  true, true, true, false,
                                          false, false, false, true, true, true};

        test::ClickBox(circle);
        QVERIFY(circle->isChecked());
        QVERIFY(!rectangle->isChecked());
        QCOMPARE(EnabledStates(rig), circleFields);

        test::ClickBox(circle);  // already checked: stays so
        QVERIFY(circle->isChecked());
        QVERIFY(!rectangle->isChecked());
        QCOMPARE(EnabledStates(rig), circleFields);

        test::ClickBox(rectangle);
        QVERIFY(rectangle->isChecked());
        QVERIFY(!circle->isChecked());
        QCOMPARE(EnabledStates(rig), rectangleFields);

        test::ClickBox(rectangle);
        QVERIFY(rectangle->isChecked());
        QVERIFY(!circle->isChecked());
    }

    void theChosenShapeOutlivesAnotherMode() {
        Rig rig;
        auto* mode = rig.child<QComboBox>("reportModeCombo");
        test::Choose(mode, Geofence);
        test::ClickBox(rig.child<QCheckBox>("circleCheck"));
        test::Choose(mode, PeriodReport);
        QVERIFY(!rig.child<QLineEdit>("radiusEdit")->isEnabled());
        QVERIFY(rig.child<QCheckBox>("circleCheck")->isChecked());
        test::Choose(mode, Geofence);
        QVERIFY(rig.child<QLineEdit>("radiusEdit")->isEnabled());
        QVERIFY(!rig.child<QLineEdit>("longitude1Edit")->isEnabled());
    }

    void theSendButtonFollowsTheSession() {
        Rig rig;
        auto* send = rig.child<QPushButton>("sendTrackingCommandButton");
        QVERIFY(!send->isEnabled());
        rig.channel.setActive(true);
        QVERIFY(send->isEnabled());
        rig.channel.setActive(false);
        QVERIFY(!send->isEnabled());
    }

    void refusalsComeInOrderWithTheirOwnersAndSendNothing() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        test::Choose(rig.child<QComboBox>("reportModeCombo"), Geofence);
        rig.type("returnPhoneEdit", "0911 222");
        press(rig);
        rig.type("returnPhoneEdit", "");
        press(rig);
        rig.type("reportIntervalEdit", "6O");
        press(rig);
        rig.type("reportIntervalEdit", "86401");
        press(rig);
        rig.type("reportIntervalEdit", "86400");
        rig.type("numberOfReportsEdit", "0");
        press(rig);
        test::ClickBox(rig.child<QCheckBox>("circleCheck"));
        rig.type("circleLongitudeEdit", "121.5");
        rig.type("circleLatitudeEdit", "25.05");
        rig.type("radiusEdit", "0.9");
        press(rig);

        QCOMPARE(recorder.texts(),
                 QStringList({"Return Phone Number input is a failure.",
                              "Report Time must have a value.", "Report Time input is a failure.",
                              "Report Time input is 1 ~ 86400", "Longitude 1 must have a value.",
                              "Radius must be greater than 0"}));
        for (const auto& message : recorder.messages()) {
            QCOMPARE(message.caption, QStringLiteral("ERROR"));
            QCOMPARE(message.owner, &rig.window);
        }
        QVERIFY(rig.channel.sent.empty());
    }

    void aValidCommandGoesToTheUsersPhone_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("returnPhone");
        QTest::addColumn<QString>("text");
        QTest::newRow("immediate, format 1") << 0 << 1 << ""
                                             << "?0,354612071234567,1!";
        QTest::newRow("stop, return number") << StopReport << 0 << "+15550100"
                                             << "?2,354612071234567,+15550100!";
        QTest::newRow("voice monitor, lone plus") << 4 << 0 << "+"
                                                  << "?6,354612071234567,+!";
    }

    void aValidCommandGoesToTheUsersPhone() {
        QFETCH(int, mode);
        QFETCH(int, format);
        QFETCH(QString, returnPhone);
        QFETCH(QString, text);
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        test::Choose(rig.child<QComboBox>("reportFormatCombo"), format);
        test::Choose(rig.child<QComboBox>("reportModeCombo"), mode);
        rig.type("returnPhoneEdit", returnPhone);
        press(rig);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QCOMPARE(rig.channel.sent[0].first, QStringLiteral("0912345678"));
        QCOMPARE(rig.channel.sent[0].second, text);
    }

    void aCircleGeofenceIsSentLatitudeFirstWithTheBoundaryText() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        test::Choose(rig.child<QComboBox>("reportModeCombo"), Geofence);
        test::ClickBox(rig.child<QCheckBox>("circleCheck"));
        rig.type("circleLongitudeEdit", "121.5");
        rig.type("circleLatitudeEdit", "25.05");
        rig.type("radiusEdit", "500");
        test::Choose(rig.child<QComboBox>("inOutCombo"), 1);
        rig.type("reportIntervalEdit", "30");
        rig.type("numberOfReportsEdit", "0");
        press(rig);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QCOMPARE(rig.channel.sent[0].second,
                 QStringLiteral("?4,354612071234567,C,25.05,121.5,500,Out,30,0,0!"));
    }

    void stopReportIgnoresTextLeftInDisabledFields() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        test::Choose(rig.child<QComboBox>("reportModeCombo"), PeriodReport);
        rig.type("reportIntervalEdit", "abc");
        test::Choose(rig.child<QComboBox>("reportModeCombo"), StopReport);
        press(rig);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QCOMPARE(rig.channel.sent[0].second, QStringLiteral("?2,354612071234567!"));
        QCOMPARE(rig.child<QLineEdit>("reportIntervalEdit")->text(), QStringLiteral("abc"));
    }

    void withoutASessionNothingIsSentAndThePageSaysSo() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        // The session ended but the page was not yet told: the press still checks.
        rig.channel.closeWithoutNotice();
        rig.type("returnPhoneEdit", "0911 222");
        press(rig);
        QCOMPARE(recorder.texts(), QStringList({"Connection is ERROR!!!"}));
        QCOMPARE(recorder.messages()[0].owner, rig.page);
        QVERIFY(rig.channel.sent.empty());
    }

    void aSessionThatClosesAsTheSendIsHandedOverSendsNothing() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        rig.channel.refuseSends = true;
        press(rig);
        QCOMPARE(recorder.texts(), QStringList({"Connection is ERROR!!!"}));
        QCOMPARE(recorder.messages()[0].owner, rig.page);
        QVERIFY(rig.child<QPushButton>("sendTrackingCommandButton")->isEnabled());
    }

    void noSelectedOrUnknownUserSendsNothing_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("empty list") << QStringList();
        QTest::newRow("unregistered name") << QStringList({"ghost"});
        QTest::newRow("case differs") << QStringList({"TRUCK"});
    }

    void noSelectedOrUnknownUserSendsNothing() {
        QFETCH(QStringList, entries);
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        rig.users->clear();
        rig.users->addItems(entries);
        // The user is checked before any field: this empty interval is never reached.
        test::Choose(rig.child<QComboBox>("reportModeCombo"), PeriodReport);
        press(rig);
        QCOMPARE(recorder.texts(), QStringList({"No user is choosed."}));
        QCOMPARE(recorder.messages()[0].owner, rig.page);
        QVERIFY(rig.channel.sent.empty());
    }

    void theButtonStaysDisabledUntilTheSendIsDone() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        auto* send = rig.child<QPushButton>("sendTrackingCommandButton");
        press(rig);
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QVERIFY(!send->isEnabled());
        press(rig);
        QTest::keyClick(rig.child<QLineEdit>("returnPhoneEdit"), Qt::Key_Return);
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        emit rig.channel.commandSent();
        QVERIFY(send->isEnabled());
        press(rig);
        QCOMPARE(rig.channel.sent.size(), std::size_t{2});
    }

    void aSendThatEndsAfterTheSessionLeavesTheButtonDisabled() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        auto* send = rig.child<QPushButton>("sendTrackingCommandButton");
        press(rig);
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

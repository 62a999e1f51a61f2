#include <functional>

#include "app/commands/command_page_rig.h"
#include "app/commands/config_command_page.h"
#include "app/commands/tracking_command_page.h"

namespace kv820 {

namespace {

using TrackingRig = test::CommandPageRig<TrackingCommandPage>;
using ConfigRig = test::CommandPageRig<ConfigCommandPage>;
using BreakIt = std::function<void(TrackingRig&)>;

constexpr int PeriodReport = 1, GeofenceMode = 3;

}  // namespace

// The pages' own part: each control reaches its field of the command, the shape pair, and
// where the refusals go. The rules and the command texts themselves are the core's. The
// operator types into each field, so a row also shows that the page enabled that field.
class CommandPagesTest : public QObject {
    Q_OBJECT

  private slots:
    void eachControlReachesItsField_data() {
        QTest::addColumn<bool>("configuration");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("text");
        QTest::newRow("tracking: immediate, format")
            << false << QStringList({"reportFormatCombo=1"}) << "?0,354612071234567,1!";
        QTest::newRow("tracking: period, return number")
            << false
            << QStringList({"reportModeCombo=1", "reportIntervalEdit=60", "numberOfReportsEdit=10",
                            "returnPhoneEdit=+15550100"})
            << "?1,354612071234567,60,10,0,+15550100!";
        QTest::newRow("tracking: rectangle")
            << false
            << QStringList({"reportModeCombo=3", "longitude1Edit=121.5", "latitude1Edit=25.05",
                            "longitude2Edit=121.6", "latitude2Edit=25.1", "reportIntervalEdit=30",
                            "numberOfReportsEdit=0"})
            << "?4,354612071234567,R,25.05,121.5,25.1,121.6,In,30,0,0!";
        QTest::newRow("tracking: circle, out")
            << false
            << QStringList({"reportModeCombo=3", "circleCheck", "circleLongitudeEdit=121.5",
                            "circleLatitudeEdit=25.05", "radiusEdit=500", "inOutCombo=1",
                            "reportIntervalEdit=30", "numberOfReportsEdit=0"})
            << "?4,354612071234567,C,25.05,121.5,500,Out,30,0,0!";
        QTest::newRow("tracking: voice monitor")
            << false << QStringList({"reportModeCombo=4", "returnPhoneEdit=+"})
            << "?6,354612071234567,+!";
        QTest::newRow("configuration: switch off")
            << true << QStringList() << "?7,354612071234567,1,0,!";
        // The switch turned off again sends no number, whatever the edit holds.
        QTest::newRow("configuration: switch on, off")
            << true
            << QStringList({"defaultReturnNumberCheck", "defaultReturnNumberEdit=0912345678",
                            "defaultReturnNumberCheck"})
            << "?7,354612071234567,1,0,!";
        QTest::newRow("configuration: switch on")
            << true
            << QStringList({"defaultReturnNumberCheck", "defaultReturnNumberEdit=0912345678"})
            << "?7,354612071234567,1,1,0912345678!";
        QTest::newRow("configuration: fixing time")
            << true << QStringList({"parameterCombo=1", "maximumGpsFixingTimeCombo=9"})
            << "?7,354612071234567,2,10!";
        QTest::newRow("configuration: default mode untouched")
            << true << QStringList({"parameterCombo=2"}) << "?7,354612071234567,3,2,,,1,!";
        QTest::newRow("configuration: default period mode")
            << true
            << QStringList({"parameterCombo=2", "defaultReportModeCombo=1", "reportFormatCombo=0",
                            "reportIntervalEdit=60", "numberOfReportsEdit=100",
                            "defaultModeReturnPhoneEdit=+15550100"})
            << "?7,354612071234567,3,1,60,100,0,+15550100!";
        QTest::newRow("configuration: sos numbers")
            << true
            << QStringList({"parameterCombo=3", "sosNumber1Edit=110", "sosNumber2Edit=112",
                            "sosNumber3Edit=119", "returnPhoneEdit=0911222333"})
            << "?7,354612071234567,4,110,112,119,0911222333!";
    }

    void eachControlReachesItsField() {
        QFETCH(bool, configuration);
        QFETCH(QStringList, steps);
        QFETCH(QString, text);
        QCOMPARE(configuration ? ConfigRig().sentAfter(steps, "sendConfigurationCommandButton")
                               : TrackingRig().sentAfter(steps, "sendTrackingCommandButton"),
                 text);
    }

    // Each tracking row above types into the fields of its shape, so the page enables them; here
    // the two boxes act as a pair and the choice outlives another mode.
    void theShapeBoxesActAsAPairThatOutlivesAnotherMode() {
        TrackingRig rig;
        auto* rectangle = rig.child<QCheckBox>("rectangleCheck");
        auto* circle = rig.child<QCheckBox>("circleCheck");
        auto* mode = rig.child<QComboBox>("reportModeCombo");
        test::choose(mode, GeofenceMode);
        test::clickBox(circle);
        test::clickBox(circle);  // already checked: stays so
        QVERIFY(circle->isChecked() && !rectangle->isChecked());
        test::choose(mode, PeriodReport);
        test::choose(mode, GeofenceMode);
        QVERIFY(circle->isChecked() && !rectangle->isChecked());
        QVERIFY(rig.child<QLineEdit>("radiusEdit")->isEnabled());
        test::clickBox(rectangle);
        QVERIFY(rectangle->isChecked() && !circle->isChecked());
    }

    // Where the refusals that come before any field go; the fields' own rules are the core's.
    void aRefusalBeforeAnyFieldSendsNothing_data() {
        QTest::addColumn<BreakIt>("breakIt");
        QTest::addColumn<QString>("message");
        QTest::newRow("closed, not yet told")
            << BreakIt([](TrackingRig& rig) { rig.channel.closeWithoutNotice(); })
            << "Connection is ERROR!!!";
        QTest::newRow("closed as the send is handed over")
            << BreakIt([](TrackingRig& rig) { rig.channel.refuseSends = true; })
            << "Connection is ERROR!!!";
        QTest::newRow("a name the registry spells otherwise") << BreakIt([](TrackingRig& rig) {
            rig.users->setItemText(0, QStringLiteral("TRUCK"));
            test::choose(rig.child<QComboBox>("reportModeCombo"), PeriodReport);
        }) << "No user is choosed.";
    }

    void aRefusalBeforeAnyFieldSendsNothing() {
        QFETCH(BreakIt, breakIt);
        QFETCH(QString, message);
        TrackingRig rig;
        const test::AlertRecorder& recorder = rig.services.alerts;
        rig.openSession();
        breakIt(rig);
        rig.press("sendTrackingCommandButton");
        QCOMPARE(recorder.texts(), QStringList({message}));
        QCOMPARE(recorder.messages()[0].owner, rig.page);
        QVERIFY(rig.channel.sent.empty());
        QVERIFY(rig.child<QPushButton>("sendTrackingCommandButton")->isEnabled());
    }

    void configurationRefusalsGoToTheirOwnersAndSendNothing() {
        ConfigRig rig;
        const test::AlertRecorder& recorder = rig.services.alerts;
        rig.openSession();
        rig.apply({"defaultReturnNumberCheck"});
        rig.press("sendConfigurationCommandButton");
        rig.apply({"parameterCombo=2", "defaultReportModeCombo=1", "reportIntervalEdit=4"});
        rig.press("sendConfigurationCommandButton");

        QCOMPARE(recorder.texts(),
                 QStringList({"SMS Default Return Phone Number must have a value.",
                              "Return Interval input is 5 ~ 86400"}));
        QCOMPARE(recorder.messages()[0].owner, rig.page);
        QCOMPARE(recorder.messages()[1].owner, &rig.window);
        QVERIFY(rig.channel.sent.empty());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::CommandPagesTest)
#include "command_pages_test.moc"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/commands/command_page_rig.h"
#include "app/commands/config_command_page.h"
#include "support/qt/alert_recorder.h"

namespace kv820 {

namespace {

using Rig = test::CommandPageRig<ConfigCommandPage>;

}  // namespace

// The page's own part: each control reaches its field of the command, the switch of the
// default return number, and where its refusals go. The rules and texts are the core's.
class ConfigCommandPageTest : public QObject {
    Q_OBJECT

  private:
    void press(Rig& rig) {
        QTest::mouseClick(rig.child<QPushButton>("sendConfigurationCommandButton"), Qt::LeftButton);
    }

  private slots:
    void eachControlReachesItsField_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("text");
        QTest::newRow("switch off") << QStringList() << "?7,354612071234567,1,0,!";
        // The switch turned off again sends no number, whatever the edit holds.
        QTest::newRow("switch on, off")
            << QStringList({"defaultReturnNumberCheck", "defaultReturnNumberEdit=0912345678",
                            "defaultReturnNumberCheck"})
            << "?7,354612071234567,1,0,!";
        QTest::newRow("switch on")
            << QStringList({"defaultReturnNumberCheck", "defaultReturnNumberEdit=0912345678"})
            << "?7,354612071234567,1,1,0912345678!";
        QTest::newRow("fixing time")
            << QStringList({"parameterCombo=1", "maximumGpsFixingTimeCombo=9"})
            << "?7,354612071234567,2,10!";
        QTest::newRow("default mode untouched")
            << QStringList({"parameterCombo=2"}) << "?7,354612071234567,3,2,,,1,!";
        QTest::newRow("default period mode")
            << QStringList({"parameterCombo=2", "defaultReportModeCombo=1", "reportFormatCombo=0",
                            "reportIntervalEdit=60", "numberOfReportsEdit=100",
                            "defaultModeReturnPhoneEdit=+15550100"})
            << "?7,354612071234567,3,1,60,100,0,+15550100!";
        QTest::newRow("sos numbers")
            << QStringList({"parameterCombo=3", "sosNumber1Edit=110", "sosNumber2Edit=112",
                            "sosNumber3Edit=119", "returnPhoneEdit=0911222333"})
            << "?7,354612071234567,4,110,112,119,0911222333!";
    }

    void eachControlReachesItsField() {
        QFETCH(QStringList, steps);
        QFETCH(QString, text);
        QCOMPARE(Rig().sentAfter(steps, "sendConfigurationCommandButton"), text);
    }

    void theSwitchEnablesTheDefaultReturnNumberOnItsParameterOnly() {
        Rig rig;
        auto* check = rig.child<QCheckBox>("defaultReturnNumberCheck");
        auto* number = rig.child<QLineEdit>("defaultReturnNumberEdit");
        QVERIFY(!number->isEnabled());
        rig.apply({"defaultReturnNumberCheck"});
        QVERIFY(number->isEnabled());
        rig.apply({"parameterCombo=1"});
        QVERIFY(!check->isEnabled());
        QVERIFY(!number->isEnabled());
        rig.apply({"parameterCombo=0"});
        QVERIFY(number->isEnabled());
    }

    void refusalsComeInOrderWithTheirOwnersAndSendNothing() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        rig.apply({"defaultReturnNumberCheck"});
        press(rig);
        rig.apply({"parameterCombo=2", "defaultReportModeCombo=1", "reportIntervalEdit=4"});
        press(rig);
        rig.apply({"parameterCombo=3", "sosNumber2Edit=11-0"});
        press(rig);

        QCOMPARE(recorder.texts(),
                 QStringList({"SMS Default Return Phone Number must have a value.",
                              "Return Interval input is 5 ~ 86400",
                              "SOS Number 2 input is a failure."}));
        const QList<QWidget*> owners = {rig.page, &rig.window, rig.page};
        for (int i = 0; i < owners.size(); ++i) {
            QCOMPARE(recorder.messages()[i].owner, owners[i]);
        }
        QVERIFY(rig.channel.sent.empty());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::ConfigCommandPageTest)
#include "config_command_page_test.moc"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/commands/command_page_checks.h"
#include "app/commands/command_page_rig.h"
#include "app/commands/config_command_page.h"
#include "support/qt/alert_recorder.h"

namespace kv820 {

namespace {

using Rig = test::CommandPageRig<ConfigCommandPage>;

constexpr int ReturnNumber = 0, FixingTime = 1, DefaultMode = 2, SosNumbers = 3;
constexpr int ImmediateDefault = 0, PeriodDefault = 1, StopDefault = 2;

// The controls whose enabling depends on the parameter and its choices, in a fixed order.
const char* const ParameterDependentControls[] = {"defaultReturnNumberCheck",
                                                  "defaultReturnNumberEdit",
                                                  "maximumGpsFixingTimeCombo",
                                                  "defaultReportModeCombo",
                                                  "defaultModeReturnPhoneEdit",
                                                  "reportFormatCombo",
                                                  "reportIntervalEdit",
                                                  "numberOfReportsEdit",
                                                  "sosNumber1Edit",
                                                  "sosNumber2Edit",
                                                  "sosNumber3Edit"};

QList<bool> EnabledStates(const Rig& rig) {
    return test::EnabledStates(rig.page, ParameterDependentControls);
}

}  // namespace

class ConfigCommandPageTest : public QObject {
    Q_OBJECT

  private:
    void press(Rig& rig) {
        QTest::mouseClick(rig.child<QPushButton>("sendConfigurationCommandButton"), Qt::LeftButton);
    }

    void choose(Rig& rig, const char* combo, int index) {
        test::Choose(rig.child<QComboBox>(combo), index);
    }

  private slots:
    void theListsOfferTheirEntriesWithTheirDefaultsSelected() {
        Rig rig;
        auto* parameter = rig.child<QComboBox>("parameterCombo");
        QCOMPARE(test::Entries(parameter),
                 QStringList({"SMS Default Return Number", "Maximum GPS Fixing Time",
                              "Default Report Mode Setting", "SOS Number"}));
        QCOMPARE(parameter->currentIndex(), 0);
        auto* fixing = rig.child<QComboBox>("maximumGpsFixingTimeCombo");
        QCOMPARE(test::Entries(fixing),
                 QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
        QCOMPARE(fixing->currentText(), QStringLiteral("3"));
        auto* mode = rig.child<QComboBox>("defaultReportModeCombo");
        QCOMPARE(test::Entries(mode),
                 QStringList({"SMS Immediate Report", "SMS Period Report", "Stop Report"}));
        QCOMPARE(mode->currentIndex(), 2);
        auto* format = rig.child<QComboBox>("reportFormatCombo");
        QCOMPARE(test::Entries(format), QStringList({"Format 0", "Format 1"}));
        QCOMPARE(format->currentIndex(), 1);
    }

    void thePageStartsOnTheDefaultReturnNumberWithItsSwitchOff() {
        Rig rig;
        QCOMPARE(EnabledStates(rig), QList<bool>({true, false, false, false, false, false, false,
                                                  false, false, false, false}));
        auto* check = rig.child<QCheckBox>("defaultReturnNumberCheck");
        QVERIFY(!check->isChecked());
        QVERIFY(check->text().isEmpty());
        QVERIFY(rig.child<QComboBox>("parameterCombo")->isEnabled());
        QVERIFY(rig.child<QLineEdit>("returnPhoneEdit")->isEnabled());
        auto* send = rig.child<QPushButton>("sendConfigurationCommandButton");
        QCOMPARE(send->text(), QStringLiteral("Send Configuration Command"));
        QVERIFY(send->isDefault());
        QVERIFY(!send->isEnabled());
    }

    void everyInputCarriesItsLabelAndLengthLimit_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("edit");
        QTest::newRow("parameter") << "Configuration Parameter :"
                                   << "parameterCombo" << false;
        QTest::newRow("default return") << "SMS Default Return Phone Number :"
                                        << "defaultReturnNumberEdit" << true;
        QTest::newRow("fixing time") << "Maximum GPS Fixing Time :"
                                     << "maximumGpsFixingTimeCombo" << false;
        QTest::newRow("default mode") << "Default Report Mode :"
                                      << "defaultReportModeCombo" << false;
        QTest::newRow("interval") << "Report Interval :"
                                  << "reportIntervalEdit" << true;
        QTest::newRow("format") << "Report Format :"
                                << "reportFormatCombo" << false;
        QTest::newRow("count") << "Number of Reports :"
                               << "numberOfReportsEdit" << true;
        QTest::newRow("default-mode return") << "Return Phone Number for Default Report Mode :"
                                             << "defaultModeReturnPhoneEdit" << true;
        QTest::newRow("sos 1") << "SOS Number 1 :"
                               << "sosNumber1Edit" << true;
        QTest::newRow("sos 2") << "SOS Number 2 :"
                               << "sosNumber2Edit" << true;
        QTest::newRow("sos 3") << "SOS Number 3 :"
                               << "sosNumber3Edit" << true;
        QTest::newRow("return") << "Return Phone Number :"
                                << "returnPhoneEdit" << true;
    }

    void everyInputCarriesItsLabelAndLengthLimit() {
        QFETCH(QString, label);
        QFETCH(QString, control);
        QFETCH(bool, edit);
        Rig rig;
        QCOMPARE(test::BuddyOf(rig.page, label), control);
        if (edit) {
            QCOMPARE(rig.child<QLineEdit>(control.toLatin1().constData())->maxLength(), 63);
        }
    }

    void everyControlFitsTheTabPage() {
        Rig rig;
        QVERIFY(test::FitsTheTabPage(rig.page));
    }

    void eachParameterEnablesItsFields_data() {
        QTest::addColumn<int>("parameter");
        QTest::addColumn<QList<bool>>("enabled");  // in the order of ParameterDependentControls
        const bool y = true, n = false;
        QTest::newRow("return number")
            << ReturnNumber << QList<bool>({y, n, n, n, n, n, n, n, n, n, n});
        QTest::newRow("fixing time")
            << FixingTime << QList<bool>({n, n, y, n, n, n, n, n, n, n, n});
        QTest::newRow("default mode, Stop Report")
            << DefaultMode << QList<bool>({n, n, n, y, y, n, n, n, n, n, n});
        QTest::newRow("sos numbers")
            << SosNumbers << QList<bool>({n, n, n, n, n, n, n, n, y, y, y});
    }

    void eachParameterEnablesItsFields() {
        QFETCH(int, parameter);
        QFETCH(QList<bool>, enabled);
        Rig rig;
        choose(rig, "parameterCombo", SosNumbers);
        choose(rig, "parameterCombo", parameter);
        QCOMPARE(EnabledStates(rig), enabled);
        QVERIFY(rig.child<QLineEdit>("returnPhoneEdit")->isEnabled());
    }

    void theSwitchEnablesTheDefaultReturnNumber() {
        Rig rig;
        auto* check = rig.child<QCheckBox>("defaultReturnNumberCheck");
        auto* number = rig.child<QLineEdit>("defaultReturnNumberEdit");
        test::ClickBox(check);
        QVERIFY(check->isChecked());
        QVERIFY(number->isEnabled());
        test::ClickBox(check);
        QVERIFY(!check->isChecked());
        QVERIFY(!number->isEnabled());
        // Another parameter greys both; coming back restores the number with the switch.
        test::ClickBox(check);
        choose(rig, "parameterCombo", FixingTime);
        QVERIFY(!check->isEnabled());
        QVERIFY(!number->isEnabled());
        choose(rig, "parameterCombo", ReturnNumber);
        QVERIFY(number->isEnabled());
    }

    void theDefaultReportModeDecidesItsFields_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("format");
        QTest::addColumn<bool>("intervalAndCount");
        QTest::newRow("SMS Immediate Report") << ImmediateDefault << true << false;
        QTest::newRow("SMS Period Report") << PeriodDefault << true << true;
        QTest::newRow("Stop Report") << StopDefault << false << false;
    }

    void theDefaultReportModeDecidesItsFields() {
        QFETCH(int, mode);
        QFETCH(bool, format);
        QFETCH(bool, intervalAndCount);
        Rig rig;
        choose(rig, "parameterCombo", DefaultMode);
        choose(rig, "defaultReportModeCombo", PeriodDefault);
        choose(rig, "defaultReportModeCombo", mode);
        QCOMPARE(rig.child<QComboBox>("reportFormatCombo")->isEnabled(), format);
        QCOMPARE(rig.child<QLineEdit>("reportIntervalEdit")->isEnabled(), intervalAndCount);
        QCOMPARE(rig.child<QLineEdit>("numberOfReportsEdit")->isEnabled(), intervalAndCount);
        QVERIFY(rig.child<QLineEdit>("defaultModeReturnPhoneEdit")->isEnabled());
    }

    void refusalsComeInOrderWithTheirOwnersAndSendNothing() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        test::ClickBox(rig.child<QCheckBox>("defaultReturnNumberCheck"));
        press(rig);
        rig.type("defaultReturnNumberEdit", "+886912345678");
        press(rig);
        choose(rig, "parameterCombo", DefaultMode);
        choose(rig, "defaultReportModeCombo", PeriodDefault);
        rig.type("reportIntervalEdit", "4");
        press(rig);
        rig.type("reportIntervalEdit", "5");
        rig.type("numberOfReportsEdit", "1000");
        press(rig);
        choose(rig, "parameterCombo", SosNumbers);
        rig.type("sosNumber2Edit", "11-0");
        press(rig);

        QCOMPARE(
            recorder.texts(),
            QStringList({"SMS Default Return Phone Number must have a value.",
                         "SMS Default Return Phone Number input is a failure.",
                         "Return Interval input is 5 ~ 86400", "Number of Reports input is 0 ~ 999",
                         "SOS Number 2 input is a failure."}));
        const QList<QWidget*> owners = {rig.page, rig.page, &rig.window, &rig.window, rig.page};
        for (int i = 0; i < owners.size(); ++i) {
            QCOMPARE(recorder.messages()[i].caption, QStringLiteral("ERROR"));
            QCOMPARE(recorder.messages()[i].owner, owners[i]);
        }
        QVERIFY(rig.channel.sent.empty());
    }

    void theUntouchedDefaultsSendStopReportInFormat1() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        choose(rig, "parameterCombo", DefaultMode);
        press(rig);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QCOMPARE(rig.channel.sent[0].first, QStringLiteral("0912345678"));
        QCOMPARE(rig.channel.sent[0].second, QStringLiteral("?7,354612071234567,3,2,,,1,!"));
    }

    void theSwitchOffSendsAnEmptyNumberWhateverTheEditHolds() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        auto* check = rig.child<QCheckBox>("defaultReturnNumberCheck");
        test::ClickBox(check);
        rig.type("defaultReturnNumberEdit", "0912345678");
        test::ClickBox(check);
        press(rig);
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QCOMPARE(rig.channel.sent[0].second, QStringLiteral("?7,354612071234567,1,0,!"));
        test::ClickBox(check);
        emit rig.channel.commandSent();
        press(rig);
        QCOMPARE(rig.channel.sent.size(), std::size_t{2});
        QCOMPARE(rig.channel.sent[1].second, QStringLiteral("?7,354612071234567,1,1,0912345678!"));
        QVERIFY(recorder.texts().isEmpty());
    }

    void theFixingTimeIsSentAsItsText() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        choose(rig, "parameterCombo", FixingTime);
        choose(rig, "maximumGpsFixingTimeCombo", 9);
        press(rig);
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QCOMPARE(rig.channel.sent[0].second, QStringLiteral("?7,354612071234567,2,10!"));
    }

    void aPeriodDefaultModeIsSentWithItsOwnReturnNumber() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        choose(rig, "parameterCombo", DefaultMode);
        choose(rig, "defaultReportModeCombo", PeriodDefault);
        rig.type("reportIntervalEdit", "60");
        rig.type("numberOfReportsEdit", "100");
        rig.type("defaultModeReturnPhoneEdit", "+15550100");
        press(rig);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QCOMPARE(rig.channel.sent[0].second,
                 QStringLiteral("?7,354612071234567,3,1,60,100,1,+15550100!"));
    }

    void sosNumbersMayBeEmptyAndTheCommandTakesItsReturnNumber() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        choose(rig, "parameterCombo", SosNumbers);
        rig.type("sosNumber1Edit", "110");
        rig.type("sosNumber3Edit", "119");
        rig.type("returnPhoneEdit", "0911222333");
        press(rig);
        QVERIFY(recorder.texts().isEmpty());
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        QCOMPARE(rig.channel.sent[0].second,
                 QStringLiteral("?7,354612071234567,4,110,,119,0911222333!"));
    }

    void withoutASessionNothingIsSentAndThePageSaysSo() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        rig.channel.closeWithoutNotice();
        press(rig);
        QCOMPARE(recorder.texts(), QStringList({"Connection is ERROR!!!"}));
        QCOMPARE(recorder.messages()[0].owner, rig.page);
        QVERIFY(rig.channel.sent.empty());
    }

    void noSelectedOrUnknownUserComesBeforeAnyField_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("empty list") << QStringList();
        QTest::newRow("unregistered name") << QStringList({"ghost"});
    }

    void noSelectedOrUnknownUserComesBeforeAnyField() {
        QFETCH(QStringList, entries);
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        rig.users->clear();
        rig.users->addItems(entries);
        rig.type("returnPhoneEdit", "not a phone");
        press(rig);
        QCOMPARE(recorder.texts(), QStringList({"No user is choosed."}));
        QCOMPARE(recorder.messages()[0].owner, rig.page);
        QVERIFY(rig.channel.sent.empty());
    }

    void theButtonStaysDisabledUntilTheSendIsDone() {
        test::AlertRecorder recorder;
        Rig rig;
        rig.openSession();
        auto* send = rig.child<QPushButton>("sendConfigurationCommandButton");
        press(rig);
        QVERIFY(!send->isEnabled());
        press(rig);
        QCOMPARE(rig.channel.sent.size(), std::size_t{1});
        emit rig.channel.commandSent();
        QVERIFY(send->isEnabled());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::ConfigCommandPageTest)
#include "config_command_page_test.moc"

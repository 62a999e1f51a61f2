#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/setup/scripted_setup_devices.h"
#include "app/setup/setup_file_dialog.h"
#include "app/setup/setup_session.h"
#include "support/qt/alert_recorder.h"

namespace kv820 {

namespace {

const std::string Imei = "354612071234567";

SetupForm TrackerForm() {
    SetupForm form;
    form.firmwareVersion = "V1.01(2007-05-12)";
    form.moduleImei = Imei;
    form.phoneNumber = "0912345678";
    form.file.userName = "Truck";
    return form;
}

// Remembers the status line each message was shown over.
class StatusAtAlerts final : public Alerts {
  public:
    explicit StatusAtAlerts(const QLabel* status) : status_(status) { installAlerts(this); }
    ~StatusAtAlerts() override { installAlerts(nullptr); }
    void error(QWidget*, const QString& text) override { seen << status_->text() + "|" + text; }
    void information(QWidget*, const QString&, const QString& text) override {
        seen << status_->text() + "|" + text;
    }
    bool question(QWidget*, const QString&, const QString&) override { return false; }
    QStringList seen;

  private:
    const QLabel* status_;
};

// The dialog's module: "> " after each at+cmgw, "+CMGW" after each text, when confirming.
void AnswerWrites(test::FakeSerialLink& link, bool confirming) {
    link.onWrite = [confirming, stored = 0](test::FakeSerialLink& l,
                                            std::string_view written) mutable {
        if (written.starts_with("at+cmgw=")) {
            l.feed(std::string(written) + "\r\n> ");
        } else if (written.ends_with("\x1A\r")) {
            l.feed(confirming ? "\r\n+CMGW: " + std::to_string(++stored) + "\r\n\r\nOK\r\n"
                              : std::string("\r\nERROR\r\n"));
        }
    };
}

}  // namespace

class SetupFileDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ScriptedSetupDevices> scripted_;
    SetupSession session_;
    std::vector<UserSlot> registered_;

    template <class T>
    static T* child(QWidget& dialog, const char* name) {
        T* found = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!found) {
            qFatal("no child %s", name);
        }
        return found;
    }

  private slots:
    void init() {
        scripted_ = std::make_unique<test::ScriptedSetupDevices>();
        session_ = SetupSession{};
        session_.devices = scripted_->devices();
        registered_.clear();
        session_.registerTracker = [this](QWidget*, const UserSlot& user) {
            registered_.push_back(user);
        };
    }

    void aFormReadBackShowsEveryFieldWhereItBelongs() {
        SetupForm form = TrackerForm();
        SetupFile& file = form.file;
        file.defaultReturnEnabled = true;
        file.maxGpsFixingTime = 7;
        file.timeZoneOn = false;
        file.reportMode = ReportMode::Period;
        file.reportInterval = "60";
        file.reportFormat = 0;
        file.numberOfReports = "12";
        file.sosNumbers = {"111", "222", "333"};
        file.defaultReturnPhone = "0933000111";
        file.reportReturnPhone = "+886912000000";
        SetupFileDialog dialog(form, session_);
        QCOMPARE(child<QComboBox>(dialog, "maxFixingTimeCombo")->currentText(),
                 QStringLiteral("7"));
        QCOMPARE(child<QComboBox>(dialog, "timeZoneCombo")->currentText(), QStringLiteral("Off"));
        QCOMPARE(child<QLineEdit>(dialog, "sosNumber2Edit")->text(), QStringLiteral("222"));
        QCOMPARE(child<QLineEdit>(dialog, "reportReturnPhoneEdit")->text(),
                 QStringLiteral("+886912000000"));
        QVERIFY(child<QWidget>(dialog, "defaultReturnPhoneEdit")->isEnabled());
        QVERIFY(child<QWidget>(dialog, "numberOfReportsEdit")->isEnabled());
        QCOMPARE(dialog.form().file, form.file);
        QCOMPARE(dialog.form().phoneNumber, form.phoneNumber);
        QCOMPARE(dialog.form().moduleImei, form.moduleImei);
        QCOMPARE(dialog.form().firmwareVersion, form.firmwareVersion);
    }

    void resetDefaultKeepsTheIdentityAndTheReportReturnNumber() {
        SetupForm form = TrackerForm();
        form.file.reportMode = ReportMode::Period;
        form.file.reportInterval = "5";
        form.file.numberOfReports = "9";
        form.file.defaultReturnEnabled = true;
        form.file.defaultReturnPhone = "0911";
        form.file.reportReturnPhone = "0922";
        form.file.sosNumbers = {"1", "2", "3"};
        form.file.timeZoneOn = false;
        SetupFileDialog dialog(form, session_);
        dialog.resetDefault();
        SetupForm expected;
        expected.firmwareVersion = form.firmwareVersion;
        expected.moduleImei = form.moduleImei;
        expected.file.reportReturnPhone = "0922";
        QCOMPARE(dialog.form().file, expected.file);
        QCOMPARE(dialog.form().phoneNumber, std::string());
        QCOMPARE(dialog.form().moduleImei, Imei);
        QCOMPARE(dialog.form().firmwareVersion, form.firmwareVersion);
        QVERIFY(!child<QWidget>(dialog, "reportIntervalEdit")->isEnabled());
    }

    void aFailedCheckShowsItsMessageAndKeepsTheDialog_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << "userNameEdit"
                                 << ""
                                 << "User Name must have a value.";
        QTest::newRow("hyphen") << "phoneNumberEdit"
                                << "0912-345"
                                << "Phone Number input is a failure.";
        QTest::newRow("other's phone") << "phoneNumberEdit"
                                       << "0955000000"
                                       << "Phone Number is repeat.";
    }

    void aFailedCheckShowsItsMessageAndKeepsTheDialog() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        session_.registeredUsers = [] {
            UserRegistry::Snapshot users;
            users.users[0] = {"Van", "0955000000", "354612079999999"};
            users.userCount = 1;
            return users;
        };
        SetupFileDialog dialog(TrackerForm(), session_);
        dialog.show();
        dialog.findChild<QLineEdit*>(field)->setText(text);
        StatusAtAlerts alerts(dialog.statusLine());
        QTest::mouseClick(child<QPushButton>(dialog, "setupFileOkButton"), Qt::LeftButton);
        QCOMPARE(alerts.seen, QStringList({"Loading failed.|" + message}));
        QVERIFY(dialog.statusLine()->text().isEmpty());
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.findChild<QLineEdit*>(field)->text(), text);
        QVERIFY(scripted_->link.openedPaths.empty());
    }

    void cancelAsksAndOnlyYesOrTheCloseBoxEndsTheDialog() {
        for (const auto& [answer, closeBox] : {std::pair{false, false}, {true, false}, {true, true}}) {
            SetupFileDialog dialog(TrackerForm(), session_);
            dialog.show();
            child<QLineEdit>(dialog, "sosNumber1Edit")->setText(QStringLiteral("0911"));
            test::AlertRecorder recorder;
            recorder.answer = answer;
            if (closeBox) {
                dialog.close();
            } else {
                QTest::mouseClick(child<QPushButton>(dialog, "setupFileCancelButton"),
                                  Qt::LeftButton);
            }
            QCOMPARE(dialog.isVisible(), !answer);
            QCOMPARE(child<QLineEdit>(dialog, "sosNumber1Edit")->text(), QStringLiteral("0911"));
            QCOMPARE(recorder.texts(),
                     QStringList({"Are you sure you want to cancel the KV820 Setup?"}));
            QVERIFY(registered_.empty());
        }
    }

    void okWritesTheFourMessagesThenRegistersTheTracker() {
        session_.context.portEntry = "/dev/ttyTRACKER:";
        session_.context.simPin = "24680";  // typed earlier in the SIM PIN dialog
        AnswerWrites(scripted_->link, true);
        bool openWhileRegistering = false;
        session_.registerTracker = [&](QWidget*, const UserSlot& user) {
            openWhileRegistering = scripted_->link.isOpen();
            registered_.push_back(user);
        };
        SetupFileDialog dialog(TrackerForm(), session_);
        dialog.show();
        test::AlertRecorder recorder;
        QTest::mouseClick(child<QPushButton>(dialog, "setupFileOkButton"), Qt::LeftButton);
        QVERIFY(dialog.isWriting());
        dialog.reject();  // no input while writing
        QVERIFY(recorder.messages().empty());
        QTRY_VERIFY(!dialog.isVisible());

        const std::vector<std::string> expected{
            "at+cmgw=+1\r", "0,3,,,,,,,Truck,+0.00,2,30,1,,24680,\x1A\r",
            "at+cmgw=+2\r", ",,,,,,,\x1A\r",
            "at+cmgw=+3\r", "5000,,,,,,\x1A\r",
            "at+cmgw=+4\r", ",\x1A\r"};
        QCOMPARE(scripted_->link.writes, expected);
        QCOMPARE(scripted_->link.openedPaths, std::vector<std::string>{"/dev/ttyTRACKER"});
        QVERIFY(openWhileRegistering);
        QVERIFY(!scripted_->link.isOpen());
        QCOMPARE(registered_.size(), std::size_t{1});
        QCOMPARE(registered_[0], (UserSlot{"Truck", "0912345678", Imei}));
        QCOMPARE(recorder.texts(), QStringList({"KV820 Setup is successful."}));
        QCOMPARE(dialog.statusLine()->text(), QStringLiteral("Loading completed."));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void aMissingConfirmationFailsTheSetupWithoutRegistering() {
        session_.context.portEntry = "/dev/ttyTRACKER:";
        AnswerWrites(scripted_->link, false);
        SetupFileDialog dialog(TrackerForm(), session_);
        dialog.show();
        test::AlertRecorder recorder;
        dialog.submit();
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(recorder.texts(), QStringList({"KV820 Setup is failed."}));
        QCOMPARE(recorder.messages()[0].caption, QStringLiteral("ERROR"));
        QCOMPARE(dialog.statusLine()->text(), QStringLiteral("Loading failed."));
        QVERIFY(registered_.empty());
        QVERIFY(!scripted_->link.isOpen());
    }

};

}  // namespace kv820

QTEST_MAIN(kv820::SetupFileDialogTest)
#include "setup_file_dialog_test.moc"

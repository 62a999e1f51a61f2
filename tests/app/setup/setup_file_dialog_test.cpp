#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/setup/setup_file_dialog.h"
#include "app/setup/setup_session.h"
#include "support/qt/recording_services.h"
#include "support/qt/scripted_port_devices.h"

namespace kv820 {

namespace {

const std::string Imei = "354612071234567";

SetupForm trackerForm() {
    SetupForm form;
    form.firmwareVersion = "V1.01(2007-05-12)";
    form.moduleImei = Imei;
    form.phoneNumber = "0912345678";
    form.file.userName = "Truck";
    return form;
}

// The dialog's module: "> " after each at+cmgw, then refuses to store the text.
void refuseWrites(test::FakeSerialLink& link) {
    link.onWrite = [](test::FakeSerialLink& l, std::string_view written) {
        if (written.starts_with("at+cmgw=")) {
            l.feed(std::string(written) + "\r\n> ");
        } else if (written.ends_with("\x1A\r")) {
            l.feed("\r\nERROR\r\n");
        }
    };
}

}  // namespace

class SetupFileDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ScriptedPortDevices> scripted_;
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
        scripted_ = std::make_unique<test::ScriptedPortDevices>();
        session_ = SetupSession{};
        session_.devices = scripted_->devices();
        registered_.clear();
        session_.registerTracker = [this](QWidget*, const UserSlot& user) {
            registered_.push_back(user);
        };
    }

    void aFormComesBackWholeAndAResetDisablesWhatItClears() {
        SetupForm form = trackerForm();
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
        QVERIFY(child<QWidget>(dialog, "defaultReturnPhoneEdit")->isEnabled());
        QVERIFY(child<QWidget>(dialog, "numberOfReportsEdit")->isEnabled());
        QCOMPARE(dialog.form().file, form.file);
        QCOMPARE(dialog.form().phoneNumber, form.phoneNumber);

        // What the reset clears is the core's; the dialog disables the fields it cleared.
        dialog.resetDefault();
        QCOMPARE(dialog.form().moduleImei, Imei);
        QVERIFY(!child<QWidget>(dialog, "reportIntervalEdit")->isEnabled());
        QVERIFY(!child<QWidget>(dialog, "defaultReturnPhoneEdit")->isEnabled());
    }

    void anotherTrackersPhoneIsRefusedAndTheDialogKept() {
        UserRegistry registry;
        registry.replace({{"Van", "0955000000", "354612079999999"}});
        session_.registeredUsers = [users = registry.snapshot()] { return users; };
        test::RecordingServices services;
        session_.services = services.app();
        test::AlertRecorder& recorder = services.alerts;
        SetupFileDialog dialog(trackerForm(), session_);
        dialog.show();
        child<QLineEdit>(dialog, "phoneNumberEdit")->setText(QStringLiteral("0955000000"));
        QTest::mouseClick(child<QPushButton>(dialog, "setupFileOkButton"), Qt::LeftButton);
        QCOMPARE(recorder.texts(), QStringList({"Phone Number is repeat."}));
        QVERIFY(dialog.statusLine()->text().isEmpty());
        QVERIFY(dialog.isVisible());
        QVERIFY(scripted_->link.openedPaths.empty());
    }

    void cancelAsksAndOnlyYesOrTheCloseBoxEndsTheDialog() {
        for (const auto& [answer, closeBox] :
             {std::pair{false, false}, {true, false}, {true, true}}) {
            test::RecordingServices services;
            session_.services = services.app();
            test::AlertRecorder& recorder = services.alerts;
            SetupFileDialog dialog(trackerForm(), session_);
            dialog.show();
            child<QLineEdit>(dialog, "sosNumber1Edit")->setText(QStringLiteral("0911"));
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

    void aMissingConfirmationFailsTheSetupWithoutRegisteringAndTakesNoInputMeanwhile() {
        session_.context.portEntry = "/dev/ttyTRACKER:";
        refuseWrites(scripted_->link);
        test::RecordingServices services;
        session_.services = services.app();
        test::AlertRecorder& recorder = services.alerts;
        SetupFileDialog dialog(trackerForm(), session_);
        dialog.show();
        QTest::mouseClick(child<QPushButton>(dialog, "setupFileOkButton"), Qt::LeftButton);
        QVERIFY(dialog.isWriting());
        dialog.reject();  // no input while writing
        QVERIFY(recorder.messages().empty());
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(recorder.texts(), QStringList({"KV820 Setup is failed."}));
        QCOMPARE(dialog.statusLine()->text(), QStringLiteral("Loading failed."));
        QVERIFY(registered_.empty());
        QVERIFY(!scripted_->link.isOpen());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SetupFileDialogTest)
#include "setup_file_dialog_test.moc"

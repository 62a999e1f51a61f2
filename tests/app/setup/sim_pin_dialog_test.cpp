#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/setup/scripted_setup_devices.h"
#include "app/setup/setup_session.h"
#include "app/setup/sim_pin_dialog.h"
#include "support/qt/alert_recorder.h"
#include "support/tracker_replies.h"

namespace kv820 {

class SimPinDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ScriptedSetupDevices> scripted_;
    SetupSession session_;

    // Types the PIN, presses OK and waits until the module has answered.
    static void enter(SimPinDialog& dialog, const QString& pin) {
        dialog.pinEdit()->setText(pin);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QTRY_VERIFY(!dialog.isAsking());
    }

  private slots:
    void init() {
        scripted_ = std::make_unique<test::ScriptedSetupDevices>();
        session_ = SetupSession{};
        session_.devices = scripted_->devices();
        session_.context.portEntry = "/dev/ttyTRACKER:";
    }

    void aMalformedPinIsRefusedBeforeThePortIsOpened_data() {
        QTest::addColumn<QString>("pin");
        QTest::addColumn<QString>("message");
        QTest::newRow("three") << "123"
                               << "The password must be 4~8 digits.";
        QTest::newRow("letter") << "12a4"
                                << "The password must be digits.";
    }

    void aMalformedPinIsRefusedBeforeThePortIsOpened() {
        QFETCH(QString, pin);
        QFETCH(QString, message);
        SimPinDialog dialog(session_);
        dialog.show();
        test::AlertRecorder recorder;
        enter(dialog, pin);
        QCOMPARE(recorder.texts(), QStringList({message}));
        QCOMPARE(recorder.messages()[0].owner, &dialog);
        QVERIFY(dialog.isVisible());
        QVERIFY(scripted_->link.openedPaths.empty());
    }

    void theModulesAnswerDecides_data() {
        QTest::addColumn<QString>("pinReply");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("staysOpen");
        QTest::addColumn<bool>("accepted");
        const QString wrong = QStringLiteral("at+cpin=1234\r\r\n+CME ERROR: 16\r\n");
        QTest::newRow("two left") << wrong << "2"
                                  << "Input ERROR. You have 2 attempts left." << true << false;
        QTest::newRow("ten is locked, not one")
            << wrong << "10"
            << "Input ERROR. Your SIM card is locked." << false << false;
        QTest::newRow("no answer") << ""
                                   << "3"
                                   << "KV820 Setup is ERROR." << false << false;
    }

    void theModulesAnswerDecides() {
        QFETCH(QString, pinReply);
        QFETCH(QString, counter);
        QFETCH(QString, message);
        QFETCH(bool, staysOpen);
        QFETCH(bool, accepted);
        scripted_->link.replyTo("at+cpin=1234\r", pinReply.toStdString());
        scripted_->link.replyTo("at^spic\r\n",
                                test::Echoed("at^spic", "^SPIC: " + counter.toStdString()));
        SimPinDialog dialog(session_);
        dialog.show();
        test::AlertRecorder recorder;
        enter(dialog, QStringLiteral("1234"));

        QCOMPARE(recorder.texts(), QStringList({message}));
        QCOMPARE(dialog.isVisible(), staysOpen);
        if (!staysOpen) {
            QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
        }
        // Only a PIN the module took is ever written into a setup file.
        QCOMPARE(session_.context.simPin, accepted ? std::string("1234") : std::string());
    }

    void whileTheModuleIsAskedTheDialogTakesNoInput() {
        scripted_->link.replyTo("at+cpin=1234\r", test::Echoed("at+cpin=1234"));
        SimPinDialog dialog(session_);
        dialog.show();
        test::AlertRecorder recorder;
        dialog.pinEdit()->setText(QStringLiteral("1234"));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QVERIFY(dialog.isAsking());
        QVERIFY(!dialog.okButton()->isEnabled());
        QVERIFY(!dialog.cancelButton()->isEnabled());
        dialog.reject();
        QVERIFY(dialog.isVisible());
        QTRY_VERIFY(!dialog.isAsking());
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::SimPinDialogTest)
#include "sim_pin_dialog_test.moc"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/setup/setup_session.h"
#include "app/setup/sim_pin_dialog.h"
#include "support/qt/recording_services.h"
#include "support/qt/scripted_port_devices.h"
#include "support/tracker_replies.h"

namespace kv820 {

class SimPinDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ScriptedPortDevices> scripted_;
    SetupSession session_;

  private slots:
    void init() {
        scripted_ = std::make_unique<test::ScriptedPortDevices>();
        session_ = SetupSession{};
        session_.devices = scripted_->devices();
        session_.context.portEntry = "/dev/ttyTRACKER:";
    }

    // The outcomes themselves are the core's; the dialog shows the message over itself and
    // stays open or closes as the outcome says.
    void theModulesAnswerDecides_data() {
        QTest::addColumn<QString>("pinReply");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("two left") << QStringLiteral("at+cpin=1234\r\r\n+CME ERROR: 16\r\n")
                                  << "Input ERROR. You have 2 attempts left." << true;
        QTest::newRow("no answer") << QString() << "KV820 Setup is ERROR." << false;
    }

    void theModulesAnswerDecides() {
        QFETCH(QString, pinReply);
        QFETCH(QString, message);
        QFETCH(bool, staysOpen);
        scripted_->link.replyTo("at+cpin=1234\r", pinReply.toStdString());
        scripted_->link.replyTo("at^spic\r\n", test::echoed("at^spic", "^SPIC: 2"));
        test::RecordingServices services;
        session_.services = services.app();
        test::AlertRecorder& recorder = services.alerts;
        SimPinDialog dialog(session_);
        dialog.show();
        dialog.pinEdit()->setText(QStringLiteral("1234"));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QTRY_VERIFY(!dialog.isAsking());

        QCOMPARE(recorder.texts(), QStringList({message}));
        QCOMPARE(recorder.messages()[0].owner, &dialog);
        QCOMPARE(dialog.isVisible(), staysOpen);
        QVERIFY(session_.context.simPin.empty());
    }

    void whileTheModuleIsAskedTheDialogTakesNoInput() {
        scripted_->link.replyTo("at+cpin=1234\r", test::echoed("at+cpin=1234"));
        test::RecordingServices services;  // no message box opens meanwhile
        session_.services = services.app();
        SimPinDialog dialog(session_);
        dialog.show();
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

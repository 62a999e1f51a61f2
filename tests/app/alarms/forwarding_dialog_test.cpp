// "Event forwarding" as the menu opens it: settings that are none refused with a message,
// good ones stored for the session to read, and a given-up forward listed as failed.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "app/alarms/forwarding_dialog.h"
#include "app/shell/main_window.h"
#include "core/alarms/forward_store.h"
#include "core/store/database.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"

namespace kv820 {

class ForwardingDialogTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::WindowRig> rig_;

    template <typename Child>
    static Child* child(QWidget* dialog, const QString& name) {
        return dialog->findChild<Child*>(name);
    }

  private slots:
    void init() { rig_ = std::make_unique<test::WindowRig>(); }
    void cleanup() { rig_.reset(); }

    void wrongSettingsAreRefusedGoodOnesStoredAndAFailedForwardListed() {
        {
            Database db(rig_->path);
            ForwardStore::ensureTables(db);
            ForwardStore store(db);
            const std::int64_t id = store.queue({.eventId = 12,
                                                 .channel = ForwardChannel::Webhook,
                                                 .destination = "http://10.0.0.9/hook",
                                                 .payload = "{}"});
            store.record(id, ForwardState::Failed, 4, "HTTP 503", "2026/03/02 08:06:10");
        }
        test::RecordingServices& services = rig_->services;
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<ForwardingDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto done = qScopeGuard([&] { dialog->reject(); });
            QCOMPARE(dialog->log()->rowCount(), 1);
            QCOMPARE(dialog->log()->item(0, 4)->text(), QStringLiteral("failed"));
            QCOMPARE(dialog->log()->item(0, 6)->text(), QStringLiteral("HTTP 503"));

            auto* save = child<QDialogButtonBox>(dialog, {})->button(QDialogButtonBox::Save);
            QTest::keyClicks(child<QLineEdit>(dialog, "forwardNumbersEdit"), "0912-345");
            QTest::mouseClick(save, Qt::LeftButton);
            QCOMPARE(services.alerts.texts(), QStringList{"\"0912-345\" is no phone number."});
            QVERIFY(dialog->isVisible());

            child<QLineEdit>(dialog, "forwardNumbersEdit")->setText("+491701234567; 0912345678");
            child<QLineEdit>(dialog, "webhookUrlEdit")->setText("https://ops.example/hook");
            QTest::mouseClick(
                child<QCheckBox>(dialog, QStringLiteral("forwardKind%1").arg(int(EventKind::Sos))),
                Qt::LeftButton);
            QTest::mouseClick(save, Qt::LeftButton);
            QVERIFY(!dialog->isVisible());
            checked = true;
        });
        rig_->window.findChild<QAction*>(QStringLiteral("actionEventForwarding"))->trigger();
        QVERIFY(checked);
        Database db(rig_->path);
        const ForwardSettings saved = ForwardStore(db).settings();
        QCOMPARE(saved.phoneNumbers, (std::vector<std::string>{"+491701234567", "0912345678"}));
        QCOMPARE(saved.webhookUrl, std::string("https://ops.example/hook"));
        QVERIFY(saved.kinds == std::set<EventKind>{EventKind::Sos});
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::ForwardingDialogTest)
#include "forwarding_dialog_test.moc"

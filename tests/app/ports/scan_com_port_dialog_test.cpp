#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <mutex>
#include <set>
#include <thread>

#include "app/ports/scan_com_port_dialog.h"
#include "support/skipping_clock.h"

namespace kv820 {

namespace {

const QString PortA = QStringLiteral("/nonexistent/kv820-scan-a");
const QString PortB = QStringLiteral("/nonexistent/kv820-scan-b");

// How the fake device on each port behaves: answers or not at once, or hangs until the
// scan is stopped.
struct FakePorts {
    std::set<std::string> answering;
    std::set<std::string> hanging;
    std::atomic<bool> sawStop{false};
    std::atomic<int> probes{0};

    ScanComPortDialog::ProbeFactory factory() {
        return [this](ScanVariant, Clock&) -> PortProbe {
            return [this](const std::string& entry, const std::stop_token& stop) {
                ++probes;
                if (hanging.count(entry) != 0) {
                    while (!stop.stop_requested()) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    }
                    sawStop = true;
                    return false;
                }
                return answering.count(entry) != 0;
            };
        };
    }
};

std::string Entry(const QString& path) {
    return path.toStdString() + ":";
}

}  // namespace

class ScanComPortDialogTest : public QObject {
    Q_OBJECT

  private:
    QStringList lines(ScanComPortDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("scanList"));
        QStringList texts;
        for (int row = 0; row < list->count(); ++row) {
            texts << list->item(row)->text();
        }
        return texts;
    }
    QString status(ScanComPortDialog& dialog) {
        return dialog.findChild<QLabel*>(QStringLiteral("scanStatus"))->text();
    }
    QPushButton* okButton(ScanComPortDialog& dialog) {
        return dialog.findChild<QPushButton*>(QStringLiteral("scanOkButton"));
    }
    void prepare(ScanComPortDialog& dialog, FakePorts& ports,
                 std::chrono::milliseconds grace = std::chrono::milliseconds(300)) {
        dialog.setProbeFactory(ports.factory());
        dialog.setClock(std::make_shared<test::SkippingClock>());
        dialog.setGracePeriod(grace);
    }

  private slots:
    void init() { qputenv("KV820_EXTRA_PORTS", (PortA + ":" + PortB).toLocal8Bit()); }

    void openingRelistsTheOwnersPortsAndNoAnswerLeavesEntryZero() {
        QComboBox owner;
        owner.addItems({"stale:", "older:", "oldest:"});
        owner.setCurrentIndex(2);
        FakePorts ports;
        ScanComPortDialog dialog(ScanVariant::SmsCommand, &owner, nullptr);
        prepare(dialog, ports);
        dialog.show();
        QCOMPARE(owner.count(), 2);
        QCOMPARE(owner.itemText(1), QString::fromStdString(Entry(PortB)));
        QCOMPARE(owner.currentIndex(), 0);
        QTRY_COMPARE(status(dialog), QStringLiteral("Complete Scan."));
        okButton(dialog)->click();
        QCOMPARE(owner.currentIndex(), 0);
        QVERIFY(!dialog.isVisible());
    }

    void theCloseBoxEndsLikeOk() {
        QComboBox owner;
        FakePorts ports;
        ports.answering = {Entry(PortA), Entry(PortB)};
        ScanComPortDialog dialog(ScanVariant::FirmwareWizard, &owner, nullptr);
        prepare(dialog, ports);
        dialog.show();
        QTRY_COMPARE(status(dialog), QStringLiteral("Complete Scan."));
        dialog.close();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(owner.currentIndex(), 0);  // the first that answered
    }

    void endingBeforeTheFirstPortEndsBreaksTheScanWithEntryZero() {
        QComboBox owner;
        FakePorts ports;
        ports.hanging = {Entry(PortA)};
        ports.answering = {Entry(PortB)};
        ScanComPortDialog dialog(ScanVariant::SmsCommand, &owner, nullptr);
        // A port that never ends holds the dialog for the whole grace: a short one here.
        const std::chrono::milliseconds grace(300);
        prepare(dialog, ports, grace);
        dialog.show();
        QTRY_COMPARE(status(dialog), "Scanning " + PortA + "...");

        QString statusDuringGrace;
        bool visibleDuringGrace = false;
        QTimer::singleShot(grace / 4, this, [&] {
            statusDuringGrace = status(dialog);
            visibleDuringGrace = dialog.isVisible();
            // The operator's input goes nowhere meanwhile.
            QTest::mouseClick(okButton(dialog), Qt::LeftButton);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QSignalSpy finished(&dialog, &QDialog::finished);
        okButton(dialog)->click();
        QVERIFY(finished.wait());
        QCOMPARE(statusDuringGrace, QStringLiteral("Break Scan."));
        QVERIFY(visibleDuringGrace);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(owner.currentIndex(), 0);
        QVERIFY(lines(dialog).isEmpty());
        QVERIFY(ports.sawStop);            // stopped and joined before the dialog ended
        QCOMPARE(ports.probes.load(), 1);  // the second port was never probed
    }

    void destroyingTheDialogDuringAScanStopsIt() {
        QComboBox owner;
        FakePorts ports;
        ports.hanging = {Entry(PortA)};
        {
            ScanComPortDialog dialog(ScanVariant::SmsCommand, &owner, nullptr);
            prepare(dialog, ports);
            dialog.show();
            QTRY_COMPARE(ports.probes.load(), 1);
        }
        QVERIFY(ports.sawStop);
    }
};

}  // namespace kv820

QTEST_MAIN(kv820::ScanComPortDialogTest)
#include "scan_com_port_dialog_test.moc"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
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

std::string entry(const QString& path) {
    return path.toStdString() + ":";
}

}  // namespace

class ScanComPortDialogTest : public QObject {
    Q_OBJECT

  private:
    QString status(ScanComPortDialog& dialog) {
        return dialog.findChild<QLabel*>(QStringLiteral("scanStatus"))->text();
    }
    QPushButton* okButton(ScanComPortDialog& dialog) {
        return dialog.findChild<QPushButton*>(QStringLiteral("scanOkButton"));
    }
    // No grace: a port that never ends is stopped as soon as the scan is broken.
    void prepare(ScanComPortDialog& dialog, FakePorts& ports) {
        dialog.setProbeFactory(ports.factory());
        dialog.setClock(std::make_shared<test::SkippingClock>());
        dialog.setGracePeriod(std::chrono::milliseconds(0));
    }

  private slots:
    void init() { qputenv("KV820_EXTRA_PORTS", (PortA + ":" + PortB).toLocal8Bit()); }

    // Which answering port is chosen is the core's and the end-to-end scan's; here the
    // close box ends a finished scan like OK.
    void openingRelistsTheOwnersPortsAndNoAnswerLeavesEntryZero() {
        QComboBox owner;
        owner.addItems({"stale:", "older:", "oldest:"});
        owner.setCurrentIndex(2);
        FakePorts ports;
        ScanComPortDialog dialog(ScanVariant::SmsCommand, &owner, nullptr);
        prepare(dialog, ports);
        dialog.show();
        QCOMPARE(owner.count(), 2);
        QCOMPARE(owner.itemText(1), QString::fromStdString(entry(PortB)));
        QTRY_COMPARE(status(dialog), QStringLiteral("Complete Scan."));
        dialog.close();
        QCOMPARE(owner.currentIndex(), 0);
        QVERIFY(!dialog.isVisible());
    }

    void endingBeforeTheFirstPortEndsBreaksTheScanWithEntryZero() {
        QComboBox owner;
        FakePorts ports;
        ports.hanging = {entry(PortA)};
        ports.answering = {entry(PortB)};
        ScanComPortDialog dialog(ScanVariant::SmsCommand, &owner, nullptr);
        prepare(dialog, ports);
        dialog.show();
        QTRY_COMPARE(status(dialog), "Scanning " + PortA + "...");
        QSignalSpy finished(&dialog, &QDialog::finished);
        okButton(dialog)->click();
        // Within the grace the dialog stays, says so, and the operator's input goes nowhere.
        QCOMPARE(status(dialog), QStringLiteral("Break Scan."));
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(okButton(dialog), Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(owner.currentIndex(), 0);
        QCOMPARE(dialog.findChild<QListWidget*>(QStringLiteral("scanList"))->count(), 0);
        QVERIFY(ports.sawStop);            // stopped and joined before the dialog ended
        QCOMPARE(ports.probes.load(), 1);  // the second port was never probed
    }

    void destroyingTheDialogDuringAScanStopsIt() {
        QComboBox owner;
        FakePorts ports;
        ports.hanging = {entry(PortA)};
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

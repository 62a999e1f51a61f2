#include <gtest/gtest.h>

// Before any Qt header: the simulator has a member named like Qt's "emit" keyword.
#include "sim/pty_simulator.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/ports/scan_com_port_dialog.h"
#include "support/skipping_clock.h"

namespace kv820 {
namespace {

// A whole scan over the real serial link: a silent port first, then a simulated modem.
TEST(ScanE2eTest, TheSmsCommandScanSelectsThePortOfTheModem) {
    auto silent = sim::PtySimulator::modem();
    silent->withModem([](sim::ModemSimulator& m) { m.faults().setSilent(true); });
    auto modem = sim::PtySimulator::modem();
    qputenv("KV820_EXTRA_PORTS",
            QByteArray::fromStdString(silent->devicePath() + ":" + modem->devicePath()));

    QComboBox owner;
    ScanComPortDialog dialog(ScanVariant::SmsCommand, &owner, nullptr);
    auto clock = std::make_shared<test::SkippingClock>();
    dialog.setClock(clock);
    dialog.show();
    auto* status = dialog.findChild<QLabel*>(QStringLiteral("scanStatus"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == "Complete Scan."; }, 20000));

    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("scanList"));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text().toStdString(),
              "Scanning " + silent->devicePath() + "...[Open failed]");
    EXPECT_EQ(list->item(1)->text().toStdString(),
              "Scanning " + modem->devicePath() + "...[Open succeed]");
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("Scanning Completed."));
    // Each port had its pause after the wake and after closing, then the rest at the end.
    EXPECT_GE(clock->slept(), std::chrono::milliseconds(12500));  // 2 x (5000 + 1000) + 1000

    dialog.findChild<QPushButton*>(QStringLiteral("scanOkButton"))->click();
    EXPECT_EQ(owner.currentIndex(), 1);
    EXPECT_EQ(owner.currentText().toStdString(), modem->devicePath() + ":");
    // The scan left no port open: the simulator sees the modem's port closed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !modem->portOpen(); }, 2000));
    qunsetenv("KV820_EXTRA_PORTS");
}

}  // namespace
}  // namespace kv820

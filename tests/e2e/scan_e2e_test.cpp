#include <gtest/gtest.h>

// Before any Qt header: the simulator has a member named like Qt's "emit" keyword.
#include "sim/pty_simulator.h"

#include <QComboBox>
#include <QLabel>
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

    dialog.findChild<QPushButton*>(QStringLiteral("scanOkButton"))->click();
    EXPECT_EQ(owner.currentText().toStdString(), modem->devicePath() + ":");
    // The scan left no port open: the simulator sees the modem's port closed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !modem->portOpen(); }, 2000));
    qunsetenv("KV820_EXTRA_PORTS");
}

}  // namespace
}  // namespace kv820

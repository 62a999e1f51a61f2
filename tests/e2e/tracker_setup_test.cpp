#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/records/search_records_page.h"
#include "app/setup/setup_file_dialog.h"
#include "app/setup/setup_launcher.h"
#include "app/setup/setup_wizard.h"
#include "app/setup/sim_pin_dialog.h"
#include "core/setup/time_zone_text.h"
#include "core/store/database.h"
#include "core/store/user_store.h"
#include "sim/pty_simulator.h"
#include "support/qt/records_database.h"
#include "support/skipping_clock.h"

namespace kv820 {
namespace {

using sim::PtySimulator;
using sim::SetupMessageLayout;
using sim::SimCard;
using sim::TrackerModuleConfig;

// The whole cable setup through the program's windows, against a simulated tracker on a
// pseudo-terminal opened by the real serial link.
class TrackerSetupTest : public ::testing::Test {
  protected:
    void TearDown() override {
        rig_.reset();
        tracker_.reset();
    }

    void startTracker(TrackerModuleConfig config) {
        tracker_ = PtySimulator::tracker(std::move(config));
        qputenv("KV820_EXTRA_PORTS", QByteArray::fromStdString(tracker_->devicePath()));
        rig_ = std::make_unique<test::WindowRig>(std::vector<UserSlot>{});
        launcher_ = rig_->window.findChild<SetupLauncher*>(QStringLiteral("setupLauncher"));
        PortDevices devices;
        devices.makeClock = [] { return std::make_unique<test::SkippingClock>(); };
        launcher_->setDevices(devices);
    }

    bool waitForMessage(const QString& text) {
        return QTest::qWaitFor([&] { return rig_->services.alerts.texts().contains(text); }, 30000);
    }

    // The tracker's stored setup messages, "+k:text" in store order.
    std::vector<std::string> storedMessages() {
        return tracker_->withTracker([](sim::TrackerModuleSimulator& t) {
            std::vector<std::string> messages;
            for (const sim::StoredMessage& m : t.storage().list()) {
                messages.push_back(m.address + ":" + m.body);
            }
            return messages;
        });
    }

    std::unique_ptr<PtySimulator> tracker_;
    std::unique_ptr<test::WindowRig> rig_;
    SetupLauncher* launcher_ = nullptr;
};

TEST_F(TrackerSetupTest, AFreshTrackerAskingForItsPinIsUnlockedSetUpAndRegistered) {
    TrackerModuleConfig config;
    config.simState = SimCard::State::PinRequired;
    config.simPin = "2468";
    config.setupLayout = SetupMessageLayout::None;
    startTracker(config);
    MainWindow& window = rig_->window;
    window.setupAction()->trigger();
    SetupWizard* wizard = launcher_->wizard();
    EXPECT_EQ(wizard->portCombo()->currentText().toStdString(), tracker_->devicePath() + ":");
    wizard->setupButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([wizard] { return !wizard->isConnecting(); }, 30000));
    auto* pinDialog = wizard->findChild<SimPinDialog*>();
    ASSERT_NE(pinDialog, nullptr);
    pinDialog->pinEdit()->setText(QStringLiteral("1111"));
    pinDialog->okButton()->click();
    ASSERT_TRUE(waitForMessage(QStringLiteral("Input ERROR. You have 2 attempts left.")));
    pinDialog->pinEdit()->setText(QStringLiteral("2468"));
    pinDialog->okButton()->click();

    ASSERT_TRUE(QTest::qWaitFor([this] { return launcher_->setupFileDialog() != nullptr; }, 30000));
    SetupFileDialog* dialog = launcher_->setupFileDialog();
    EXPECT_EQ(dialog->form().moduleImei, test::Truck.imei);
    EXPECT_FALSE(window.isEnabled());
    dialog->findChild<QLineEdit*>(QStringLiteral("userNameEdit"))->setText("Truck 1");
    dialog->findChild<QLineEdit*>(QStringLiteral("phoneNumberEdit"))->setText("0912345678");
    dialog->submit();
    ASSERT_TRUE(waitForMessage(QStringLiteral("KV820 Setup is successful.")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isEnabled(); }, 30000));
    const std::string zone = timeZoneText(currentUtcOffsetSeconds());
    EXPECT_EQ(storedMessages(),
              (std::vector<std::string>{"+1:0,3,,,,,,,Truck 1," + zone + ",2,30,1,,2468,",
                                        "+2:,,,,,,,", "+3:5000,,,,,,", "+4:,"}));
    Database db(rig_->path);
    EXPECT_EQ(UserStore(db).readUsers(10),
              (std::vector<UserSlot>{{"Truck 1", "0912345678", test::Truck.imei}}));
    EXPECT_EQ(window.searchPage()->userCombo()->currentText(), QStringLiteral("Truck 1"));
    EXPECT_FALSE(tracker_->portOpen());
}

}  // namespace
}  // namespace kv820

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/common/app_context.h"
#include "app/records/search_records_page.h"
#include "app/setup/setup_file_dialog.h"
#include "app/setup/setup_wizard.h"
#include "app/setup/sim_pin_dialog.h"
#include "app/shell/main_window.h"
#include "app/shell/setup_launcher.h"
#include "core/setup/time_zone_text.h"
#include "core/store/database.h"
#include "core/store/user_store.h"
#include "sim/pty_simulator.h"
#include "support/qt/alert_recorder.h"
#include "support/qt/records_database.h"
#include "support/skipping_clock.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using sim::PtySimulator;
using sim::SetupMessageLayout;
using sim::SimCard;
using sim::TrackerModuleConfig;

const std::string TrackerImei = "354612071234567";

// The whole cable setup through the program's windows, against a simulated tracker on a
// pseudo-terminal opened by the real serial link.
class TrackerSetupTest : public ::testing::Test {
  protected:
    void TearDown() override {
        window_.reset();
        context_.reset();
        tracker_.reset();
    }

    void startTracker(TrackerModuleConfig config) {
        tracker_ = PtySimulator::tracker(std::move(config));
        qputenv("KV820_EXTRA_PORTS", QByteArray::fromStdString(tracker_->devicePath()));
        context_ = std::make_unique<AppContext>(path_);
        window_ = std::make_unique<MainWindow>(*context_);
        window_->show();
        launcher_ = window_->findChild<SetupLauncher*>(QStringLiteral("setupLauncher"));
        SetupDevices devices;
        devices.makeClock = [] { return std::make_unique<test::SkippingClock>(); };
        launcher_->setDevices(devices);
    }

    // "KV820 Setup", then "Setup" on the simulator's port.
    SetupWizard* pressSetup() {
        window_->setupAction()->trigger();
        SetupWizard* wizard = launcher_->wizard();
        EXPECT_EQ(wizard->portCombo()->currentText().toStdString(), tracker_->devicePath() + ":");
        wizard->setupButton()->click();
        return wizard;
    }

    SetupFileDialog* waitForSetupFile() {
        EXPECT_TRUE(
            QTest::qWaitFor([this] { return launcher_->setupFileDialog() != nullptr; }, 30000));
        return launcher_->setupFileDialog();
    }

    bool waitUntilIdle(SetupWizard* wizard) {
        return QTest::qWaitFor([wizard] { return !wizard->isConnecting(); }, 30000);
    }

    bool waitForMessage(const QString& text) {
        return QTest::qWaitFor([&] { return recorder_.texts().contains(text); }, 30000);
    }

    void submit(SetupFileDialog* dialog, const QString& name, const QString& phone) {
        dialog->findChild<QLineEdit*>(QStringLiteral("userNameEdit"))->setText(name);
        dialog->findChild<QLineEdit*>(QStringLiteral("phoneNumberEdit"))->setText(phone);
        dialog->submit();
        ASSERT_TRUE(waitForMessage(QStringLiteral("KV820 Setup is successful.")));
        ASSERT_TRUE(QTest::qWaitFor([this] { return window_->isEnabled(); }, 30000));
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

    std::vector<UserSlot> users() {
        Database db(path_);
        return UserStore(db).readUsers(10);
    }

    static std::string zone() { return TimeZoneText(CurrentUtcOffsetSeconds()); }

    test::TempDir dir_;
    std::string path_ = test::CreateRecordsDatabase(dir_, {});
    test::AlertRecorder recorder_;
    std::unique_ptr<PtySimulator> tracker_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<MainWindow> window_;
    SetupLauncher* launcher_ = nullptr;
};

TEST_F(TrackerSetupTest, AFreshTrackerAskingForItsPinIsUnlockedSetUpAndRegistered) {
    TrackerModuleConfig config;
    config.simState = SimCard::State::PinRequired;
    config.simPin = "2468";
    config.setupLayout = SetupMessageLayout::None;
    startTracker(config);
    SetupWizard* wizard = pressSetup();
    ASSERT_TRUE(waitUntilIdle(wizard));
    auto* pinDialog = wizard->findChild<SimPinDialog*>();
    ASSERT_NE(pinDialog, nullptr);
    pinDialog->pinEdit()->setText(QStringLiteral("1111"));
    pinDialog->okButton()->click();
    ASSERT_TRUE(waitForMessage(QStringLiteral("Input ERROR. You have 2 attempts left.")));
    pinDialog->pinEdit()->setText(QStringLiteral("2468"));
    pinDialog->okButton()->click();

    SetupFileDialog* dialog = waitForSetupFile();
    EXPECT_EQ(dialog->form().moduleImei, TrackerImei);
    EXPECT_FALSE(window_->isEnabled());
    submit(dialog, QStringLiteral("Truck 1"), QStringLiteral("0912345678"));
    EXPECT_EQ(storedMessages(),
              (std::vector<std::string>{"+1:0,3,,,,,,,Truck 1," + zone() + ",2,30,1,,2468,",
                                        "+2:,,,,,,,", "+3:5000,,,,,,", "+4:,"}));
    EXPECT_EQ(users(), (std::vector<UserSlot>{{"Truck 1", "0912345678", TrackerImei}}));
    EXPECT_EQ(window_->searchPage()->userCombo()->currentText(), QStringLiteral("Truck 1"));
    EXPECT_FALSE(tracker_->portOpen());
}

}  // namespace
}  // namespace kv820

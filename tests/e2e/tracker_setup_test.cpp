#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QFile>
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
#include "core/store/schema.h"
#include "core/store/user_store.h"
#include "sim/pty_simulator.h"
#include "support/qt/alert_recorder.h"
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

    void registerUsers(const std::vector<UserSlot>& users) {
        Database db(databasePath());
        for (const UserSlot& user : users) {
            UserStore(db).addOrUpdate(user);
        }
    }

    void startTracker(TrackerModuleConfig config) {
        tracker_ = PtySimulator::tracker(std::move(config));
        qputenv("KV820_EXTRA_PORTS", QByteArray::fromStdString(tracker_->devicePath()));
        context_ = std::make_unique<AppContext>(databasePath());
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
        Database db(databasePath());
        return UserStore(db).readUsers(10);
    }

    std::string databasePath() {
        const std::string path = dir_.file(DatabaseFileName);
        if (!QFile::exists(QString::fromStdString(path))) {
            CreateDatabaseFile(path);
        }
        return path;
    }

    static std::string zone() { return TimeZoneText(CurrentUtcOffsetSeconds()); }

    test::TempDir dir_;
    test::AlertRecorder recorder_;
    std::unique_ptr<PtySimulator> tracker_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<MainWindow> window_;
    SetupLauncher* launcher_ = nullptr;
};

TEST_F(TrackerSetupTest, AFreshTrackerIsSetUpAndRegistered) {
    TrackerModuleConfig config;
    config.setupLayout = SetupMessageLayout::None;
    startTracker(config);
    pressSetup();
    SetupFileDialog* dialog = waitForSetupFile();
    EXPECT_EQ(recorder_.texts(), QStringList({"Your setup file is ERROR."}));
    EXPECT_EQ(dialog->form().moduleImei, TrackerImei);
    EXPECT_EQ(dialog->form().firmwareVersion, "0001");
    EXPECT_EQ(dialog->form().file, SetupFile{});
    EXPECT_FALSE(window_->isEnabled());

    submit(dialog, QStringLiteral("Truck 1"), QStringLiteral("0912345678"));
    EXPECT_EQ(storedMessages(),
              (std::vector<std::string>{"+1:0,3,,,,,,,Truck 1," + zone() + ",2,30,1,,5184,",
                                        "+2:,,,,,,,", "+3:5000,,,,,,", "+4:,"}));
    const std::vector<UserSlot> rows = users();
    EXPECT_EQ(rows, (std::vector<UserSlot>{{"Truck 1", "0912345678", TrackerImei}}));
    EXPECT_EQ(window_->searchPage()->userCombo()->currentText(), QStringLiteral("Truck 1"));
    EXPECT_FALSE(tracker_->portOpen());
}

TEST_F(TrackerSetupTest, ACompleteSetupFileIsReadBackExactlyAndReplacedInPlace) {
    registerUsers(
        {{"Van", "0955000000", "354612079999999"}, {"Truck 7", "0912000007", TrackerImei}});
    TrackerModuleConfig config;
    config.setup.userName = "Name in tracker";
    config.setup.timeZone = "-0.00";
    config.setup.pin = "7777";
    config.setup.defaultReturnEnabled = "1";
    config.setup.maxFixTime = "7";
    config.setup.reportMode = "1";
    config.setup.reportInterval = "60";
    config.setup.reportFormat = "0";
    config.setup.reportCount = "12";
    config.setup.sos1 = "0911000001";
    config.setup.sos2 = "0911000002";
    config.setup.sos3 = "+886911000003";
    config.setup.defaultReturnNumber = "0933000000";
    config.setup.reportReturnNumber = "0944000000";
    startTracker(config);
    pressSetup();
    SetupFileDialog* dialog = waitForSetupFile();
    EXPECT_TRUE(recorder_.texts().isEmpty());

    SetupForm expected;
    expected.firmwareVersion = "V1.01(2007-05-12)";
    expected.moduleImei = TrackerImei;
    expected.phoneNumber = "0912000007";
    SetupFile& file = expected.file;
    file.userName = "Truck 7";  // the registered name, not the tracker's copy
    file.timeZoneOn = false;
    file.defaultReturnEnabled = true;
    file.maxGpsFixingTime = 7;
    file.reportMode = ReportMode::Period;
    file.reportInterval = "60";
    file.reportFormat = 0;
    file.numberOfReports = "12";
    file.sosNumbers = {"0911000001", "0911000002", "+886911000003"};
    file.defaultReturnPhone = "0933000000";
    file.reportReturnPhone = "0944000000";
    const SetupForm shown = dialog->form();
    EXPECT_EQ(shown.firmwareVersion, expected.firmwareVersion);
    EXPECT_EQ(shown.moduleImei, expected.moduleImei);
    EXPECT_EQ(shown.phoneNumber, expected.phoneNumber);
    EXPECT_EQ(shown.file, expected.file);

    submit(dialog, QStringLiteral("Truck 7"), QStringLiteral("0912000008"));
    // The four old messages were deleted first; the tracker's own PIN is kept.
    EXPECT_EQ(
        storedMessages(),
        (std::vector<std::string>{"+1:1,7,,,,,,,Truck 7,-0.00,1,60,0,12,7777,",
                                  "+2:0911000001,0911000002,+886911000003,0933000000,0944000000,,,",
                                  "+3:5000,,,,,,", "+4:,"}));
    const std::vector<UserSlot> rows = users();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].name, "Truck 7");
    EXPECT_EQ(rows[1].phone, "0912000008");
}

TEST_F(TrackerSetupTest, ASimAskingForItsPinIsUnlockedAndThePinWrittenIntoTheFile) {
    TrackerModuleConfig config;
    config.simState = SimCard::State::PinRequired;
    config.simPin = "2468";
    config.setupLayout = SetupMessageLayout::None;
    startTracker(config);
    SetupWizard* wizard = pressSetup();
    ASSERT_TRUE(waitUntilIdle(wizard));
    auto* pinDialog = wizard->findChild<SimPinDialog*>();
    ASSERT_NE(pinDialog, nullptr);
    EXPECT_TRUE(recorder_.texts().isEmpty());

    pinDialog->pinEdit()->setText(QStringLiteral("1111"));
    pinDialog->okButton()->click();
    ASSERT_TRUE(waitForMessage(QStringLiteral("Input ERROR. You have 2 attempts left.")));
    EXPECT_TRUE(pinDialog->isVisible());

    pinDialog->pinEdit()->setText(QStringLiteral("2468"));
    pinDialog->okButton()->click();
    SetupFileDialog* dialog = waitForSetupFile();
    EXPECT_EQ(recorder_.texts(), QStringList({"Input ERROR. You have 2 attempts left.",
                                              "Your SIM PIN is correct. Continue set up.",
                                              "Your setup file is ERROR."}));
    submit(dialog, QStringLiteral("Truck 3"), QStringLiteral("0912000003"));
    EXPECT_EQ(storedMessages().front(), "+1:0,3,,,,,,,Truck 3," + zone() + ",2,30,1,,2468,");
}

}  // namespace
}  // namespace kv820

#include "core/setup/connect_tracker.h"

#include <algorithm>

#include "core/at/modem_wake.h"
#include "core/commands/input_validators.h"
#include "core/setup/connect_progress.h"
#include "core/setup/setup_listing.h"
#include "core/setup/setup_message_codec.h"
#include "core/setup/tracker_identity.h"

namespace kv820 {

namespace {

using std::chrono::milliseconds;

constexpr std::string_view ListingCommand{"at^smgl=\"STO UNSENT\""};
constexpr int WakeAttempts = 3;
constexpr milliseconds WakeWait{5000};
constexpr std::size_t WakeReply = 128;

// One run of the connect sequence over an open wizard.
class TrackerConnection {
  public:
    TrackerConnection(ComPort& port, SetupContext& context, const UserRegistry::Snapshot& users,
                      const ConnectTrackerHooks& hooks)
        : port_(port), context_(context), users_(users), hooks_(hooks), progress_(hooks.progress) {}

    ConnectResult run(const std::string& portEntry);

  private:
    void start(const std::string& portEntry);
    void wakeTracker();
    void identify();
    std::string exchange(std::string_view command, milliseconds timeout = reply_timeout::Module);
    std::optional<ConnectOutcome> check();
    ConnectResult refuse(ConnectOutcome outcome);
    bool isCompleteListing() const;
    ConnectResult readSetupMessages();
    ConnectResult deleteDamagedSetup();
    void deleteFirstCopies(std::string_view listing);

    ComPort& port_;
    SetupContext& context_;
    const UserRegistry::Snapshot& users_;
    const ConnectTrackerHooks& hooks_;
    ConnectProgress progress_;
    ConnectResult result_;
    bool identified_ = false;
    ModemReply pinStateReply_;
    ModemReply listing_;
};

ConnectResult TrackerConnection::run(const std::string& portEntry) {
    start(portEntry);
    wakeTracker();
    identify();
    if (const std::optional<ConnectOutcome> refusal = check()) {
        return refuse(*refusal);
    }
    return isCompleteListing() ? readSetupMessages() : deleteDamagedSetup();
}

void TrackerConnection::start(const std::string& portEntry) {
    progress_.show(1);
    port_.CloseComPort();
    if (hooks_.pulseBreakOnListedPorts) {
        hooks_.pulseBreakOnListedPorts();
    }
    context_.loadedFromDevice = false;
    context_.trackerRegistered = false;
    context_.trackerSimPin.clear();
    context_.storedIndex = {};
    context_.portEntry = portEntry;
    // A port that does not open gives no replies and ends in the ATI check.
    port_.OpenComPort(portEntry);
}

void TrackerConnection::wakeTracker() {
    for (int attempt = 0; attempt < WakeAttempts; ++attempt) {
        port_.SendAtCommand("2", "");
        // A module that echoes the wake character is awake; any other has time to wake.
        if (port_.listen(WakeReply, reply_timeout::Quick) == "2") {
            continue;
        }
        awaitModemAnswer(port_, WakeWait, [this] { progress_.advance(); });
    }
}

std::string TrackerConnection::exchange(std::string_view command, milliseconds timeout) {
    return port_.exchange(command, timeout).text;
}

void TrackerConnection::identify() {
    exchange("at", reply_timeout::Quick);
    result_.firmwareVersion = firmwareVersionFromReply(exchange("tr+fwv", reply_timeout::Quick));
    exchange("at+cfun=1");
    progress_.show(2);
    const ModemReply ati = port_.exchange("ati", reply_timeout::Module);
    identified_ = ati.ok() && ati.contains("SIEMENS");
    progress_.show(3);
    pinStateReply_ = port_.exchange("at+cpin?", reply_timeout::Module);
    progress_.show(4);
    exchange("at+cmgf=1");
    progress_.show(5);
    exchange("at+cpms=\"ME\",\"ME\",\"MT\"");
    progress_.advance();
    listing_ = port_.exchange(ListingCommand, reply_timeout::Listing);
    progress_.advance();
    result_.imei = imeiFromReply(exchange("at+cgsn"));
}

std::optional<ConnectOutcome> TrackerConnection::check() {
    if (!identified_) {
        return ConnectOutcome::ComPortError;
    }
    // An IMEI that is not 15 digits would register a user no report can ever match.
    if (!isValidImei(result_.imei)) {
        return ConnectOutcome::ComPortError;
    }
    if (const auto user = users_.FindUserByImei(result_.imei)) {
        context_.trackerRegistered = true;
        result_.registeredName = user->name;
        result_.registeredPhone = user->phone;
    }
    if (users_.isFull() && !context_.trackerRegistered) {
        return ConnectOutcome::UserLimitReached;
    }
    if (pinStateReply_.contains("ERROR")) {
        return ConnectOutcome::NoSimCard;
    }
    if (pinStateReply_.contains("SIM PIN")) {
        return ConnectOutcome::SimPinRequired;
    }
    if (pinStateReply_.contains("SIM PUK")) {
        return ConnectOutcome::SimLocked;
    }
    if (!listing_.ok()) {
        return ConnectOutcome::ConnectError;
    }
    return std::nullopt;
}

ConnectResult TrackerConnection::refuse(ConnectOutcome outcome) {
    port_.CloseComPort();
    progress_.clear();
    result_.outcome = outcome;
    return result_;
}

bool TrackerConnection::isCompleteListing() const {
    for (int k = 1; k <= SetupMessageCount; ++k) {
        // A message whose entry has no readable index cannot be read or replaced in place.
        if (CountSetupMessage(listing_.text, k) != 1 || !SetupMessageIndex(listing_.text, k)) {
            return false;
        }
    }
    return true;
}

ConnectResult TrackerConnection::readSetupMessages() {
    for (int k = 1; k <= SetupMessageCount; ++k) {
        context_.storedIndex[k - 1] = SetupMessageIndex(listing_.text, k);
    }
    SetupMessageReplies replies;
    for (int k = 1; k <= SetupMessageCount; ++k) {
        progress_.advance();
        replies[k - 1] =
            exchange("at+cmgr=" + std::to_string(*context_.storedIndex[k - 1]), reply_timeout::Sim);
    }
    port_.CloseComPort();
    result_.setupFile = readSetupFile(replies);
    if (IsDigitString(result_.setupFile.simPin)) {
        context_.trackerSimPin = result_.setupFile.simPin;
    }
    context_.loadedFromDevice = true;
    result_.outcome = ConnectOutcome::SetupFileRead;
    return result_;
}

ConnectResult TrackerConnection::deleteDamagedSetup() {
    deleteFirstCopies(listing_.text);
    bool doubled = false;
    for (int k = 1; k <= SetupMessageCount; ++k) {
        doubled = doubled || CountSetupMessage(listing_.text, k) > 1;
    }
    if (doubled) {
        progress_.advance();
        deleteFirstCopies(exchange(ListingCommand, reply_timeout::Listing));
    }
    port_.CloseComPort();
    result_.setupFile = SetupFile{};
    result_.firmwareVersion = std::string(UnknownFirmwareVersion);
    result_.outcome = ConnectOutcome::SetupFileDamaged;
    return result_;
}

void TrackerConnection::deleteFirstCopies(std::string_view listing) {
    for (int k = 1; k <= SetupMessageCount; ++k) {
        if (CountSetupMessage(listing, k) == 0) {
            continue;
        }
        context_.storedIndex[k - 1] = SetupMessageIndex(listing, k);
        // Without a readable index the delete would hit whatever message sits at a guess.
        if (!context_.storedIndex[k - 1]) {
            continue;
        }
        progress_.advance();
        exchange("at+cmgd=" + std::to_string(*context_.storedIndex[k - 1]), reply_timeout::Sim);
    }
}

}  // namespace

ConnectResult ConnectTracker(ComPort& port, const std::string& portEntry, SetupContext& context,
                             const UserRegistry::Snapshot& users,
                             const ConnectTrackerHooks& hooks) {
    return TrackerConnection(port, context, users, hooks).run(portEntry);
}

std::string connectOutcomeMessage(ConnectOutcome outcome, std::size_t userSlots) {
    switch (outcome) {
        case ConnectOutcome::SetupFileDamaged:
            return "Your setup file is ERROR.";
        case ConnectOutcome::ComPortError:
            return "COM Port is ERROR.";
        case ConnectOutcome::UserLimitReached:
            return userSlots == UserRegistry::MaxUsers
                       ? "Five users login already, please delete one."
                       : std::to_string(userSlots) + " users login already, please delete one.";
        case ConnectOutcome::NoSimCard:
            return "Please check the SIM card.";
        case ConnectOutcome::SimLocked:
            return "Your SIM card is locked.";
        case ConnectOutcome::ConnectError:
            return "Connect is ERROR.";
        case ConnectOutcome::SetupFileRead:
        case ConnectOutcome::SimPinRequired:
            break;
    }
    return {};
}

}  // namespace kv820

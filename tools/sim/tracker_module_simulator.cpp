#include "sim/tracker_module_simulator.h"

#include "sim/text_mode_format.h"

namespace kv820::sim {
namespace {

constexpr int SimNotInserted = 310;
constexpr int SimPinRequired = 311;
constexpr int SimPukRequired = 316;
constexpr int InvalidMemoryIndex = 321;
constexpr int MemoryFull = 322;
constexpr int CmeOperationNotAllowed = 3;
constexpr int CmeSimNotInserted = 10;
constexpr int CmeIncorrectPassword = 16;
// A boot loader waiting for an image repeats its "C" about once a second for a while.
constexpr int BootLoaderPrompts = 10;

}  // namespace

TrackerModuleSimulator::TrackerModuleSimulator(TrackerModuleConfig config)
    : config_(std::move(config)), store_(config_.capacity), sim_(config_.simState, config_.simPin) {
    sim_.setPinAttempts(config_.pinAttempts);
    loadSetupMessages(config_.setupLayout, config_.setup);
}

void TrackerModuleSimulator::loadSetupMessages(SetupMessageLayout layout,
                                               const SetupValues& values) {
    store_.clear();
    for (const SetupMessage& message : setupMessages(values, layout)) {
        store_.add(StoredMessage{0, MessageStatus::StoredUnsent, message.address, message.text,
                                 std::nullopt});
    }
}

void TrackerModuleSimulator::tick(std::chrono::steady_clock::time_point now) {
    if (bootLoaderPrompts_ <= 0) {
        return;
    }
    if (!lastBootPrompt_) {
        lastBootPrompt_ = now;
    } else if (now - *lastBootPrompt_ >= std::chrono::seconds(1)) {
        queueOutput("C");
        --bootLoaderPrompts_;
        lastBootPrompt_ = now;
    }
}

std::string TrackerModuleSimulator::answerWake(char wake) {
    bootLoaderPrompts_ = 0;
    lastBootPrompt_.reset();
    if (wake == '2') {
        return config_.wakeEcho ? "2" : "";
    }
    if (!config_.answersFirmwareProbe) {
        return "";
    }
    bootLoaderPrompts_ = BootLoaderPrompts;
    return "C";
}

std::string TrackerModuleSimulator::answerCommand(std::string_view command) {
    bootLoaderPrompts_ = 0;
    std::string_view rest;
    if (matches(command, "at") && command.size() == 2) {
        return okResult();
    }
    if (matches(command, "ati", &rest) && (rest.empty() || rest == "0")) {
        return "\r\n" + config_.manufacturer + "\r\nMC35i\r\nREVISION 02.00\r\n" + okResult();
    }
    if (matches(command, "tr+fwv") && command.size() == 6) {
        if (!config_.firmwareVersion) {
            return errorResult();
        }
        return informationLine("KV-820" + *config_.firmwareVersion) + okResult();
    }
    if (matches(command, "at+cgsn") && command.size() == 7) {
        return informationLine(config_.imei) + okResult();
    }
    if (matches(command, "at+cfun=", &rest) && (rest == "0" || rest == "1")) {
        return okResult();
    }
    if (matches(command, "at+cmgf=", &rest) && (rest == "0" || rest == "1")) {
        textMode_ = rest == "1";
        return okResult();
    }
    if (matches(command, "at+cnmi=")) {
        return okResult();
    }
    bool handled = false;
    std::string reply = answerSimCommand(command, &handled);
    return handled ? reply : answerStorageCommand(command);
}

std::string TrackerModuleSimulator::answerSimCommand(std::string_view command, bool* handled) {
    std::string_view rest;
    *handled = true;
    if (matches(command, "at+cpin?") && command.size() == 8) {
        switch (sim_.state()) {
            case SimCard::State::Ready:
                return informationLine("+CPIN: READY") + okResult();
            case SimCard::State::PinRequired:
                return informationLine("+CPIN: SIM PIN") + okResult();
            case SimCard::State::PukRequired:
                return informationLine("+CPIN: SIM PUK") + okResult();
            case SimCard::State::Absent:
                return cmeError(CmeSimNotInserted);
        }
    }
    if (matches(command, "at+cpin=", &rest)) {
        return answerPinEntry(rest);
    }
    if (matches(command, "at^spic") && command.size() == 7) {
        if (sim_.state() == SimCard::State::Absent) {
            return cmeError(CmeSimNotInserted);
        }
        return informationLine("^SPIC: " + std::to_string(sim_.attemptsLeft())) + okResult();
    }
    *handled = false;
    return {};
}

std::string TrackerModuleSimulator::answerPinEntry(std::string_view arguments) {
    const auto comma = arguments.find(',');
    const std::string password = unquoted(arguments.substr(0, comma));
    const std::string newPin =
        comma == std::string_view::npos ? std::string() : unquoted(arguments.substr(comma + 1));
    if (sim_.state() == SimCard::State::Absent) {
        return cmeError(CmeSimNotInserted);
    }
    switch (sim_.enter(password, newPin)) {
        case SimCard::Entry::Accepted:
            return okResult();
        case SimCard::Entry::Wrong:
            return cmeError(CmeIncorrectPassword);
        case SimCard::Entry::NotAllowed:
            break;
    }
    return cmeError(CmeOperationNotAllowed);
}

std::optional<std::string> TrackerModuleSimulator::simNotReadyError() const {
    switch (sim_.state()) {
        case SimCard::State::Ready:
            return std::nullopt;
        case SimCard::State::PinRequired:
            return cmsError(SimPinRequired);
        case SimCard::State::PukRequired:
            return cmsError(SimPukRequired);
        case SimCard::State::Absent:
            return cmsError(SimNotInserted);
    }
    return std::nullopt;
}

std::string TrackerModuleSimulator::answerStorageCommand(std::string_view command) {
    std::string_view rest;
    const bool known = matches(command, "at+cpms=") || matches(command, "at^smgl") ||
                       matches(command, "at+cmgl") || matches(command, "at+cmgr=") ||
                       matches(command, "at+cmgd=") || matches(command, "at+cmgw");
    if (!known) {
        return errorResult();
    }
    if (auto error = simNotReadyError()) {
        return *error;
    }
    if (!textMode_ && !matches(command, "at+cpms=") && !matches(command, "at+cmgd=")) {
        return cmsError(302);
    }
    if (matches(command, "at+cpms=", &rest)) {
        return answerStorageSelection(rest);
    }
    if (matches(command, "at^smgl", &rest)) {
        return listingReply(store_, "^SMGL", rest, false);
    }
    if (matches(command, "at+cmgl", &rest)) {
        return listingReply(store_, "+CMGL", rest, false);
    }
    if (matches(command, "at+cmgr=", &rest)) {
        return answerRead(rest);
    }
    if (matches(command, "at+cmgd=", &rest)) {
        return answerDelete(rest);
    }
    matches(command, "at+cmgw", &rest);
    return answerWrite(rest);
}

std::string TrackerModuleSimulator::answerStorageSelection(std::string_view argument) {
    std::string_view remaining = argument;
    while (!remaining.empty()) {
        const auto comma = remaining.find(',');
        const std::string memory = unquoted(remaining.substr(0, comma));
        if (memory != "ME" && memory != "SM" && memory != "MT") {
            return cmsError(302);
        }
        remaining =
            comma == std::string_view::npos ? std::string_view() : remaining.substr(comma + 1);
    }
    const std::string counts =
        std::to_string(store_.size()) + "," + std::to_string(store_.capacity());
    return informationLine("+CPMS: " + counts + "," + counts + "," + counts) + okResult();
}

std::string TrackerModuleSimulator::answerRead(std::string_view argument) {
    int index = 0;
    const StoredMessage* message = parseIndex(argument, &index) ? store_.find(index) : nullptr;
    if (!message) {
        return cmsError(InvalidMemoryIndex);
    }
    return readResponse(*message) + okResult();
}

std::string TrackerModuleSimulator::answerDelete(std::string_view argument) {
    int index = 0;
    if (!parseIndex(argument.substr(0, argument.find(',')), &index) || !store_.inRange(index)) {
        return cmsError(InvalidMemoryIndex);
    }
    store_.remove(index);
    return okResult();
}

std::string TrackerModuleSimulator::answerWrite(std::string_view argument) {
    if (!argument.empty() && argument.front() != '=') {
        return errorResult();
    }
    const std::string_view address = argument.empty() ? argument : argument.substr(1);
    pendingAddress_ = unquoted(address.substr(0, address.find(',')));
    return promptForMessageText();
}

std::string TrackerModuleSimulator::answerMessageText(std::string_view text) {
    if (!pendingAddress_) {
        return errorResult();
    }
    StoredMessage message{0, MessageStatus::StoredUnsent, *pendingAddress_, std::string(text),
                          std::nullopt};
    pendingAddress_.reset();
    const auto index = store_.add(std::move(message));
    if (!index) {
        return cmsError(MemoryFull);
    }
    return informationLine("+CMGW: " + std::to_string(*index)) + okResult();
}

}  // namespace kv820::sim

#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sim/at_input_framer.h"
#include "sim/fault_injector.h"

namespace kv820::sim {

class MessageStore;

// What both simulated devices share: a pure, byte-driven conversation. Feed it the bytes
// the program writes; it returns the bytes the device sends back. Command echo ("ATE"),
// the "> " text entry and the faults are handled here; each device answers its commands.
// Not thread-safe: PtySimulator serialises all calls.
class AtDeviceSimulator {
  public:
    virtual ~AtDeviceSimulator() = default;

    // Processes the bytes and returns everything the device sends in answer, together with
    // any unsolicited output queued before.
    std::string feed(std::string_view bytes);
    // Unsolicited output queued since the last feed or take (announcements, noise).
    std::string takeOutput();

    // A command line a feed completed, and where in that feed's output its answer begins:
    // what comes before (its echo) goes out as the line arrives, so that a line with a slow
    // device can hold back the answer alone.
    struct ReceivedCommand {
        std::string line;
        std::size_t answerStart = 0;
    };
    // The command line the last feed completed, if it completed one; feed one byte at a
    // time to tell each line's output apart.
    std::optional<ReceivedCommand> takeReceivedCommand();
    // Lets a device send what is due by time (a boot loader's repeated "C").
    virtual void tick(std::chrono::steady_clock::time_point now) { (void)now; }
    // The program opened or closed its side of the line.
    virtual void portOpened() {}
    virtual void portClosed() {}

    void setEcho(bool on) { echo_ = on; }
    bool echo() const { return echo_; }
    FaultInjector& faults() { return faults_; }

    // Line garbage on the wire, sent at once.
    void injectNoise(std::string_view bytes) { queueOutput(bytes); }
    // An unsolicited line of `length` characters and CR LF.
    void injectOverlongLine(std::size_t length) {
        queueOutput(FaultInjector::overlongLine(length));
    }

  protected:
    // The reply to one command line (without echo); `command` is the line as received.
    virtual std::string answerCommand(std::string_view command) = 0;
    // The answer to a lone wake character; empty for none.
    virtual std::string answerWake(char wake) = 0;
    // The reply to message text ended by Ctrl-Z, after a prompt this device gave.
    virtual std::string answerMessageText(std::string_view text) = 0;
    virtual void cancelMessageText() {}

    // Called from answerCommand: returns the prompt and switches the input to message text.
    std::string promptForMessageText();
    // Dropped while the device hangs: a hung modem says nothing, not even "+CMTI".
    void queueOutput(std::string_view bytes) {
        if (!faults_.hung()) {
            output_.append(bytes);
        }
    }

    // Case-insensitive: does `command` start with `prefix`? Sets `rest` to what follows.
    static bool matches(std::string_view command, std::string_view prefix,
                        std::string_view* rest = nullptr);
    // A decimal number as the whole of `text`; nullopt otherwise.
    static bool parseIndex(std::string_view text, int* index);
    static std::string unquoted(std::string_view text);
    // The reply to a listing command ("+CMGL" or "^SMGL"): `argument` is empty (the unread
    // messages) or "=" and a quoted status text or "ALL"; anything else is ERROR. Listed
    // unread messages become read when `marksRead`.
    static std::string listingReply(MessageStore& store, std::string_view prefix,
                                    std::string_view argument, bool marksRead);

  private:
    void handle(const FramedInput& input);
    void handleCommand(const std::string& command);
    std::string answerEchoCommand(std::string_view command);

    AtInputFramer framer_;
    FaultInjector faults_;
    std::string output_;
    std::optional<ReceivedCommand> received_;
    bool echo_ = true;
};

}  // namespace kv820::sim

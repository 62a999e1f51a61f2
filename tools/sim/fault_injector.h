#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv820::sim {

// Faults a device can be told to show, shared by both simulated devices. Faults that
// concern "the next command" are used up by that command; the others hold until cleared.
class FaultInjector {
  public:
    // The next `count` commands get no reply at all (no echo either) and are not carried out.
    void silenceNext(int count = 1) { silentCommands_ += count; }
    // Every command from now on goes unanswered, until setSilent(false) or clear().
    void setSilent(bool silent) { silent_ = silent; }
    // The next `count` commands answer "ERROR" (after their echo) and are not carried out.
    void errorNext(int count = 1) { errorCommands_ += count; }
    // Every command that starts with `prefix` (any case) answers "ERROR" until clear().
    void errorOn(std::string prefix);
    // The reply to the next command is cut to its first `bytes` bytes; with a `prefix`, the
    // reply to the next command that starts with it (any case), whatever comes before.
    void cutNext(std::size_t bytes, std::string_view prefix = {});
    // A hung device: its port stays open, but it answers no command and announces nothing
    // until setHung(false) or clear(). What arrives meanwhile is still stored.
    void setHung(bool hung) { hung_ = hung; }
    // The device is gone: from now on it neither reads nor answers.
    void vanish() { vanished_ = true; }
    // Plugged in again: it reads and answers as before.
    void reappear() { vanished_ = false; }
    void clear();

    bool vanished() const { return vanished_; }
    bool hung() const { return hung_; }

    // Used by the device for each command: true when it must stay silent (uses up a count).
    bool takeSilence();
    // True when the command must answer "ERROR" (uses up a count).
    bool takeError(std::string_view command);
    // Applies a pending cut to the complete reply of a command (the message text after a
    // prompt is no command: only a cut without a prefix applies to its reply).
    std::string shapeReply(std::string_view command, std::string reply);

    // A line of `length` printable characters ended by CR LF, longer than any reader's buffer.
    static std::string overlongLine(std::size_t length);
    // `count` bytes of line noise (no CR or LF, so they do not end a line by themselves).
    static std::string noise(std::size_t count, unsigned seed = 1);

  private:
    bool silent_ = false;
    bool hung_ = false;
    bool vanished_ = false;
    int silentCommands_ = 0;
    int errorCommands_ = 0;
    std::optional<std::size_t> cutTo_;
    std::string cutPrefix_;
    std::vector<std::string> errorPrefixes_;
};

}  // namespace kv820::sim

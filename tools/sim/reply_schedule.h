#pragma once

#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kv820::sim {

// How long a device takes to answer some commands: a fixed time (shortest == longest) or
// a time drawn uniformly from [shortest, longest]. Commands are named without "AT" and
// "+", in lower case: "cmgr" stands for every "at+cmgr=..." line.
struct ReplyDelayRule {
    std::vector<std::string> commands;
    std::chrono::milliseconds shortest{0};
    std::chrono::milliseconds longest{0};
    bool operator==(const ReplyDelayRule&) const = default;
};

// "cmgr=550" or "cmgr,cmgd,cmgl=0-1200"; nullopt for anything else.
std::optional<ReplyDelayRule> replyDelayRuleFromWord(std::string_view word);

// The name a rule knows a command line by: "at+cmgr=3" is "cmgr", "at+cmgl" is "cmgl",
// "ati" is "i", "at" is "".
std::string commandName(std::string_view line);

// When each piece of a device's answers is due on the line. The echo of a command goes
// out as the line arrives; its answer after the command's delay, counted from the moment
// the line arrived. Answers leave in the order their commands came: an answer never
// overtakes the one before it, however short its own delay. Unsolicited output is not
// scheduled here: it may go out while an answer is held back, as on a real modem.
class ReplySchedule {
  public:
    using Moment = std::chrono::steady_clock::time_point;

    struct CommandTimes {
        Moment echo;
        Moment answer;
    };

    // The delay of every command no rule names (0 at first).
    void setDefaultDelay(std::chrono::milliseconds delay) { defaultDelay_ = delay; }
    // A later rule for the same command replaces the earlier one.
    void addRule(ReplyDelayRule rule);
    void setSeed(unsigned seed) { random_.seed(seed); }

    CommandTimes scheduleCommand(std::string_view line, Moment received);
    // Any other answer (a prompt's typed text, the result of a sent text, a wake answer),
    // delayed like a command no rule names.
    Moment scheduleAnswer(Moment received);
    // Nothing is held back any more (the port was closed and opened again).
    void forgetPending() { lastDue_ = Moment{}; }

  private:
    std::chrono::milliseconds delayOf(std::string_view line);
    Moment inOrder(Moment due);

    std::chrono::milliseconds defaultDelay_{0};
    std::vector<ReplyDelayRule> rules_;
    std::mt19937 random_{1};
    Moment lastDue_{};
};

}  // namespace kv820::sim

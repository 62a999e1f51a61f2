#include "command_line_options.h"

#include <stdexcept>

#include "sim/control_channel.h"

namespace kv820::sim {
namespace {

SimCard::State simStateFrom(const std::string& word) {
    if (const auto state = simStateFromWord(word)) {
        return *state;
    }
    throw std::invalid_argument("--sim takes ready, pin, puk or none");
}

SetupMessageLayout layoutFrom(const std::string& word) {
    if (const auto layout = setupMessageLayoutFromWord(word)) {
        return *layout;
    }
    throw std::invalid_argument("--setup takes complete, none, damaged or doubled");
}

bool onOff(const std::string& option, const std::string& word) {
    if (word != "on" && word != "off") {
        throw std::invalid_argument(option + " takes on or off");
    }
    return word == "on";
}

int count(const std::string& option, const std::string& word) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(word, &used);
        if (used == word.size() && value >= 0) {
            return value;
        }
    } catch (const std::exception&) {
    }
    throw std::invalid_argument(option + " takes a number");
}

bool applyCommon(CommandLineOptions& o, const std::string& option, const std::string& value) {
    if (option == "--echo")
        o.echo = onOff(option, value);
    else if (option == "--delay")
        o.delayMs = count(option, value);
    else if (option == "--reply-delay") {
        const auto rule = replyDelayRuleFromWord(value);
        if (!rule) {
            throw std::invalid_argument(option + " takes COMMANDS=MS or COMMANDS=MIN-MAX");
        }
        o.replyDelays.push_back(*rule);
    } else if (option == "--seed")
        o.seed = static_cast<unsigned>(count(option, value));
    else if (option == "--scenario")
        o.scenario = value;
    else if (option == "--link")
        o.link = value;
    else
        return false;
    return true;
}

// "--lose-cmti 'every 3'" is the control words "lose-cmti every 3".
bool applyHabit(CommandLineOptions& o, const std::string& option, const std::string& value) {
    if (!option.starts_with("--")) {
        return false;
    }
    std::vector<std::string> words = splitWords(value);
    words.insert(words.begin(), option.substr(2));
    if (!habitFromWords(words)) {
        return false;
    }
    o.habits.push_back(std::move(words));
    return true;
}

bool applyModem(CommandLineOptions& o, const std::string& option, const std::string& value) {
    if (option == "--capacity")
        o.capacity = static_cast<std::size_t>(count(option, value));
    else if (option == "--stored-report")
        o.storedReports.push_back(value);
    else if (option == "--stored-sms") {
        if (value.find('=') == std::string::npos) {
            throw std::invalid_argument("--stored-sms takes FROM=TEXT");
        }
        o.storedSms.push_back(value);
    } else if (option == "--auto-report")
        o.autoReportSeconds = count(option, value);
    else if (option == "--tracker")
        o.trackers.push_back(value);
    else
        return applyHabit(o, option, value);
    return true;
}

bool applyTracker(CommandLineOptions& o, const std::string& option, const std::string& value) {
    TrackerModuleConfig& t = o.tracker;
    if (option == "--imei")
        t.imei = value;
    else if (option == "--firmware") {
        t.firmwareVersion = value == "none" ? std::nullopt : std::optional<std::string>(value);
    } else if (option == "--sim")
        t.simState = simStateFrom(value);
    else if (option == "--pin")
        t.simPin = value;
    else if (option == "--pin-attempts")
        t.pinAttempts = count(option, value);
    else if (option == "--setup")
        t.setupLayout = layoutFrom(value);
    else if (option == "--user-name")
        t.setup.userName = value;
    else if (option == "--setup-pin")
        t.setup.pin = value;
    else if (option == "--manufacturer")
        t.manufacturer = value;
    else
        return false;
    return true;
}

}  // namespace

CommandLineOptions parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineOptions options;
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        options.help = true;
        return options;
    }
    if (arguments[0] != "modem" && arguments[0] != "tracker") {
        throw std::invalid_argument("the first argument is modem or tracker");
    }
    options.modem = arguments[0] == "modem";
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--ignore-stdin") {
            options.ignoreStdin = true;
            continue;
        }
        if (option == "--no-wake-echo" && !options.modem) {
            options.tracker.wakeEcho = false;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            throw std::invalid_argument(option + " needs a value");
        }
        const std::string& value = arguments[++i];
        const bool known = applyCommon(options, option, value) ||
                           (options.modem ? applyModem(options, option, value)
                                          : applyTracker(options, option, value));
        if (!known) {
            throw std::invalid_argument("unknown option for this role: " + option);
        }
    }
    if (options.autoReportSeconds > 0 && options.trackers.empty()) {
        throw std::invalid_argument("--auto-report needs at least one --tracker IMEI");
    }
    return options;
}

std::string usageText() {
    return R"(Usage:
  kv820-sim modem [options]     plays the GSM modem of an SMS session
  kv820-sim tracker [options]   plays a tracker's GSM module on the cable

Prints the pseudo-terminal to open (or the --link) as its first line, then serves until
standard input ends (or, with --ignore-stdin, until SIGINT or SIGTERM). Standard input takes
control commands, one per line (see below).

Both roles:
  --echo on|off            command echo (on)
  --delay MS               answer delay of the commands no --reply-delay names (0)
  --reply-delay CMDS=MS    these commands answer MS late (the echo goes at once), e.g.
                           cmgr,cmgd,cmgl=550; CMDS=MIN-MAX: a random delay in the range;
                           repeatable, a later rule for a command replaces an earlier one
  --seed N                 where the random delays start from (different on every run)
  --scenario FILE          control commands to run at start (with "sleep MS" for timing)
  --ignore-stdin           do not read standard input; stop on a signal only
  --link PATH              PATH becomes a symbolic link to the pseudo-terminal, as a udev
                           rule names an adapter: "vanish" removes it, "reappear" points it
                           at the new terminal; printed instead of the terminal
Modem:
  --capacity N             SIM message memory size (30)
  --stored-report IMEI     a report already stored (unread) at start; repeatable
  --stored-sms FROM=TEXT   a plain SMS already stored at start; repeatable
  --auto-report SECONDS    every SECONDS, while the program has the session open, each
  --tracker IMEI           listed tracker reports a moving 3D position (repeat --tracker)
  --receive-store sm|me    where new messages go; me: the modem's own memory, whatever the
                           program chose ("+CMTI: \"ME\",n")
  --pdu-only on|off        text mode is refused: PDU mode only (off)
  --lose-cmti "every N"    every N-th announcement is lost; "next": the first one
  --refuse-send CODE       the first SMS sent is refused with "+CMS ERROR: CODE"
Tracker:
  --imei IMEI              (354612071234567)
  --firmware TEXT|none     version text after "KV-820" (V1.01(2007-05-12)); none: no reply
  --sim ready|pin|puk|none SIM state (ready)
  --pin PIN                the SIM's PIN (5184)
  --pin-attempts N         wrong PINs left before the PUK is wanted (3)
  --setup complete|none|damaged|doubled   stored setup messages (complete)
  --user-name NAME         user name in the stored setup (Tracker 1)
  --setup-pin PIN          PIN written in the stored setup (5184)
  --manufacturer TEXT      first line of the "ati" reply (SIEMENS)
  --no-wake-echo           do not echo the wake character "2"

)";
}

}  // namespace kv820::sim

#include "sim/control_channel.h"

#include "core/common/number_text.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace kv820::sim {
namespace {

const char Ok[] = "ok\n";
constexpr double DefaultLongitude = 121.502057;
constexpr double DefaultLatitude = 25.052057;

std::string failure(std::string_view why) {
    return "error: " + std::string(why) + "\n";
}

// The rest of the line from word `first` on, joined by single spaces.
std::string joinFrom(const std::vector<std::string>& words, std::size_t first) {
    std::string text;
    for (std::size_t i = first; i < words.size(); ++i) {
        text += (i > first ? " " : "") + words[i];
    }
    return text;
}

int number(const std::string& word) {
    std::size_t used = 0;
    int value = -1;
    try {
        value = std::stoi(word, &used);
    } catch (const std::exception&) {
    }
    if (used != word.size() || value < 0) {
        throw std::invalid_argument("not a number: " + word);
    }
    return value;
}

std::string coordinate(const std::string& value, bool longitude) {
    if (!value.empty() && std::string_view("EWNS").find(value[0]) != std::string_view::npos) {
        return value;
    }
    if (!isDecimalText(value)) {
        throw std::invalid_argument("not a coordinate: " + value);
    }
    const double degrees = leadingDecimal(value);
    return longitude ? longitudeField(degrees) : latitudeField(degrees);
}

std::string visible(std::string_view text) {
    std::string shown;
    for (char c : text) {
        if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else {
            shown += c;
        }
    }
    return shown;
}

bool onOff(const std::string& word) {
    if (word != "on" && word != "off") {
        throw std::invalid_argument("expected on or off");
    }
    return word == "on";
}

ReplyDelayRule replyDelayFromWord(const std::string& word) {
    if (auto rule = replyDelayRuleFromWord(word)) {
        return *rule;
    }
    throw std::invalid_argument("reply-delay takes COMMANDS=MS or COMMANDS=MIN-MAX");
}

SetupMessageLayout layoutFromWord(const std::string& word) {
    if (const auto layout = setupMessageLayoutFromWord(word)) {
        return *layout;
    }
    throw std::invalid_argument("setup is complete, none, damaged or doubled");
}

}  // namespace

std::optional<std::function<void(ModemHabits&)>> habitFromWords(
    const std::vector<std::string>& words) {
    const std::string& command = words[0];
    if (command == "receive-store" && words.size() == 2) {
        if (words[1] != "sm" && words[1] != "me") {
            throw std::invalid_argument("receive-store takes sm or me");
        }
        const bool phoneMemory = words[1] == "me";
        return [phoneMemory](ModemHabits& h) { h.receiveInPhoneMemory = phoneMemory; };
    }
    if (command == "pdu-only" && words.size() == 2) {
        const bool on = onOff(words[1]);
        return [on](ModemHabits& h) { h.pduOnly = on; };
    }
    if (command == "lose-cmti" && words.size() >= 2) {
        if (words[1] == "next" && words.size() == 2) {
            return [](ModemHabits& h) { ++h.loseNext; };
        }
        if (words[1] == "off" && words.size() == 2) {
            return [](ModemHabits& h) { h.loseNext = h.loseEveryNth = 0; };
        }
        if (words[1] == "every" && words.size() == 3) {
            const int nth = number(words[2]);
            return [nth](ModemHabits& h) { h.loseEveryNth = nth; };
        }
        throw std::invalid_argument("lose-cmti takes next, every N or off");
    }
    if (command == "refuse-send" && words.size() == 2) {
        const int code = number(words[1]);
        return [code](ModemHabits& h) { h.refuseNextSend = code; };
    }
    return std::nullopt;
}

std::vector<std::string> splitWords(std::string_view line) {
    std::istringstream stream{std::string(line)};
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

TrackerReport reportFromWords(const std::vector<std::string>& words, std::size_t first,
                              std::time_t utc) {
    if (first >= words.size()) {
        throw std::invalid_argument("an IMEI is needed");
    }
    TrackerReport report = TrackerReport::at(words[first], DefaultLongitude, DefaultLatitude, utc);
    for (std::size_t i = first + 1; i < words.size(); ++i) {
        const auto equals = words[i].find('=');
        if (equals == std::string::npos) {
            throw std::invalid_argument("expected key=value: " + words[i]);
        }
        const std::string key = words[i].substr(0, equals);
        const std::string value = words[i].substr(equals + 1);
        if (key == "kind")
            report.kind = value;
        else if (key == "fix")
            report.fix = value;
        else if (key == "date")
            report.gpsDate = value;
        else if (key == "time")
            report.gpsTime = value;
        else if (key == "lon")
            report.longitude = coordinate(value, true);
        else if (key == "lat")
            report.latitude = coordinate(value, false);
        else if (key == "alt")
            report.altitude = value;
        else if (key == "speed")
            report.speedKnots = value;
        else if (key == "course")
            report.course = value;
        else if (key == "sats")
            report.satellites = value;
        else if (key == "last")
            report.last = value;
        else
            throw std::invalid_argument("unknown key: " + key);
    }
    return report;
}

std::string ControlChannel::execute(std::string_view line) {
    const std::vector<std::string> words = splitWords(line);
    if (words.empty() || words[0][0] == '#') {
        return "";
    }
    try {
        return run(words);
    } catch (const std::bad_cast&) {
        return failure("not a command of this role: " + words[0]);
    } catch (const std::exception& error) {
        return failure(error.what());
    }
}

std::string ControlChannel::run(const std::vector<std::string>& words) {
    const std::string& command = words[0];
    if (command == "help") {
        return helpText() + Ok;
    }
    if (command == "quit") {
        quit_ = true;
        return Ok;
    }
    if (command == "sleep" && words.size() == 2) {
        std::this_thread::sleep_for(std::chrono::milliseconds(number(words[1])));
        return Ok;
    }
    if (command == "delay" && words.size() == 2) {
        simulator_.setReplyDelay(std::chrono::milliseconds(number(words[1])));
        return Ok;
    }
    if (command == "reply-delay" && words.size() == 2) {
        simulator_.addReplyDelay(replyDelayFromWord(words[1]));
        return Ok;
    }
    if (command == "seed" && words.size() == 2) {
        simulator_.setReplySeed(static_cast<unsigned>(number(words[1])));
        return Ok;
    }
    if (command == "echo" && words.size() == 2) {
        const bool on = onOff(words[1]);
        simulator_.withDevice([on](AtDeviceSimulator& d) { d.setEcho(on); });
        return Ok;
    }
    bool handled = false;
    std::string answer = runFaultCommand(words, &handled);
    if (!handled) {
        answer = runModemCommand(words, &handled);
    }
    if (!handled) {
        answer = runTrackerCommand(words, &handled);
    }
    return handled ? answer : failure("unknown command: " + command + " (try help)");
}

std::string ControlChannel::runFaultCommand(const std::vector<std::string>& words, bool* handled) {
    const std::string& command = words[0];
    *handled = true;
    auto faults = [this](auto change) {
        simulator_.withDevice([&](AtDeviceSimulator& d) { change(d); });
    };
    if (command == "silence") {
        const std::string mode = words.size() > 1 ? words[1] : "1";
        if (mode == "on" || mode == "off") {
            faults([&](AtDeviceSimulator& d) { d.faults().setSilent(mode == "on"); });
        } else {
            const int count = number(mode);
            faults([&](AtDeviceSimulator& d) { d.faults().silenceNext(count); });
        }
    } else if (command == "error") {
        const std::string prefix = joinFrom(words, 1);
        faults([&](AtDeviceSimulator& d) {
            prefix.empty() ? d.faults().errorNext() : d.faults().errorOn(prefix);
        });
    } else if (command == "cut" && words.size() == 2) {
        const int bytes = number(words[1]);
        faults([&](AtDeviceSimulator& d) { d.faults().cutNext(static_cast<std::size_t>(bytes)); });
    } else if (command == "noise" && words.size() == 2) {
        const int count = number(words[1]);
        faults([&](AtDeviceSimulator& d) {
            d.injectNoise(FaultInjector::noise(static_cast<std::size_t>(count), std::rand()));
        });
    } else if (command == "longline" && words.size() == 2) {
        const int length = number(words[1]);
        faults(
            [&](AtDeviceSimulator& d) { d.injectOverlongLine(static_cast<std::size_t>(length)); });
    } else if (command == "hang" || command == "answer") {
        const bool hung = command == "hang";
        faults([&](AtDeviceSimulator& d) { d.faults().setHung(hung); });
    } else if (command == "vanish") {
        simulator_.vanish();
    } else if (command == "reappear") {
        if (!simulator_.vanished()) {
            return failure("the port is there (vanish comes first)");
        }
        simulator_.reappear();
    } else if (command == "clear") {
        faults([](AtDeviceSimulator& d) { d.faults().clear(); });
    } else if (command == "stored") {
        return listStored();
    } else {
        *handled = false;
        return "";
    }
    return Ok;
}

std::string ControlChannel::runModemCommand(const std::vector<std::string>& words, bool* handled) {
    const std::string& command = words[0];
    *handled = true;
    auto stored = [](std::optional<int> index) {
        return index ? "index " + std::to_string(*index) + "\n" + Ok : failure("memory full");
    };
    if (command == "report" || command == "store") {
        const std::string body = formatReportBody(reportFromWords(words, 1));
        const bool announce = command == "report";
        return stored(simulator_.withModem([&](ModemSimulator& m) {
            return announce ? m.injectSms(ModemSimulator::DefaultSender, body)
                            : m.storeSms(ModemSimulator::DefaultSender, body);
        }));
    }
    if ((command == "sms" || command == "store-sms") && words.size() >= 3) {
        const std::string text = joinFrom(words, 2);
        const bool announce = command == "sms";
        return stored(simulator_.withModem([&](ModemSimulator& m) {
            return announce ? m.injectSms(words[1], text) : m.storeSms(words[1], text);
        }));
    }
    if (command == "burst" && words.size() >= 3) {
        // A second apart, so that the program tells them apart and stores each.
        const int count = number(words[1]);
        const std::time_t now = std::time(nullptr);
        std::vector<TrackerReport> reports;
        for (int n = 0; n < count; ++n) {
            reports.push_back(reportFromWords(words, 2, now - (count - 1 - n)));
        }
        const auto indexes =
            simulator_.withModem([&](ModemSimulator& m) { return m.injectBurst(reports); });
        return "stored " + std::to_string(indexes.size()) + "\n" + Ok;
    }
    if (command == "sent") {
        return listSent();
    }
    if (const auto habit = habitFromWords(words)) {
        simulator_.withModem([&](ModemSimulator& m) { (*habit)(m.habits()); });
        return Ok;
    }
    *handled = false;
    return "";
}

std::string ControlChannel::runTrackerCommand(const std::vector<std::string>& words,
                                              bool* handled) {
    const std::string& command = words[0];
    *handled = true;
    if (command == "setup" && words.size() == 2) {
        const SetupMessageLayout layout = layoutFromWord(words[1]);
        simulator_.withTracker(
            [&](TrackerModuleSimulator& t) { t.loadSetupMessages(layout, t.config().setup); });
    } else if (command == "firmware" && words.size() == 2) {
        std::optional<std::string> version;
        if (words[1] != "none") {
            version = words[1];
        }
        simulator_.withTracker([&](TrackerModuleSimulator& t) { t.setFirmwareVersion(version); });
    } else if (command == "wake-echo" && words.size() == 2) {
        const bool on = onOff(words[1]);
        simulator_.withTracker([&](TrackerModuleSimulator& t) { t.setWakeEcho(on); });
    } else if (command == "sim" && words.size() >= 2) {
        const std::optional<SimCard::State> chosen = simStateFromWord(words[1]);
        if (!chosen) {
            throw std::invalid_argument("sim is ready, pin, puk or none");
        }
        const SimCard::State state = *chosen;
        simulator_.withTracker([&](TrackerModuleSimulator& t) {
            const std::string pin = words.size() > 2 ? words[2] : t.sim().pin();
            t.sim() = SimCard(state, pin);
        });
    } else {
        *handled = false;
        return "";
    }
    return Ok;
}

std::string ControlChannel::listSent() {
    const auto sent = simulator_.withModem([](ModemSimulator& m) { return m.sentMessages(); });
    std::string lines;
    for (const SentSms& sms : sent) {
        lines += "sent " + sms.destination + " " + visible(sms.text) + "\n";
    }
    return lines + Ok;
}

std::string ControlChannel::listStored() {
    using Listed = std::vector<std::pair<std::string, StoredMessage>>;  // store label, message
    const auto messages = simulator_.withDevice([](AtDeviceSimulator& d) {
        Listed listed;
        const auto add = [&listed](const MessageStore& store, const std::string& label) {
            for (StoredMessage& message : store.list()) {
                listed.emplace_back(label, std::move(message));
            }
        };
        if (auto* modem = dynamic_cast<ModemSimulator*>(&d)) {
            add(modem->storage(), "");
            add(modem->phoneMemory(), "ME:");
        } else {
            add(dynamic_cast<TrackerModuleSimulator&>(d).storage(), "");
        }
        return listed;
    });
    std::string lines;
    for (const auto& [label, message] : messages) {
        lines += "stored " + label + std::to_string(message.index) + " \"" +
                 std::string(statusText(message.status)) + "\" " + message.address + " " +
                 visible(message.body) + "\n";
    }
    return lines + Ok;
}

std::string ControlChannel::helpText() {
    return R"(Control commands, one per line; each answers "ok" or "error: ...".
Modem:
  report IMEI [key=value ...]   a tracker's report arrives (stored, "+CMTI" when announcing)
                                keys: kind fix date(DDMMYY) time(hhmmss) lon lat alt speed
                                      course sats last; lon/lat in degrees or E12130.1234
  store IMEI [key=value ...]    a report is stored without announcement
  sms FROM TEXT...              a plain SMS arrives
  store-sms FROM TEXT...        a plain SMS is stored without announcement
  burst N IMEI [key=value ...]  N reports a second apart arrive at once, then N
                                announcements back to back
  sent                          the SMS the program asked the modem to send
  receive-store sm|me           where new messages go: the SIM, or the modem's own memory
                                whatever the program chose ("+CMTI: \"ME\",n")
  pdu-only on|off               text mode is refused ("at+cmgf=1" answers ERROR)
  lose-cmti next|every N|off    the next announcement, or every N-th, is lost on the way
  refuse-send CODE              the next SMS sent is refused with "+CMS ERROR: CODE"
Tracker:
  sim ready|pin|puk|none [PIN]  the SIM card's state (and PIN)
  setup complete|none|damaged|doubled   the stored setup messages
  firmware VERSION|none         the text after "KV-820" in the version reply
  wake-echo on|off              whether the wake "2" is echoed
Both:
  stored                        the stored messages (those in the modem's memory as ME:N)
  echo on|off                   command echo
  delay MS                      the answer delay of commands no reply-delay names
  reply-delay CMDS=MS|MIN-MAX   these commands answer late, e.g. cmgr,cmgd,cmgl=550 or
                                cmgr=0-1200 (a random delay in the range); the echo goes
                                at once, answers keep their order, "+CMTI" may pass them
  seed N                        where the random delays start from (repeatable runs)
  silence [N|on|off]            the next N commands (1) get no reply; on/off: all of them
  error [COMMAND]               the next command answers ERROR; with COMMAND every command
                                that starts so
  cut N                         the reply to the next command is cut to its first N bytes
  noise N                       N bytes of line noise are sent now
  longline N                    a line of N characters is sent now
  hang                          the device stops answering and announcing while its port
                                stays open (what arrives is still stored)
  answer                        it answers again after hang
  clear                         all faults off (a hang too)
  vanish                        the port disappears, and the --link with it
  reappear                      a new port after vanish, named by the --link again; the
                                stored messages are kept
  sleep MS                      pause (for scenario files)
  help, quit
)";
}

}  // namespace kv820::sim

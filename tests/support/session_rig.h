#pragma once

#include <ctime>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/reception/sms_session_listener.h"
#include "support/fake_serial_link.h"
#include "support/report_reply.h"

namespace kv820::test {

inline constexpr const char* TrackerImei = "356789012345678";
// Two wakes of a 500 ms read each, the modem answering "at" at once after each.
inline constexpr std::chrono::milliseconds StartDuration{1000};
// The writes of a session start ("2" and "at" twice, at, ati, at+cmgf=1, the two store
// commands, at+cnmi=1,1) and its listing of the stored messages.
inline constexpr std::size_t StartWrites = 11;
inline constexpr const char* StoreCommand = "at+cpms=\"SM\",\"SM\",\"SM\"\r";
inline constexpr const char* ListCommand = "at+cmgl=\"ALL\"\r";

// Records what the session reports; safe to call from the session's thread.
class RecordingListener final : public SmsSessionListener {
  public:
    void modemLog(std::string_view text) override {
        {
            std::lock_guard lock(mutex);
            log.append(text);
        }
        if (onLog) {
            onLog(text);
        }
    }
    void sessionStarted(bool ready) override {
        std::lock_guard lock(mutex);
        started.push_back(ready);
    }
    void reportStored(const StoredReportEvent& event) override {
        {
            std::lock_guard lock(mutex);
            stored.push_back(event);
        }
        if (onStored) {
            onStored(event);
        }
    }
    void reportStoreFailed(const PositionReport& report, std::string_view why) override {
        std::lock_guard lock(mutex);
        storeFailures.emplace_back(std::string(why));
        (void)report;
    }
    void sessionEnded() override {
        std::lock_guard lock(mutex);
        ++ended;
    }
    void healthChanged(const SessionHealth& health) override {
        std::lock_guard lock(mutex);
        if (states.empty() || states.back() != health.state) {
            states.push_back(health.state);
        }
        healthTexts.push_back(sessionHealthText(health));
    }

    std::mutex mutex;
    std::string log;
    std::vector<bool> started;
    std::vector<StoredReportEvent> stored;
    std::vector<std::string> storeFailures;
    int ended = 0;
    std::vector<SessionHealth::State> states;
    std::vector<std::string> healthTexts;  // the status bar's, one per change
    std::function<void(const StoredReportEvent&)> onStored;
    std::function<void(std::string_view)> onLog;
};

// The read reply of the report a scripted modem holds at `index`, stamped 10:20:<index>.
inline std::string storedReportReply(const std::string& index) {
    const std::string stamp =
        std::string("07/05/12,10:20:") + (index.size() < 2 ? "0" : "") + index + "+32";
    return readMessageReply(index, reportBody(TrackerImei), stamp);
}

// Answers like a modem holding one report per index, with the SIM as its only store; the
// listing of stored messages is whatever `answerListing` feeds (an empty listing by
// default). The storage poll sees `simUsed` messages.
inline void actLikeAModem(
    FakeSerialLink& link,
    std::function<void(FakeSerialLink&)> answerListing =
        [](FakeSerialLink& modem) { modem.feed("at+cmgl=\"ALL\"\r\r\nOK\r\n"); },
    int simUsed = 0) {
    link.forgetReplies();
    link.replyTo("at\r", "at\r\r\nOK\r\n", 0);
    link.replyTo("ati\r", "ati\r\r\nSIEMENS\r\nMC35i\r\n\r\nOK\r\n", 0);
    link.replyTo("at+cmgf=1\r", "at+cmgf=1\r\r\nOK\r\n", 0);
    link.replyTo("at+cpms=?\r", "at+cpms=?\r\r\n+CPMS: (\"SM\"),(\"SM\"),(\"SM\")\r\n\r\nOK\r\n",
                 0);
    link.replyTo(StoreCommand, "\r\n+CPMS: 0,30,0,30,0,30\r\n\r\nOK\r\n", 0);
    link.replyTo("at+cnmi=1,1\r", "at+cnmi=1,1\r\r\nOK\r\n", 0);
    link.replyTo("at+csq\r", "at+csq\r\r\n+CSQ: 18,99\r\n\r\nOK\r\n", 0);
    const std::string used = std::to_string(simUsed);
    link.replyTo("at+cpms?\r",
                 "at+cpms?\r\r\n+CPMS: \"SM\"," + used + ",30,\"SM\"," + used + ",30\r\n\r\nOK\r\n",
                 0);
    link.onWrite = [answerListing](FakeSerialLink& modem, std::string_view bytes) {
        const std::string command(bytes.substr(0, bytes.size() - 1));
        if (command.starts_with("at+cmgr=")) {
            modem.feed(storedReportReply(command.substr(8)));
        } else if (command.starts_with("at+cmgd=")) {
            modem.feed(command + "\r\r\nOK\r\n");
        } else if (bytes == ListCommand && answerListing) {
            answerListing(modem);
        }
    };
}

// The writes from `first` on, without the session's questions about its health.
inline std::vector<std::string> writesWithoutHealthChecks(const FakeSerialLink& link,
                                                          std::size_t first) {
    std::vector<std::string> writes(link.writes.begin() + first, link.writes.end());
    std::erase_if(writes,
                  [](const std::string& w) { return w == "at+csq\r" || w == "at+cpms?\r"; });
    return writes;
}

inline std::tm may2007() {
    std::tm t{};
    t.tm_year = 107;
    t.tm_mon = 4;
    t.tm_mday = 12;
    t.tm_hour = 12;
    return t;
}

}  // namespace kv820::test

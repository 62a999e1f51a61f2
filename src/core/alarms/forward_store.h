#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/alarms/tracker_events.h"

namespace kv820 {

class Database;

// Where the chosen kinds of events are sent besides the desk: duty phones by SMS and one
// webhook by HTTP POST.
struct ForwardSettings {
    std::vector<std::string> phoneNumbers;
    std::string webhookUrl;
    std::set<EventKind> kinds;
    bool operator==(const ForwardSettings&) const = default;

    bool forwards(EventKind kind) const {
        return kinds.contains(kind) && (!phoneNumbers.empty() || !webhookUrl.empty());
    }
};

// What is wrong with settings an operator typed (a number that is no phone number, an
// address that is no http or https URL); empty when they can be saved.
std::string forwardSettingsError(const ForwardSettings& settings);

// The duty numbers as typed: separated by commas, semicolons or blanks.
std::vector<std::string> phoneNumbersOfText(std::string_view text);

enum class ForwardChannel { Sms, Webhook };
enum class ForwardState { Waiting, Sent, Failed };

std::string_view forwardChannelText(ForwardChannel channel);  // "SMS", "webhook"
std::string_view forwardStateText(ForwardState state);        // "waiting", "sent", "failed"

// One event on its way to one destination, and how far it got.
struct Forward {
    std::int64_t id = 0;
    std::int64_t eventId = 0;
    ForwardChannel channel = ForwardChannel::Sms;
    std::string destination;  // the phone number or the URL
    std::string payload;      // the SMS text or the JSON body
    ForwardState state = ForwardState::Waiting;
    int attempts = 0;
    std::string lastError;
    std::string updated;  // local "YYYY/MM/DD hh:mm:ss" of the last change
};

// A forward as the log lists it, with the event it carries (empty when that is gone).
struct LoggedForward {
    Forward forward;
    std::string imei;
    std::string kind;
    std::string eventTime;
};

// The forwarding settings and the log of forwards, beside the event tables. A forward is
// queued in the transaction that stores its event: an event stored is an event that will
// be forwarded, even when the program is stopped before it goes out.
class ForwardStore {
  public:
    explicit ForwardStore(Database& db) : db_(db) {}

    // Adds the tables a file made before them lacks; a file that has them is not written.
    static void ensureTables(Database& db);
    static bool hasTables(Database& db);

    ForwardSettings settings();
    void saveSettings(const ForwardSettings& settings);

    // Within the caller's transaction.
    std::int64_t queue(const Forward& forward);
    // Waiting forwards with an id above `afterId`, oldest first.
    std::vector<Forward> waiting(std::int64_t afterId);
    void record(std::int64_t id, ForwardState state, int attempts, const std::string& error,
                const std::string& at);
    // Newest first, at most `limit`.
    std::vector<LoggedForward> newest(std::size_t limit);

  private:
    Database& db_;
};

}  // namespace kv820

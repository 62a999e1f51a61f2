#include "core/alarms/forward_store.h"

#include <algorithm>

#include "core/alarms/alarm_store.h"
#include "core/commands/input_validators.h"
#include "core/store/database.h"
#include "core/store/statement.h"
#include "core/store/transaction.h"

namespace kv820 {

namespace {

constexpr const char* TablesSql =
    "CREATE TABLE IF NOT EXISTS forward_settings (name TEXT PRIMARY KEY, value TEXT NOT "
    "NULL);\n"
    "CREATE TABLE IF NOT EXISTS forwards (id INTEGER PRIMARY KEY AUTOINCREMENT, event_id "
    "INTEGER NOT NULL, channel TEXT NOT NULL, destination TEXT NOT NULL, payload TEXT NOT "
    "NULL, state TEXT NOT NULL, attempts INTEGER NOT NULL, last_error TEXT NOT NULL, updated "
    "TEXT NOT NULL);\n"
    "CREATE INDEX IF NOT EXISTS forwards_by_state ON forwards (state, id);";

constexpr const char* ForwardColumns =
    "SELECT id, event_id, channel, destination, payload, state, attempts, last_error, updated "
    "FROM forwards";

// A webhook address is one line of printable ASCII; anything longer than this is no
// address an operator typed.
constexpr std::size_t LongestUrl = 2000;
constexpr std::size_t MostPhoneNumbers = 10;

std::vector<std::string> split(std::string_view text, std::string_view separators) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
        if (end > start) {
            parts.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ",") + part;
    }
    return text;
}

bool isWebhookUrl(std::string_view url) {
    if (url.size() > LongestUrl ||
        std::any_of(url.begin(), url.end(), [](char c) { return c <= ' ' || c > '~'; })) {
        return false;
    }
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (url.starts_with(scheme)) {
            const std::string_view rest = url.substr(scheme.size());
            return !rest.empty() && rest.front() != '/' && rest.front() != ':';
        }
    }
    return false;
}

Forward readForward(const Statement& row) {
    Forward forward;
    forward.id = row.integer(0);
    forward.eventId = row.integer(1);
    forward.channel =
        row.text(2).value_or("") == "webhook" ? ForwardChannel::Webhook : ForwardChannel::Sms;
    forward.destination = row.text(3).value_or("");
    forward.payload = row.text(4).value_or("");
    const std::string state = row.text(5).value_or("");
    forward.state = state == "sent"     ? ForwardState::Sent
                    : state == "failed" ? ForwardState::Failed
                                        : ForwardState::Waiting;
    forward.attempts = static_cast<int>(row.integer(6));
    forward.lastError = row.text(7).value_or("");
    forward.updated = row.text(8).value_or("");
    return forward;
}

}  // namespace

std::vector<std::string> phoneNumbersOfText(std::string_view text) {
    return split(text, ",; \t\r\n");
}

std::string forwardSettingsError(const ForwardSettings& settings) {
    if (settings.phoneNumbers.size() > MostPhoneNumbers) {
        return "At most " + std::to_string(MostPhoneNumbers) + " duty numbers can be given.";
    }
    for (const std::string& number : settings.phoneNumbers) {
        if (!IsPhoneString(number)) {
            return "\"" + number + "\" is no phone number.";
        }
    }
    if (!settings.webhookUrl.empty() && !isWebhookUrl(settings.webhookUrl)) {
        return "The webhook address must be an http:// or https:// address without blanks.";
    }
    return {};
}

std::string_view forwardChannelText(ForwardChannel channel) {
    return channel == ForwardChannel::Webhook ? "webhook" : "SMS";
}

std::string_view forwardStateText(ForwardState state) {
    switch (state) {
        case ForwardState::Sent:
            return "sent";
        case ForwardState::Failed:
            return "failed";
        case ForwardState::Waiting:
            break;
    }
    return "waiting";
}

void ForwardStore::ensureTables(Database& db) {
    if (!hasTables(db)) {
        AlarmStore::ensureTables(db);  // the log names the events it forwards
        db.execute(db.schemaSql(TablesSql));
    }
}

bool ForwardStore::hasTables(Database& db) {
    return db.hasTable("forward_settings") && db.hasTable("forwards") && AlarmStore::hasTables(db);
}

ForwardSettings ForwardStore::settings() {
    ForwardSettings settings;
    if (!hasTables(db_)) {
        return settings;  // a read never writes: no tables, nothing forwarded
    }
    Statement query(db_, "SELECT name, value FROM forward_settings");
    while (query.step()) {
        const std::string name = query.text(0).value_or("");
        const std::string value = query.text(1).value_or("");
        if (name == "phone_numbers") {
            settings.phoneNumbers = split(value, ",");
        } else if (name == "webhook_url") {
            settings.webhookUrl = value;
        } else if (name == "kinds") {
            for (const std::string& text : split(value, ",")) {
                if (const std::optional<EventKind> kind = eventKindOfText(text)) {
                    settings.kinds.insert(*kind);
                }
            }
        }
    }
    return settings;
}

void ForwardStore::saveSettings(const ForwardSettings& settings) {
    ensureTables(db_);
    std::vector<std::string> kinds;
    for (const EventKind kind : settings.kinds) {
        kinds.emplace_back(eventKindText(kind));
    }
    Transaction transaction(db_);
    Statement save(db_,
                   "INSERT INTO forward_settings (name, value) VALUES (?1, ?2) ON CONFLICT "
                   "(name) DO UPDATE SET value = excluded.value");
    for (const auto& [name, value] :
         {std::pair{"phone_numbers", joined(settings.phoneNumbers)},
          std::pair{"webhook_url", settings.webhookUrl}, std::pair{"kinds", joined(kinds)}}) {
        save.reset();
        save.bind(1, name).bind(2, value);
        save.run();
    }
    transaction.commit();
}

std::int64_t ForwardStore::queue(const Forward& forward) {
    Statement insert(db_,
                     "INSERT INTO forwards (event_id, channel, destination, payload, state, "
                     "attempts, last_error, updated) VALUES (?1, ?2, ?3, ?4, 'waiting', 0, '', "
                     "?5) RETURNING id");
    insert.bind(1, forward.eventId)
        .bind(2, forwardChannelText(forward.channel))
        .bind(3, forward.destination)
        .bind(4, forward.payload)
        .bind(5, forward.updated);
    return insert.runReturningId();
}

std::vector<Forward> ForwardStore::waiting(std::int64_t afterId) {
    std::vector<Forward> forwards;
    if (!hasTables(db_)) {
        return forwards;
    }
    Statement query(
        db_, std::string(ForwardColumns) + " WHERE state = 'waiting' AND id > ?1 ORDER BY id");
    query.bind(1, afterId);
    while (query.step()) {
        forwards.push_back(readForward(query));
    }
    return forwards;
}

void ForwardStore::record(std::int64_t id, ForwardState state, int attempts,
                          const std::string& error, const std::string& at) {
    Statement update(db_,
                     "UPDATE forwards SET state = ?2, attempts = ?3, last_error = ?4, updated = "
                     "?5 WHERE id = ?1");
    update.bind(1, id)
        .bind(2, forwardStateText(state))
        .bind(3, static_cast<std::int64_t>(attempts))
        .bind(4, error)
        .bind(5, at);
    update.run();
}

std::vector<LoggedForward> ForwardStore::newest(std::size_t limit) {
    std::vector<LoggedForward> forwards;
    if (!hasTables(db_)) {
        return forwards;
    }
    Statement query(db_,
                    "SELECT forwards.id, event_id, channel, destination, payload, state, "
                    "attempts, last_error, updated, events.imei, events.kind, events.time FROM "
                    "forwards LEFT JOIN events ON events.id = forwards.event_id ORDER BY "
                    "forwards.id DESC LIMIT ?1");
    query.bind(1, static_cast<std::int64_t>(limit));
    while (query.step()) {
        forwards.push_back({readForward(query), query.text(9).value_or(""),
                            query.text(10).value_or(""), query.text(11).value_or("")});
    }
    return forwards;
}

}  // namespace kv820

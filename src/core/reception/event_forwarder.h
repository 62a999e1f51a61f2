#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/alarms/event_forwarding.h"
#include "core/alarms/forward_store.h"
#include "core/at/com_port.h"
#include "core/at/modem_log.h"
#include "core/sms/message_mode.h"

namespace kv820 {

class Database;

// The program's HTTP client, for webhook calls.
class WebhookPoster {
  public:
    // Called once, on any thread: empty when the server took the body (a 2xx answer),
    // otherwise why not.
    using Done = std::function<void(const std::string& error)>;

    virtual ~WebhookPoster() = default;
    // Starts a POST of the JSON body and returns at once.
    virtual void post(const std::string& url, const std::string& body, Done done) = 0;
};

// Sends the forwards the session's events queued: SMS through the session's own modem,
// between two of its exchanges and only when no received message waits; webhook calls
// through the poster, whose answers come back later. Each attempt is logged and recorded
// in the forwards table; a failed one is retried after ForwardQueue's pauses, then marked
// failed. Lives on the session's thread and uses its database connection.
class EventForwarder {
  public:
    // `failedForGood` hears of a forward given up after its last attempt.
    EventForwarder(Database& db, WebhookPoster* webhook, ModemLog log,
                   std::function<void(const Forward&)> failedForGood);

    // Takes the forwards queued since the last look; the first look takes every waiting
    // one, those a stopped program left.
    void takeQueued(std::chrono::milliseconds now);
    // Records the webhook answers that came, and starts at most one due forward.
    void runDue(ComPort& port, MessageMode mode, std::chrono::milliseconds now);

  private:
    // Webhook answers, shared with the calls in flight: one may answer after the session.
    struct Answers {
        std::mutex mutex;
        std::vector<std::pair<Forward, std::string>> done;
    };

    void finished(Forward forward, const std::string& error, std::chrono::milliseconds now);

    ForwardStore store_;
    WebhookPoster* webhook_;
    ModemLog log_;
    std::function<void(const Forward&)> failedForGood_;
    ForwardQueue queue_;
    std::int64_t lastTaken_ = 0;
    std::shared_ptr<Answers> answers_ = std::make_shared<Answers>();
};

}  // namespace kv820

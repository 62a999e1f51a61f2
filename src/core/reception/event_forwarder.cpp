#include "core/reception/event_forwarder.h"

#include <ctime>

#include "core/alarms/event_time.h"
#include "core/commands/send_command_sms.h"

namespace kv820 {

namespace {

std::string forwardName(const Forward& forward) {
    return "event " + std::to_string(forward.eventId) + " by " +
           std::string(forwardChannelText(forward.channel)) + " to " + forward.destination;
}

std::string nowText() {
    return eventTimeTextAt(std::time(nullptr));
}

}  // namespace

EventForwarder::EventForwarder(Database& db, WebhookPoster* webhook, ModemLog log,
                               std::function<void(const Forward&)> failedForGood)
    : store_(db),
      webhook_(webhook),
      log_(std::move(log)),
      failedForGood_(std::move(failedForGood)) {}

void EventForwarder::takeQueued(std::chrono::milliseconds now) {
    for (Forward& forward : store_.waiting(lastTaken_)) {
        lastTaken_ = forward.id;
        queue_.add(std::move(forward), now);
    }
}

void EventForwarder::runDue(ComPort& port, MessageMode mode, std::chrono::milliseconds now) {
    std::vector<std::pair<Forward, std::string>> answered;
    {
        std::lock_guard lock(answers_->mutex);
        answered.swap(answers_->done);
    }
    for (auto& [forward, error] : answered) {
        finished(std::move(forward), error, now);
    }
    std::optional<Forward> due = queue_.takeDue(now);
    if (!due) {
        return;
    }
    if (due->channel == ForwardChannel::Sms) {
        const bool sent = SendCommandSms(port, mode, log_, due->destination, due->payload);
        finished(std::move(*due), sent ? "" : "the modem did not send it", port.clock().now());
        return;
    }
    if (!webhook_) {
        finished(std::move(*due), "this program has no HTTP client", now);
        return;
    }
    const std::string url = due->destination;
    const std::string body = due->payload;
    webhook_->post(url, body,
                   [answers = answers_, forward = std::move(*due)](const std::string& error) {
                       std::lock_guard lock(answers->mutex);
                       answers->done.emplace_back(forward, error);
                   });
}

void EventForwarder::finished(Forward forward, const std::string& error,
                              std::chrono::milliseconds now) {
    const std::string name = forwardName(forward);
    if (error.empty()) {
        store_.record(forward.id, ForwardState::Sent, forward.attempts, "", nowText());
        log_("Forwarded " + name + ".\r\n");
        return;
    }
    const int attempts = forward.attempts;
    if (queue_.failed(forward, now)) {
        forward.state = ForwardState::Failed;
        forward.lastError = error;
        store_.record(forward.id, ForwardState::Failed, attempts, error, nowText());
        log_("Forwarding " + name + " failed (" + error + ") after " + std::to_string(attempts) +
             " attempts; it is given up.\r\n");
        if (failedForGood_) {
            failedForGood_(forward);
        }
        return;
    }
    store_.record(forward.id, ForwardState::Waiting, attempts, error, nowText());
    log_("Forwarding " + name + " failed (" + error + "); it is tried again in " +
         std::to_string(ForwardQueue::RetryPauses[attempts - 1].count()) + " s.\r\n");
}

}  // namespace kv820

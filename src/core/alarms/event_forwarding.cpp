#include "core/alarms/event_forwarding.h"

#include <algorithm>

#include "core/common/json_text.h"
#include "core/common/number_text.h"
#include "core/map/web_map_address.h"

namespace kv820 {

namespace {

std::string mapAddress(const std::optional<GeoPoint>& position) {
    if (!position) {
        return {};
    }
    return webMapAddress(fixedDecimal(position->lon, 6), fixedDecimal(position->lat, 6));
}

}  // namespace

std::string forwardSmsText(const ForwardedEvent& forwarded) {
    const TrackerEvent& e = forwarded.event;
    const std::string head = forwarded.userName + ": " + std::string(eventKindText(e.kind));
    const std::string tail = ", " + e.time;
    const std::string address = mapAddress(forwarded.position);
    const std::string addressPart = address.empty() ? "" : " " + address;
    std::string details = e.details.empty() ? "" : ", " + e.details;
    const std::size_t fixed = head.size() + tail.size() + addressPart.size();
    if (fixed + details.size() > MaxForwardSmsLength) {
        details.resize(fixed < MaxForwardSmsLength ? MaxForwardSmsLength - fixed : 0);
    }
    return head + details + tail + addressPart;
}

std::string forwardJson(const ForwardedEvent& forwarded) {
    const TrackerEvent& e = forwarded.event;
    std::string out = "{\"tracker\":";
    appendJsonString(out, forwarded.userName);
    out += ",\"imei\":";
    appendJsonString(out, e.imei);
    out += ",\"kind\":";
    appendJsonString(out, eventKindText(e.kind));
    out += ",\"details\":";
    appendJsonString(out, e.details);
    out += ",\"time\":";
    appendJsonString(out, e.time);
    if (forwarded.position) {
        out += ",\"lat\":";
        appendJsonNumber(out, forwarded.position->lat, 6);
        out += ",\"lon\":";
        appendJsonNumber(out, forwarded.position->lon, 6);
    }
    return out + "}";
}

std::vector<Forward> forwardsOf(const ForwardedEvent& forwarded, const ForwardSettings& settings,
                                const std::string& now) {
    std::vector<Forward> forwards;
    if (!settings.forwards(forwarded.event.kind)) {
        return forwards;
    }
    Forward forward;
    forward.eventId = forwarded.event.id;
    forward.updated = now;
    if (!settings.phoneNumbers.empty()) {
        forward.channel = ForwardChannel::Sms;
        forward.payload = forwardSmsText(forwarded);
        for (const std::string& number : settings.phoneNumbers) {
            forward.destination = number;
            forwards.push_back(forward);
        }
    }
    if (!settings.webhookUrl.empty()) {
        forward.channel = ForwardChannel::Webhook;
        forward.destination = settings.webhookUrl;
        forward.payload = forwardJson(forwarded);
        forwards.push_back(forward);
    }
    return forwards;
}

void ForwardQueue::add(Forward forward, std::chrono::milliseconds now) {
    items_.push_back({std::move(forward), now});
}

std::optional<Forward> ForwardQueue::takeDue(std::chrono::milliseconds now) {
    const auto due = std::find_if(items_.begin(), items_.end(),
                                  [now](const Item& item) { return item.notBefore <= now; });
    if (due == items_.end()) {
        return std::nullopt;
    }
    Forward forward = std::move(due->forward);
    items_.erase(due);
    ++forward.attempts;
    return forward;
}

bool ForwardQueue::failed(Forward forward, std::chrono::milliseconds now) {
    if (forward.attempts > static_cast<int>(RetryPauses.size())) {
        return true;
    }
    const auto pause = RetryPauses[std::max(forward.attempts, 1) - 1];
    items_.push_back({std::move(forward), now + pause});
    return false;
}

}  // namespace kv820

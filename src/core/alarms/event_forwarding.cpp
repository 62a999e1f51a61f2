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

std::uint64_t ForwardQueue::add(std::string destination, std::string payload,
                                std::chrono::milliseconds now) {
    items_.push_back({nextId_, std::move(destination), std::move(payload), 0, now});
    return nextId_++;
}

std::optional<ForwardQueue::Item> ForwardQueue::takeDue(std::chrono::milliseconds now) {
    const auto due = std::find_if(items_.begin(), items_.end(),
                                  [now](const Item& item) { return item.notBefore <= now; });
    if (due == items_.end()) {
        return std::nullopt;
    }
    Item item = std::move(*due);
    items_.erase(due);
    ++item.attempts;
    return item;
}

bool ForwardQueue::failed(Item item, std::chrono::milliseconds now) {
    if (item.attempts > static_cast<int>(RetryPauses.size())) {
        return true;
    }
    item.notBefore = now + RetryPauses[item.attempts - 1];
    items_.push_back(std::move(item));
    return false;
}

}  // namespace kv820

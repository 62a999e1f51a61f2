#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/alarms/tracker_events.h"

namespace kv820 {

// An event as it leaves the desk: the tracker's user name and, when the report had one,
// its position.
struct ForwardedEvent {
    TrackerEvent event;
    std::string userName;
    std::optional<GeoPoint> position;
};

// The longest forwarded SMS: one message of the GSM alphabet.
inline constexpr std::size_t MaxForwardSmsLength = 160;

// "van: overspeed, tracker limit, limit 90.0 km/h, speed 95.0 km/h, 2026/03/02 08:00:00"
// and the map address of the position; details are shortened so that the map address
// stays whole within one SMS.
std::string forwardSmsText(const ForwardedEvent& forwarded);

// {"tracker":..,"imei":..,"kind":..,"details":..,"time":..,"lat":..,"lon":..}: the body of
// a webhook call.
std::string forwardJson(const ForwardedEvent& forwarded);

// Forwards waiting to go out and those being retried. A forward that fails is tried again
// after a growing pause, and given up (reported failed) after its last attempt; reception
// never waits for it.
class ForwardQueue {
  public:
    static constexpr std::array<std::chrono::seconds, 3> RetryPauses = {
        std::chrono::seconds(10), std::chrono::seconds(60), std::chrono::seconds(300)};

    struct Item {
        std::uint64_t id = 0;
        std::string destination;  // a phone number or a webhook URL
        std::string payload;      // the SMS text or the JSON body
        int attempts = 0;
        std::chrono::milliseconds notBefore{0};
    };

    std::uint64_t add(std::string destination, std::string payload, std::chrono::milliseconds now);
    // The next item whose time has come, taken out: a forward that went out is done; one
    // that failed goes back through failed().
    std::optional<Item> takeDue(std::chrono::milliseconds now);
    // Queues the item again, or returns true when it was its last attempt.
    bool failed(Item item, std::chrono::milliseconds now);
    std::size_t waiting() const { return items_.size(); }

  private:
    std::deque<Item> items_;
    std::uint64_t nextId_ = 1;
};

}  // namespace kv820

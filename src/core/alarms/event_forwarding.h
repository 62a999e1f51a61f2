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

#include "core/alarms/forward_store.h"
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

// The forwards of one event under the settings: one SMS per duty number and one webhook
// call, none when its kind is not forwarded. `now` is their time of queueing.
std::vector<Forward> forwardsOf(const ForwardedEvent& forwarded, const ForwardSettings& settings,
                                const std::string& now);

// Forwards waiting to go out and those being retried. A forward that fails is tried again
// after a growing pause, and given up (reported failed) after its last attempt; reception
// never waits for it.
class ForwardQueue {
  public:
    static constexpr std::array<std::chrono::seconds, 3> RetryPauses = {
        std::chrono::seconds(10), std::chrono::seconds(60), std::chrono::seconds(300)};

    // Due at once; its attempts are those already made (by an earlier run of the program).
    void add(Forward forward, std::chrono::milliseconds now);
    // The next forward whose time has come, taken out, its attempt counted: one that went
    // out is done; one that failed goes back through failed().
    std::optional<Forward> takeDue(std::chrono::milliseconds now);
    // Queues the forward again, or returns true when that was its last attempt.
    bool failed(Forward forward, std::chrono::milliseconds now);
    std::size_t waiting() const { return items_.size(); }

  private:
    struct Item {
        Forward forward;
        std::chrono::milliseconds notBefore{0};
    };
    std::deque<Item> items_;
};

}  // namespace kv820

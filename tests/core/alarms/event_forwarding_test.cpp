#include "core/alarms/event_forwarding.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

using namespace std::chrono_literals;

const ForwardedEvent Speeding{
    {"354612071234567", EventKind::Overspeed, "2026/03/02 08:00:00", "tracker limit, 95 km/h"},
    "van",
    GeoPoint{52.5, -13.25}};

TEST(EventForwardingTest, TheSmsNamesTrackerKindDetailsTimeAndWhereAndFitsOneMessage) {
    EXPECT_EQ(forwardSmsText(Speeding),
              "van: overspeed, tracker limit, 95 km/h, 2026/03/02 08:00:00 "
              "https://maps.google.com/maps?q=52.500000+-13.250000&h=en&t=h");
    ForwardedEvent longer = Speeding;
    longer.event.details = std::string(300, 'x');
    const std::string text = forwardSmsText(longer);
    EXPECT_EQ(text.size(), MaxForwardSmsLength);
    EXPECT_TRUE(text.ends_with("&h=en&t=h")) << "the map address was cut";
}

TEST(EventForwardingTest, TheWebhookBodyIsJsonWithEveryTextEscaped) {
    ForwardedEvent odd = Speeding;
    odd.userName = "a\"b<c>";
    odd.position.reset();
    EXPECT_EQ(forwardJson(odd),
              R"({"tracker":"a\"b\u003cc\u003e","imei":"354612071234567","kind":"overspeed",)"
              R"("details":"tracker limit, 95 km/h","time":"2026/03/02 08:00:00"})");
}

TEST(EventForwardingTest, AFailedForwardIsRetriedAfterGrowingPausesThenGivenUp) {
    ForwardQueue queue;
    queue.add("+491701234567", "text", 0ms);
    std::vector<std::chrono::milliseconds> tries;
    std::optional<std::chrono::milliseconds> gaveUp;
    for (std::chrono::milliseconds now = 0ms; now <= 1h; now += 1s) {
        if (auto item = queue.takeDue(now)) {
            tries.push_back(now);
            if (queue.failed(*item, now)) {
                gaveUp = now;
            }
        }
    }
    EXPECT_EQ(tries, (std::vector<std::chrono::milliseconds>{0ms, 10s, 70s, 370s}));
    EXPECT_EQ(gaveUp, 370s);
    EXPECT_EQ(queue.waiting(), 0u);
}

}  // namespace
}  // namespace kv820

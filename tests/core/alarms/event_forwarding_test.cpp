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
    queue.add({.id = 7, .destination = "+491701234567"}, 0ms);
    std::vector<std::chrono::milliseconds> tries;
    std::optional<std::chrono::milliseconds> gaveUp;
    for (std::chrono::milliseconds now = 0ms; now <= 1h; now += 1s) {
        if (auto forward = queue.takeDue(now)) {
            tries.push_back(now);
            if (queue.failed(*forward, now)) {
                gaveUp = now;
            }
        }
    }
    EXPECT_EQ(tries, (std::vector<std::chrono::milliseconds>{0ms, 10s, 70s, 370s}));
    EXPECT_EQ(gaveUp, 370s);
    EXPECT_EQ(queue.waiting(), 0u);
}

TEST(EventForwardingTest, AnEventGoesToEachDutyNumberAndTheWebhookWhenItsKindIsChosen) {
    const ForwardSettings both{
        {"+491701234567", "0912345678"}, "https://ops.example/hook", {EventKind::Overspeed}};
    struct Case {
        const char* name;
        ForwardSettings settings;
        std::vector<std::string> destinations;
    };
    const Case cases[] = {
        {"both", both, {"+491701234567", "0912345678", "https://ops.example/hook"}},
        {"kind not chosen", {both.phoneNumbers, both.webhookUrl, {EventKind::Sos}}, {}},
        {"webhook only", {{}, both.webhookUrl, both.kinds}, {"https://ops.example/hook"}},
        {"nowhere", {{}, "", both.kinds}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> destinations;
        for (const Forward& forward : forwardsOf(Speeding, c.settings, "now")) {
            destinations.push_back(forward.destination);
            EXPECT_EQ(forward.payload, forward.channel == ForwardChannel::Sms
                                           ? forwardSmsText(Speeding)
                                           : forwardJson(Speeding));
        }
        EXPECT_EQ(destinations, c.destinations) << c.name;
    }
}

TEST(EventForwardingTest, SettingsWithAWrongNumberOrAddressAreRefused) {
    struct Case {
        std::string numbers;
        std::string url;
        bool valid;
    };
    const Case cases[] = {
        {"+491701234567; 0912345678", "http://10.0.0.5:8080/events", true},
        {"", "https://ops.example/hook?key=a%20b", true},
        {"0912-345", "", false},
        {"", "ftp://ops.example/", false},
        {"", "https://", false},
        {"", "https://ops.example/a b", false},
        {"", "javascript:alert(1)", false},
        {"1,2,3,4,5,6,7,8,9,10,11", "", false},
    };
    for (const Case& c : cases) {
        const ForwardSettings settings{phoneNumbersOfText(c.numbers), c.url, {}};
        EXPECT_EQ(forwardSettingsError(settings).empty(), c.valid) << c.numbers << " " << c.url;
    }
}

}  // namespace
}  // namespace kv820

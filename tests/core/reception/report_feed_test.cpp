#include "core/reception/report_feed.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/alarms/alarm_store.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"
#include "core/store/row_follower.h"
#include "core/store/store_channels.h"
#include "core/store/transaction.h"
#include "core/store/user_registry.h"
#include "support/gpslog_rows.h"
#include "support/store_engines.h"
#ifdef KV820_WITH_POSTGRES
#include <poll.h>
#endif

namespace kv820 {
namespace {

using std::chrono::milliseconds;

constexpr const char* Truck = "354612071234567";

TEST(RowFollower, PassesOverWhatWasReadAndWaitsForAGapUntilItsPatienceRunsOut) {
    struct Step {
        std::vector<std::int64_t> read;  // the rows a look returned
        milliseconds now;
        std::vector<std::int64_t> news;
        std::int64_t readAbove;  // where the next look starts
    };
    const std::vector<Step> steps = {
        {{3, 4}, milliseconds(0), {3, 4}, 4},
        {{6}, milliseconds(100), {6}, 4},           // 5 is still being committed
        {{6}, milliseconds(200), {}, 4},            // read again, no news
        {{5, 6, 7}, milliseconds(300), {5, 7}, 7},  // 5 came late, and is news
        {{9}, milliseconds(400), {9}, 7},           // 8 will never come
        {{9}, milliseconds(10'399), {}, 7},
        {{9}, milliseconds(10'400), {}, 9},  // given up after the patience
        {{8}, milliseconds(10'500), {}, 9},  // below: taken as read
    };
    RowFollower follower(2, milliseconds(10'000));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::vector<std::int64_t> news;
        for (const std::int64_t row : steps[i].read) {
            if (follower.take(row)) {
                news.push_back(row);
            }
        }
        follower.settle(steps[i].now);
        EXPECT_EQ(news, steps[i].news) << "step " << i;
        EXPECT_EQ(follower.readAbove(), steps[i].readAbove) << "step " << i;
    }
}

class ReportFeedTest : public testing::TestWithParam<test::Engine> {
  protected:
    ReportFeedTest() : store_(GetParam()), writer_(store_.location()), reader_(store_.location()) {
        AlarmStore::ensureTables(writer_);
        users_.replace({{"Truck", "0912345678", Truck}});
    }

    // As a receiver stores a report: the row and its events in one transaction.
    void storeReport(const std::string& time, const std::string& status,
                     std::vector<TrackerEvent> events = {}) {
        GpslogRow row = test::reportRow(Truck, "2026/12/08", time);
        row[MessageStatus] = status;
        Transaction transaction(writer_);
        GpslogStore(writer_).append(row);
        for (TrackerEvent& event : events) {
            AlarmStore(writer_).appendEvent(event);
        }
        writer_.notify(StoredChannel);
        transaction.commit();
    }

    static TrackerEvent event(EventKind kind, const std::string& time) {
        return {Truck, kind, "2026/12/08 " + time, "", 0, 0};
    }

    FeedNews read(ReportFeed& feed, milliseconds now = milliseconds(0)) {
        return feed.read(now, localMoment_);
    }

    test::TempStore store_;
    Database writer_;
    Database reader_;
    UserRegistry users_;
    std::tm localMoment_ = [] {
        std::tm moment{};
        moment.tm_mday = 8;
        moment.tm_mon = 11;
        moment.tm_year = 126;
        return moment;
    }();
};

KV820_ON_EVERY_ENGINE(ReportFeedTest);

TEST_P(ReportFeedTest, ReadsEachReportStoredAfterItOnceWithTheEventsItRaised) {
    storeReport("09:00:00", "Period report");
    ReportFeed feed(reader_, users_);
    EXPECT_TRUE(read(feed).empty());

    storeReport("10:00:00", "SOS", {event(EventKind::Sos, "10:00:00")});
    storeReport("10:00:30", "Period report", {event(EventKind::Overspeed, "10:00:30")});
    {
        Transaction transaction(writer_);  // a tracker gone silent: an event alone
        AlarmStore(writer_).appendEvent(event(EventKind::Overdue, "10:05:00"));
        transaction.commit();
    }
    const FeedNews news = read(feed);
    ASSERT_EQ(news.reports.size(), 2u);
    EXPECT_EQ(news.reports[0].report.receiveTime, "10:00:00");
    EXPECT_EQ(news.reports[0].report.userName, "Truck");
    EXPECT_EQ(news.reports[0].report.phone, "0912345678");
    EXPECT_EQ(news.reports[0].historyRange.imei, Truck);
    ASSERT_EQ(news.reports[0].events.size(), 1u);
    EXPECT_EQ(news.reports[0].events[0].kind, EventKind::Sos);
    ASSERT_EQ(news.reports[1].events.size(), 1u);
    EXPECT_EQ(news.reports[1].events[0].kind, EventKind::Overspeed);
    ASSERT_EQ(news.events.size(), 1u);
    EXPECT_EQ(news.events[0].kind, EventKind::Overdue);

    EXPECT_TRUE(read(feed).empty());
}

#ifdef KV820_WITH_POSTGRES

bool waitForNotification(Database& db, std::string_view channel) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const std::vector<std::string> channels = db.takeNotifications();
        if (std::find(channels.begin(), channels.end(), channel) != channels.end()) {
            return true;
        }
        pollfd socket{db.notificationSocket(), POLLIN, 0};
        ::poll(&socket, 1, 100);
    }
    return false;
}

class SharedReportFeedTest : public ReportFeedTest {};

INSTANTIATE_TEST_SUITE_P(Server, SharedReportFeedTest, testing::Values(test::Engine::Postgres),
                         test::engineName);

// The notification comes with the commit, and never for a transaction rolled back.
TEST_P(SharedReportFeedTest, ADeskIsToldOfWhatAReceiverCommitted) {
    ReportFeed feed(reader_, users_);
    {
        Transaction rolledBack(writer_);
        writer_.notify(StoredChannel);
    }
    storeReport("10:00:00", "Period report");
    ASSERT_TRUE(waitForNotification(reader_, StoredChannel));
    EXPECT_TRUE(reader_.takeNotifications().empty());  // one commit, one notification
    EXPECT_EQ(read(feed).reports.size(), 1u);
}

// Receiver A took the lower row number but commits after B: the desk read B's row first,
// and still gets A's.
TEST_P(SharedReportFeedTest, ARowCommittedLateBelowOneReadIsStillRead) {
    ReportFeed feed(reader_, users_);
    Database other(store_.location());
    Transaction slow(writer_);
    GpslogStore(writer_).append(test::reportRow(Truck, "2026/12/08", "10:00:00"));
    GpslogStore(other).append(test::reportRow(Truck, "2026/12/08", "10:00:01"));
    FeedNews first = read(feed, milliseconds(0));
    ASSERT_EQ(first.reports.size(), 1u);
    EXPECT_EQ(first.reports[0].report.receiveTime, "10:00:01");
    slow.commit();
    FeedNews second = read(feed, milliseconds(500));
    ASSERT_EQ(second.reports.size(), 1u);
    EXPECT_EQ(second.reports[0].report.receiveTime, "10:00:00");
}

// A desk whose connection the server dropped reads, on a new one, what was stored meanwhile.
TEST_P(SharedReportFeedTest, AfterANewConnectionTheDeskReadsWhatItMissed) {
    ReportFeed feed(reader_, users_);
    test::PostgresServer::shared().dropConnections(store_.location());
    Database writer(store_.location());
    GpslogStore(writer).append(test::reportRow(Truck, "2026/12/08", "10:00:00"));
    EXPECT_THROW(read(feed), DatabaseError);
    Database again(store_.location());
    feed.reconnect(again);
    const FeedNews news = read(feed);
    ASSERT_EQ(news.reports.size(), 1u);
    EXPECT_EQ(news.reports[0].report.receiveTime, "10:00:00");
}

#endif

}  // namespace
}  // namespace kv820

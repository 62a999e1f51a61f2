#include "core/commands/command_queue.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "core/store/transaction.h"
#include "support/store_engines.h"

namespace kv820 {
namespace {

using State = QueuedCommandResult::State;

class CommandQueueTest : public testing::TestWithParam<test::Engine> {
  protected:
    CommandQueueTest()
        : store_(GetParam()), desk_(store_.location()), receiver_(store_.location()) {
        CommandQueue::ensureTable(desk_);
    }

    test::TempStore store_;
    Database desk_;
    Database receiver_;
    CommandQueue deskQueue_{desk_};
    CommandQueue receiverQueue_{receiver_};
};

KV820_ON_EVERY_ENGINE(CommandQueueTest);

// Queued, claimed oldest first, finished: the desk reads each state; a claimed command can
// no longer be withdrawn, a queued one can, and then it is gone.
TEST_P(CommandQueueTest, ACommandGoesFromQueuedToSentOrNotSent) {
    const std::int64_t first = deskQueue_.enqueue("0912345678", "?0,1,0!", "2026/12/08 10:00:00");
    const std::int64_t second = deskQueue_.enqueue("0987654321", "?1,1,1!", "2026/12/08 10:00:01");
    const std::int64_t third = deskQueue_.enqueue("0911111111", "?2,1,2!", "2026/12/08 10:00:02");
    EXPECT_EQ(deskQueue_.result(first)->state, State::Queued);

    const auto claimed = receiverQueue_.claim("ttyUSB0:");
    ASSERT_TRUE(claimed);
    EXPECT_EQ(claimed->id, first);
    EXPECT_EQ(claimed->phone, "0912345678");
    EXPECT_EQ(claimed->text, "?0,1,0!");
    EXPECT_EQ(deskQueue_.result(first)->state, State::Sending);
    EXPECT_FALSE(deskQueue_.withdraw(first));

    receiverQueue_.finish(first, true, "at+cmgs=\"0912345678\"\r\n");
    EXPECT_EQ(deskQueue_.result(first)->state, State::Sent);
    EXPECT_EQ(deskQueue_.result(first)->log, "at+cmgs=\"0912345678\"\r\n");
    ASSERT_EQ(receiverQueue_.claim("ttyUSB1:")->id, second);
    receiverQueue_.finish(second, false, "The SMS was not sent.\r\n");
    EXPECT_EQ(deskQueue_.result(second)->state, State::NotSent);

    EXPECT_TRUE(deskQueue_.withdraw(third));
    EXPECT_FALSE(deskQueue_.result(third));
    EXPECT_FALSE(receiverQueue_.claim("ttyUSB0:"));
}

#ifdef KV820_WITH_POSTGRES
class SharedCommandQueueTest : public CommandQueueTest {};

INSTANTIATE_TEST_SUITE_P(Server, SharedCommandQueueTest, testing::Values(test::Engine::Postgres),
                         test::engineName);

// Two receivers claiming at once take different commands: the second passes over the row
// the first holds instead of waiting for it.
TEST_P(SharedCommandQueueTest, TwoReceiversNeverTakeTheSameCommand) {
    const std::int64_t first = deskQueue_.enqueue("0912345678", "?0,1,0!", "");
    const std::int64_t second = deskQueue_.enqueue("0987654321", "?1,1,1!", "");
    Transaction busy(receiver_);
    ASSERT_EQ(receiverQueue_.claim("ttyUSB0:")->id, first);
    Database other(store_.location());
    const auto claimed = CommandQueue(other).claim("ttyUSB1:");
    ASSERT_TRUE(claimed);
    EXPECT_EQ(claimed->id, second);
    EXPECT_FALSE(CommandQueue(other).claim("ttyUSB1:"));
    busy.commit();
}
#endif

}  // namespace
}  // namespace kv820

#include "sim/reply_schedule.h"

#include <gtest/gtest.h>

namespace kv820::sim {
namespace {

using namespace std::chrono_literals;
using Moment = ReplySchedule::Moment;

TEST(ReplyDelayWords, NameCommandsAndAFixedTimeOrARange) {
    const struct {
        const char* word;
        std::optional<ReplyDelayRule> rule;
    } cases[] = {
        {"cmgr=550", ReplyDelayRule{{"cmgr"}, 550ms, 550ms}},
        {"CMGR,cmgd,cmgl=0-1200", ReplyDelayRule{{"cmgr", "cmgd", "cmgl"}, 0ms, 1200ms}},
        {"cmgr", std::nullopt},
        {"=550", std::nullopt},
        {"at+cmgr=550", std::nullopt},
        {"cmgr=-5", std::nullopt},
        {"cmgr=1200-0", std::nullopt},
        {"cmgr=5s", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(replyDelayRuleFromWord(c.word), c.rule) << c.word;
    }
}

TEST(ReplySchedule, AnswersComeLateFromTheirLineInCommandOrderAndRangesRepeatWithTheSeed) {
    const Moment t0{};
    ReplySchedule schedule;
    schedule.addRule(*replyDelayRuleFromWord("cmgr,cmgd=550"));

    const auto read = schedule.scheduleCommand("AT+CMGR=3", t0);
    EXPECT_EQ(read.echo, t0);
    EXPECT_EQ(read.answer, t0 + 550ms);
    // A quick command sent while the read is pending waits for the read's answer.
    const auto at = schedule.scheduleCommand("at", t0 + 500ms);
    EXPECT_EQ(at.echo, t0 + 550ms);
    EXPECT_EQ(at.answer, t0 + 550ms);
    EXPECT_EQ(schedule.scheduleCommand("at+cmgd=3", t0 + 600ms).answer, t0 + 1150ms);
    schedule.forgetPending();
    EXPECT_EQ(schedule.scheduleCommand("at+cmgl=\"ALL\"", t0 + 700ms).answer, t0 + 700ms);

    const auto draws = [](unsigned seed) {
        ReplySchedule random;
        random.addRule(*replyDelayRuleFromWord("cmgl=0-1200"));
        random.setSeed(seed);
        std::vector<Moment::duration> delays;
        for (int n = 0; n < 20; ++n) {
            const Moment sent = Moment{} + n * 10s;  // far apart: no answer waits for another
            delays.push_back(random.scheduleCommand("at+cmgl", sent).answer - sent);
        }
        return delays;
    };
    const auto first = draws(7);
    EXPECT_EQ(draws(7), first);
    EXPECT_NE(draws(8), first);
    for (const auto delay : first) {
        EXPECT_GE(delay, 0ms);
        EXPECT_LE(delay, 1200ms);
    }
}

}  // namespace
}  // namespace kv820::sim

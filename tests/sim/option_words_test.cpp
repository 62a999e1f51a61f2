#include <gtest/gtest.h>

#include "sim/setup_message_set.h"
#include "sim/sim_card.h"

namespace kv820::sim {
namespace {

TEST(OptionWords, NameEverySimStateAndNothingElse) {
    EXPECT_EQ(SimStateFromWord("ready"), SimCard::State::Ready);
    EXPECT_EQ(SimStateFromWord("pin"), SimCard::State::PinRequired);
    EXPECT_EQ(SimStateFromWord("puk"), SimCard::State::PukRequired);
    EXPECT_EQ(SimStateFromWord("none"), SimCard::State::Absent);
    for (const char* word : {"", "PIN", "ready ", "locked"}) {
        EXPECT_FALSE(SimStateFromWord(word)) << '"' << word << '"';
    }
}

TEST(OptionWords, NameEverySetupLayoutAndNothingElse) {
    EXPECT_EQ(SetupMessageLayoutFromWord("complete"), SetupMessageLayout::Complete);
    EXPECT_EQ(SetupMessageLayoutFromWord("none"), SetupMessageLayout::None);
    EXPECT_EQ(SetupMessageLayoutFromWord("damaged"), SetupMessageLayout::Damaged);
    EXPECT_EQ(SetupMessageLayoutFromWord("doubled"), SetupMessageLayout::Doubled);
    for (const char* word : {"", "Complete", "half"}) {
        EXPECT_FALSE(SetupMessageLayoutFromWord(word)) << '"' << word << '"';
    }
}

}  // namespace
}  // namespace kv820::sim

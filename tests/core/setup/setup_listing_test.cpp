#include "core/setup/setup_listing.h"

#include <gtest/gtest.h>

#include "support/tracker_replies.h"

namespace kv820 {
namespace {

using test::listingReply;

TEST(SetupListing, CountsAndIndexesEachMessageByItsTag) {
    const std::string full = listingReply({{3, "+1", "0,3,,,,,,,Bus 7,+8.00,2,30,1,,5184,"},
                                           {4, "+2", ",,,,,,,"},
                                           {11, "+3", "5000,,,,,,"},
                                           {12, "+4", ","}});
    const int indexes[] = {3, 4, 11, 12};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(CountSetupMessage(full, k), 1) << k;
        EXPECT_EQ(SetupMessageIndex(full, k), indexes[k - 1]) << k;
    }
    // Addresses that only start like a tag are other messages.
    const std::string other = listingReply({{1, "+2", ",,,,,,,"}, {7, "+12345", "hi"}});
    EXPECT_EQ(CountSetupMessage(other, 1), 0);
    EXPECT_EQ(SetupMessageIndex(other, 1), std::nullopt);
    EXPECT_EQ(CountSetupMessage("", 1), 0);
}

TEST(SetupListing, DoubledMessagesCountTwoAndIndexTheFirstCopy) {
    const std::string listing =
        listingReply({{2, "+3", "5000,,,,,,"}, {5, "+3", "5000,,,,,,"}, {6, "+3", "5000,,,,,,"}});
    EXPECT_EQ(CountSetupMessage(listing, 3), 2);
    EXPECT_EQ(SetupMessageIndex(listing, 3), 2);
    // A tag inside another message's text counts as a second copy.
    EXPECT_EQ(CountSetupMessage(listingReply({{1, "+1", "x"}, {2, "+2", "a+1\"b,,,,,,,"}}), 1), 2);
}

// An index that does not fit is no index: it must never name an entry to delete.
TEST(SetupListing, OnlyAWholeIndexInTheEntryHeaderIsAnIndex) {
    EXPECT_EQ(SetupMessageIndex("\r\n\"+1\",\r\n", 1), std::nullopt);
    EXPECT_EQ(SetupMessageIndex("\r\n^SMGL: ,\"STO UNSENT\",\"+1\",", 1), std::nullopt);
    EXPECT_EQ(SetupMessageIndex("\r\n^SMGL:   17,\"STO UNSENT\",\"+1\",", 1), 17);
    EXPECT_EQ(SetupMessageIndex("\r\n^SMGL: 99999999999,\"STO UNSENT\",\"+1\",", 1), std::nullopt);
    EXPECT_EQ(SetupMessageIndex("\r\n^SMGL: -3,\"STO UNSENT\",\"+1\",", 1), std::nullopt);
}

}  // namespace
}  // namespace kv820

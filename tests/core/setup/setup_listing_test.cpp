#include "core/setup/setup_listing.h"

#include <gtest/gtest.h>

#include "core/setup/tracker_replies.h"

namespace kv820 {
namespace {

using test::ListingReply;

const std::string FullListing = ListingReply({{3, "+1", "0,3,,,,,,,Bus 7,+8.00,2,30,1,,5184,"},
                                              {4, "+2", ",,,,,,,"},
                                              {11, "+3", "5000,,,,,,"},
                                              {12, "+4", ","}});

TEST(SetupListing, CountsEachMessageOnceInACompleteListing) {
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(CountSetupMessage(FullListing, k), 1) << k;
    }
}

TEST(SetupListing, IndexIsTakenFromTheEntryHeaderOfTheMessage) {
    EXPECT_EQ(SetupMessageIndex(FullListing, 1), 3);
    EXPECT_EQ(SetupMessageIndex(FullListing, 2), 4);
    EXPECT_EQ(SetupMessageIndex(FullListing, 3), 11);
    EXPECT_EQ(SetupMessageIndex(FullListing, 4), 12);
}

TEST(SetupListing, MissingMessagesCountZeroAndHaveNoIndex) {
    const std::string listing = ListingReply({{1, "+2", ",,,,,,,"}, {7, "+0912345678", "hi"}});
    EXPECT_EQ(CountSetupMessage(listing, 1), 0);
    EXPECT_EQ(CountSetupMessage(listing, 2), 1);
    EXPECT_EQ(SetupMessageIndex(listing, 1), std::nullopt);
    EXPECT_EQ(CountSetupMessage(ListingReply({}), 3), 0);
    EXPECT_EQ(CountSetupMessage("", 1), 0);
}

TEST(SetupListing, DoubledMessagesCountTwoAndIndexTheFirstCopy) {
    const std::string listing =
        ListingReply({{2, "+3", "5000,,,,,,"}, {5, "+3", "5000,,,,,,"}, {6, "+3", "5000,,,,,,"}});
    EXPECT_EQ(CountSetupMessage(listing, 3), 2);
    EXPECT_EQ(SetupMessageIndex(listing, 3), 2);
}

TEST(SetupListing, TagInsideAnotherMessageTextCountsAsASecondCopy) {
    const std::string listing =
        ListingReply({{1, "+1", "0,3,,,,,,,x,+8.00,2,30,1,,5184,"}, {2, "+2", "a+1\"b,,,,,,,"}});
    EXPECT_EQ(CountSetupMessage(listing, 1), 2);
}

TEST(SetupListing, AddressesThatOnlyStartLikeATagAreNotCounted) {
    const std::string listing = ListingReply({{9, "+12345", "hello"}});
    EXPECT_EQ(CountSetupMessage(listing, 1), 0);
}

TEST(SetupListing, TagWithoutEntryHeaderHasNoIndex) {
    EXPECT_EQ(SetupMessageIndex("\r\n\"+1\",\r\n", 1), std::nullopt);
    EXPECT_EQ(SetupMessageIndex("\r\n^SMGL: ,\"STO UNSENT\",\"+1\",", 1), std::nullopt);
    EXPECT_EQ(SetupMessageIndex("\r\n^SMGL:   17,\"STO UNSENT\",\"+1\",", 1), 17);
}

// An index that does not fit is no index: it must never name an entry to delete.
TEST(SetupListing, IndexOutOfRangeIsNoIndex) {
    EXPECT_EQ(SetupMessageIndex("\r\n^SMGL: 99999999999,\"STO UNSENT\",\"+1\",", 1), std::nullopt);
    EXPECT_EQ(SetupMessageIndex("\r\n^SMGL: -3,\"STO UNSENT\",\"+1\",", 1), std::nullopt);
    EXPECT_EQ(SetupMessageIndex("\r\n^SMGL: 0,\"STO UNSENT\",\"+1\",", 1), 0);
}

}  // namespace
}  // namespace kv820

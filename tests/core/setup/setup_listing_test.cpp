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

struct LeadingIntCase {
    std::string text;
    std::optional<int> value;
};

void PrintTo(const LeadingIntCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class LeadingInt : public testing::TestWithParam<LeadingIntCase> {};

TEST_P(LeadingInt, ReadsLikeScanfPercentD) {
    EXPECT_EQ(ReadLeadingInt(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingInt,
                         testing::Values(LeadingIntCase{"7", 7}, LeadingIntCase{"\r\n1", 1},
                                         LeadingIntCase{"  12x", 12}, LeadingIntCase{"-3", -3},
                                         LeadingIntCase{"+4", 4}, LeadingIntCase{"", std::nullopt},
                                         LeadingIntCase{"x1", std::nullopt},
                                         LeadingIntCase{"-", std::nullopt},
                                         LeadingIntCase{"99999999999", std::nullopt},
                                         LeadingIntCase{"-2147483648", -2147483647 - 1},
                                         LeadingIntCase{"2147483647", 2147483647},
                                         LeadingIntCase{"2147483648", std::nullopt}));

// One sign at most: a second one is no number at all, and "--2147483648" must not turn
// into a negation that overflows.
INSTANTIATE_TEST_SUITE_P(DoubleSigns, LeadingInt,
                         testing::Values(LeadingIntCase{"--5", std::nullopt},
                                         LeadingIntCase{"+-5", std::nullopt},
                                         LeadingIntCase{"-+5", std::nullopt},
                                         LeadingIntCase{"++5", std::nullopt},
                                         LeadingIntCase{"--2147483648", std::nullopt},
                                         LeadingIntCase{" - 5", std::nullopt}));

}  // namespace
}  // namespace kv820

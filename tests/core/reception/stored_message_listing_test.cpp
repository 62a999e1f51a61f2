#include "core/reception/stored_message_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv820 {
namespace {

struct ListingCase {
    const char* name;
    std::string reply;
    bool complete;
    bool refused;
    std::vector<StoredMessageEntry> entries;
    std::vector<int> received;
};

std::string header(int index, const std::string& status,
                   const std::string& rest = ",\"+886912345678\",,\"07/05/12,10:20:30+32\"") {
    return "+CMGL: " + std::to_string(index) + ",\"" + status + "\"" + rest + "\r\n";
}

const std::string Echo = "at+cmgl=\"ALL\"\r";
const std::string Ok = "\r\nOK\r\n";

const std::string EveryStatus = Echo + "\r\n" + header(1, "REC UNREAD") +
                                "?356789012345678,1,3!\r\n" + header(2, "REC READ") + "hello\r\n" +
                                header(3, "STO UNSENT", ",\"0912\",,") + "?1,356789012345678!\r\n" +
                                header(4, "STO SENT", ",\"0912\",,") + "sent\r\n" + Ok;
const std::string OutOfOrder = header(17, "REC READ") + "a\r\n" + header(4, "REC UNREAD") +
                               "b\r\n" + header(255, "REC READ") + "c\r\n" + Ok;
const std::string ResultsInBodies =
    header(1, "REC READ") + "OK\r\n" + header(2, "REC UNREAD") + "ERROR\r\n" + Ok;
const std::string CutOff = header(1, "REC UNREAD") + "?35...\r\n" + "+CMGL: 2,\"REC UN";
const std::string Malformed =
    "+CMGL: ,\"REC READ\"\r\nx\r\n+CMGL: 12345678901,\"REC READ\"\r\ny\r\n+CMGL: 3\r\nz\r\n" + Ok;
const std::string IndexTwice = header(2, "REC READ") + "hi\r\n+CMGL: 3,\"REC READ\"\r\n" +
                               header(3, "STO UNSENT", ",\"0912\",,") + "mine\r\n" + Ok;

TEST(StoredMessageListing, GivesEntriesAndTheReceivedIndexes) {
    using L = ListingCase;
    const ListingCase cases[] = {
        L("EmptyListing", Echo + "\r\nOK\r\n", true, false, {}, {}),
        L("CmsErrorReply", Echo + "\r\n+CMS ERROR: 302\r\n", true, true, {}, {}),
        L("EveryStatus", EveryStatus, true, false,
          {{1, "REC UNREAD"}, {2, "REC READ"}, {3, "STO UNSENT"}, {4, "STO SENT"}}, {1, 2}),
        L("ReceivedIndexesInIndexOrder", OutOfOrder, true, false,
          {{17, "REC READ"}, {4, "REC UNREAD"}, {255, "REC READ"}}, {4, 17, 255}),
        L("BodyReadingOkDoesNotEndTheListing", ResultsInBodies, true, false,
          {{1, "REC READ"}, {2, "REC UNREAD"}}, {1, 2}),
        L("CutOffListingKeepsItsWholeHeaders", CutOff, false, false, {{1, "REC UNREAD"}}, {1}),
        L("MalformedHeadersAreNoEntries", Malformed, true, false, {}, {}),
        L("AnIndexNamedTwiceIsNotHandled", IndexTwice, true, false,
          {{2, "REC READ"}, {3, "REC READ"}, {3, "STO UNSENT"}}, {2}),
    };
    for (const ListingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const StoredMessageListing listing = parseStoredMessageListing(c.reply);
        EXPECT_EQ(listing.complete, c.complete);
        EXPECT_EQ(listing.refused, c.refused);
        EXPECT_EQ(listing.entries, c.entries);
        EXPECT_EQ(listing.receivedIndexes(), c.received);
    }
}

}  // namespace
}  // namespace kv820

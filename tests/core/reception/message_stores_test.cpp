#include "core/reception/message_stores.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

using Stores = std::vector<std::string>;

ModemReply ok(std::string lines) {
    return ModemReply{std::move(lines) + "\r\nOK\r\n", FinalResult::Ok, "OK"};
}

// What modems in the field offer, and what the session sets and lists for it.
TEST(MessageStores, TheSimWhereOfferedOneStoreRatherThanBothAndOnlyStoresOfReceivedMessages) {
    struct Case {
        const char* offer;
        Stores chosen;
        Stores listed;
    };
    const Case cases[] = {
        {"+CPMS: (\"SM\",\"ME\"),(\"SM\",\"ME\"),(\"SM\",\"ME\")",
         {"SM", "SM", "SM"},
         {"SM", "ME"}},
        {"+CPMS: (\"ME\",\"MT\",\"SM\",\"SR\"),(\"ME\",\"MT\",\"SM\"),(\"MT\",\"ME\")",
         {"SM", "SM", "ME"},
         {"ME", "SM"}},
        {"+CPMS: (\"MT\",\"BM\"),(\"MT\"),(\"MT\")", {"MT", "MT", "MT"}, {"MT"}},
        {"+CPMS: \"SM\",\"SM\",\"SM\"", {"SM", "SM", "SM"}, {"SM"}},  // no parentheses
        {"+CPMS: (\"BM\"),(\"SM\"),(\"SM\")", {}, {}},
        {"+CPMS: (\"SM\"", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offer);
        const auto offered = offeredStoresFromReply(ok(c.offer));
        EXPECT_EQ(chosenStores(offered), c.chosen);
        EXPECT_EQ(offered.empty() ? Stores{} : storesToList(offered[0]), c.listed);
    }
    EXPECT_TRUE(offeredStoresFromReply({"+CPMS: (\"SM\")", FinalResult::None, ""}).empty());
}

TEST(MessageStores, EachStoreOnceFromTheUseReplyAndNothingFromANonsensicalOne) {
    EXPECT_EQ(
        storeUseFromReply(ok("at+cpms?\r\r\n+CPMS: \"SM\",3,30,\"SM\",3,30,\"ME\",1,100\r\n")),
        (std::vector<StoreUse>{{"SM", 3, 30}, {"ME", 1, 100}}));
    EXPECT_EQ(storeUseFromReply(ok("+CPMS: \"SM\",31,30\r\n")), std::vector<StoreUse>{});
    EXPECT_EQ(storeUseFromReply(ok("+CPMS: \"SM\"\r\n")), std::vector<StoreUse>{});
    EXPECT_EQ(storeUseFromReply(ok("+CPMS: 3,30,3,30,3,30\r\n")), std::vector<StoreUse>{});
}

}  // namespace
}  // namespace kv820

#include "core/reception/modem_health.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

ModemReply ok(std::string lines) {
    return ModemReply{std::move(lines) + "\r\nOK\r\n", FinalResult::Ok, "OK"};
}

TEST(ModemHealth, ReadsTheSignalOnlyFromWholeReplies) {
    EXPECT_EQ(signalDbmFromReply(ok("at+csq\r\r\n+CSQ: 0,99\r\n")), -113);
    EXPECT_EQ(signalDbmFromReply(ok("+CSQ: 31,0\r\n")), -51);
    EXPECT_EQ(signalDbmFromReply(ok("+CSQ: 99,99\r\n")), std::nullopt) << "not known";
    EXPECT_EQ(signalDbmFromReply(ModemReply{"+CSQ: 20,0\r\n", FinalResult::None, ""}),
              std::nullopt);
}

}  // namespace
}  // namespace kv820

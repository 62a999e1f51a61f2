#include "core/setup/tracker_identity.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

TEST(TrackerIdentity, FirmwareVersionIsTakenFromOffset15UpToTheFirstClosingParenthesis) {
    EXPECT_EQ(FirmwareVersionFromReply("tr+fwv\r\r\nKV-820V1.01(B05)(x)\r\n\r\nOK\r\n"),
              "V1.01(B05)");
    EXPECT_EQ(FirmwareVersionFromReply("tr+fwv\r\r\nERROR\r\n"), "0001");
    EXPECT_EQ(FirmwareVersionFromReply(""), "0001");
    EXPECT_EQ(FirmwareVersionFromReply("\r\nKV-820V1.01(B05)\r\n"), "");  // no echo
    EXPECT_EQ(FirmwareVersionFromReply("tr+fwv\r\r\nKV-820 V1.01\r\nOK\r\n"), "");
}

TEST(TrackerIdentity, ImeiIsFifteenCharactersFromOffset10OrElse18) {
    EXPECT_EQ(ImeiFromReply("at+cgsn\r\r\n3560000000000019999\r\n"), "356000000000001");
    EXPECT_EQ(ImeiFromReply("at+cgsn\r\r\nIMEI No:356000000000001\r\n"), "356000000000001");
    EXPECT_EQ(ImeiFromReply("at+cgsn\r\r\n35600\r\n\r\nOK\r\n"), "\nOK\r\n");
    EXPECT_EQ(ImeiFromReply(""), "");
    EXPECT_TRUE(IsValidImei("356000000000001"));
    EXPECT_FALSE(IsValidImei("35600000000000x"));
    EXPECT_FALSE(IsValidImei("3560000000000012"));
}

}  // namespace
}  // namespace kv820

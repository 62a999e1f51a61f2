#include "core/records/web_map_address.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

TEST(WebMapAddress, PutsLatitudeFirstInTheQuery) {
    EXPECT_EQ(WebMapAddress("121.517081", "25.047924"),
              "https://maps.google.com/maps?q=25.047924+121.517081&h=en&t=h");
}

TEST(WebMapAddress, KeepsMinusSignsAndTextsUnchanged) {
    EXPECT_EQ(WebMapAddress("151.209300", "-33.868800"),
              "https://maps.google.com/maps?q=-33.868800+151.209300&h=en&t=h");
    EXPECT_EQ(WebMapAddress("-0.000000", "-0.000000"),
              "https://maps.google.com/maps?q=-0.000000+-0.000000&h=en&t=h");
    EXPECT_EQ(WebMapAddress("", ""), "https://maps.google.com/maps?q=+&h=en&t=h");
}

}  // namespace
}  // namespace kv820

#include "core/records/web_map_address.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

TEST(WebMapAddress, PutsLatitudeFirstAndKeepsTheStoredTexts) {
    EXPECT_EQ(WebMapAddress("151.209300", "-33.868800"),
              "https://maps.google.com/maps?q=-33.868800+151.209300&h=en&t=h");
}

}  // namespace
}  // namespace kv820

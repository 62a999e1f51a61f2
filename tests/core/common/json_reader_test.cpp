#include "core/common/json_reader.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

TEST(JsonReaderTest, ReadsValuesWithEscapesAndNumbersWithoutTheLocale) {
    const JsonReadResult read = readJson(
        R"( {"a": [1, -2.5e1, 0.125, true, null], "s": "\"\\\/\n\u00e9\ud83d\ude00", "a2": {}} )");
    ASSERT_TRUE(read.value) << read.error;
    const JsonValue::Array& a = *read.value->member("a")->array();
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(*a[0].number(), 1);
    EXPECT_EQ(*a[1].number(), -25);
    EXPECT_EQ(*a[2].number(), 0.125);
    EXPECT_TRUE(a[4].isNull());
    EXPECT_EQ(*read.value->member("s")->string(), "\"\\/\n\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(read.value->member("missing"), nullptr);
}

TEST(JsonReaderTest, RefusesWhatIsNotJsonSayingWhereItIs) {
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case c :
         {Case{"", "value expected at byte 0"}, Case{"[1,]", "value expected at byte 3"},
          Case{"1.", "digit expected after the decimal point at byte 2"},
          Case{"+1", "value expected at byte 0"}, Case{"1e999", "number out of range at byte 5"},
          Case{"\"a\nb\"", "control character in a string at byte 3"},
          Case{R"("\ud83d")", "lone surrogate at byte 7"}, Case{R"("\x")", "bad escape at byte 3"},
          Case{"[1] 2", "text after the value at byte 4"},
          Case{"{\"a\" 1}", "':' expected at byte 5"}}) {
        const JsonReadResult read = readJson(c.text);
        EXPECT_FALSE(read.value) << c.text;
        EXPECT_EQ(read.error, c.error) << c.text;
    }
}

}  // namespace
}  // namespace kv820

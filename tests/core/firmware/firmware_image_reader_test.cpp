#include "core/firmware/firmware_image_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stop_token>
#include <string>
#include <vector>

#include "core/firmware/firmware_read_run.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

std::string ImageOf(std::size_t size, unsigned char fill = 0x5A) {
    return std::string(size, static_cast<char>(fill));
}

std::vector<std::string> AllLines(const std::string& image) {
    std::istringstream stream(image);
    test::VirtualClock clock;
    std::stop_source stop;
    std::vector<std::string> lines;
    FirmwareReadRun(stream, clock).run(stop.get_token(), [&](std::string_view line) {
        lines.emplace_back(line);
    });
    return lines;
}

struct SizeCase {
    std::size_t imageBytes;
    std::vector<std::size_t> lineBytes;
};

class FirmwareBlocks : public testing::TestWithParam<SizeCase> {};

TEST_P(FirmwareBlocks, ShowOnlyCompleteBlocks) {
    const std::vector<std::string> lines = AllLines(ImageOf(GetParam().imageBytes));
    ASSERT_EQ(lines.size(), GetParam().lineBytes.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), 3 * GetParam().lineBytes[i]) << "line " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Images, FirmwareBlocks,
                         testing::Values(SizeCase{0, {}}, SizeCase{127, {}}, SizeCase{128, {128}},
                                         SizeCase{1000, {128}}, SizeCase{1151, {128}},
                                         SizeCase{1152, {128, 1024}},
                                         SizeCase{128 + 2 * 1024 + 5, {128, 1024, 1024}}));

TEST(FirmwareImage, ThousandBytesGiveOneLineOf384Characters) {
    const std::vector<std::string> lines = AllLines(ImageOf(1000));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 384u);
}

TEST(FirmwareImage, BytesBecomeUpperCaseHexEachFollowedByABlank) {
    std::string image = ImageOf(128 + 1024, 0x00);
    image[0] = '\x00';
    image[1] = '\x0A';
    image[2] = '\xFF';
    image[127] = '\x7F';
    image[128] = '\xAB';
    image[128 + 1023] = '\x0D';
    const std::vector<std::string> lines = AllLines(image);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].starts_with("00 0A FF 00 ")) << lines[0].substr(0, 12);
    EXPECT_TRUE(lines[0].ends_with("00 7F "));
    EXPECT_TRUE(lines[1].starts_with("AB 00 "));
    EXPECT_TRUE(lines[1].ends_with("00 0D "));
}

TEST(FirmwareImage, HexTextOfEveryByteValue) {
    std::vector<unsigned char> bytes(256);
    std::string expected;
    for (int i = 0; i < 256; ++i) {
        bytes[i] = static_cast<unsigned char>(i);
        const char digits[] = "0123456789ABCDEF";
        expected += {digits[i / 16], digits[i % 16], ' '};
    }
    EXPECT_EQ(FirmwareHexText(bytes.data(), bytes.size()), expected);
}

TEST(FirmwareImage, ClearedFlagStopsWithinOneBlock) {
    std::istringstream stream(ImageOf(128 + 10 * 1024));
    test::VirtualClock clock;
    std::stop_source stop;
    int seen = 0;
    const int lines = FirmwareReadRun(stream, clock).run(stop.get_token(), [&](std::string_view) {
        if (++seen == 2) {
            stop.request_stop();
        }
    });
    EXPECT_EQ(lines, 2);
}

TEST(FirmwareImage, ClearedFlagBeforeStartShowsNothing) {
    std::istringstream stream(ImageOf(2000));
    test::VirtualClock clock;
    std::stop_source stop;
    stop.request_stop();
    int seen = 0;
    EXPECT_EQ(
        FirmwareReadRun(stream, clock).run(stop.get_token(), [&](std::string_view) { ++seen; }), 0);
    EXPECT_EQ(seen, 0);
}

TEST(FirmwareImage, PausesBetweenBlocks) {
    std::istringstream stream(ImageOf(128 + 3 * 1024));
    test::VirtualClock clock;
    std::stop_source stop;
    EXPECT_EQ(FirmwareReadRun(stream, clock).run(stop.get_token(), [](std::string_view) {}), 4);
    EXPECT_EQ(clock.now(), 4 * FirmwareReadRun::kPauseBetweenBlocks);
}

TEST(FirmwareImage, ANewRunBeginsAgainWithTheShortFirstBlock) {
    const std::string image = ImageOf(128 + 1024);
    EXPECT_EQ(AllLines(image), AllLines(image));
    EXPECT_EQ(AllLines(image).front().size(), 384u);
}

TEST(FirmwareImage, UnreadableStreamShowsNothing) {
    std::istringstream stream(ImageOf(2000));
    stream.setstate(std::ios::badbit);
    FirmwareImageReader reader(stream);
    EXPECT_FALSE(reader.nextBlock());
    EXPECT_FALSE(reader.nextBlock());
}

}  // namespace
}  // namespace kv820

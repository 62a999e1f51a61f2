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

std::vector<std::string> allLines(const std::string& image, test::VirtualClock& clock) {
    std::istringstream stream(image);
    std::stop_source stop;
    std::vector<std::string> lines;
    FirmwareReadRun(stream, clock).run(stop.get_token(), [&](std::string_view line) {
        lines.emplace_back(line);
    });
    return lines;
}

TEST(FirmwareImage, ShowsOnlyCompleteBlocksAShortFirstOneThenFullOnesEachAfterAPause) {
    struct Case {
        std::size_t imageBytes;
        std::vector<std::size_t> lineBytes;
    };
    for (const Case& c : {Case{127, {}}, Case{1151, {128}}, Case{1152, {128, 1024}},
                          Case{128 + 2 * 1024 + 5, {128, 1024, 1024}}}) {
        test::VirtualClock clock;
        const std::vector<std::string> lines = allLines(std::string(c.imageBytes, 'Z'), clock);
        ASSERT_EQ(lines.size(), c.lineBytes.size()) << c.imageBytes;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].size(), 3 * c.lineBytes[i]) << c.imageBytes << " line " << i;
        }
        if (c.imageBytes == 1152) {  // two whole blocks, each followed by its pause
            EXPECT_EQ(clock.now(), 2 * FirmwareReadRun::PauseBetweenBlocks);
        }
    }
}

TEST(FirmwareImage, EveryByteValueBecomesUpperCaseHexAndABlank) {
    std::vector<unsigned char> bytes(256);
    std::string expected;
    for (int i = 0; i < 256; ++i) {
        bytes[i] = static_cast<unsigned char>(i);
        const char digits[] = "0123456789ABCDEF";
        expected += {digits[i / 16], digits[i % 16], ' '};
    }
    EXPECT_EQ(firmwareHexText(bytes.data(), bytes.size()), expected);
}

TEST(FirmwareImage, AClearedFlagStopsWithinOneBlockAndABadStreamShowsNothing) {
    std::istringstream stream(std::string(128 + 10 * 1024, 'Z'));
    test::VirtualClock clock;
    std::stop_source stop;
    int seen = 0;
    const int lines = FirmwareReadRun(stream, clock).run(stop.get_token(), [&](std::string_view) {
        if (++seen == 2) {
            stop.request_stop();
        }
    });
    EXPECT_EQ(lines, 2);
    // An unreadable stream shows nothing.
    std::istringstream unreadable(std::string(2000, 'Z'));
    unreadable.setstate(std::ios::badbit);
    EXPECT_FALSE(FirmwareImageReader(unreadable).nextBlock());
}

}  // namespace
}  // namespace kv820

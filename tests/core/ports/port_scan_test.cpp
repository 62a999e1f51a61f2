#include "core/ports/port_scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/ports/scan_probe.h"
#include "support/fake_serial_link.h"
#include "support/virtual_clock.h"

namespace kv820 {
namespace {

using namespace std::chrono_literals;
using Texts = std::vector<std::string>;

// What the scan's window would show, in the order it was told.
struct Screen {
    PortScanListener listener() {
        return {[this](const std::string& status) { events.push_back("status " + status); },
                [this](std::size_t row, const std::string& line) {
                    events.push_back("line " + std::to_string(row) + " " + line);
                }};
    }
    Texts events;
};

class PortScanTest : public testing::Test {
  protected:
    // A probe that answers on the entries listed in `answering`.
    PortProbe probeAnsweringOn(Texts answering) {
        return [this, answering](const std::string& entry, const std::stop_token&) {
            probed.push_back(entry);
            clock.advance(7000ms);
            return std::find(answering.begin(), answering.end(), entry) != answering.end();
        };
    }

    test::VirtualClock clock;
    std::stop_source stop;
    Screen screen;
    Texts probed;
};

TEST_F(PortScanTest, ReportsEveryPortThenTheClosingLine) {
    PortScan scan(probeAnsweringOn({"COM4:"}), clock);
    EXPECT_TRUE(scan.run({"COM3:", "COM4:"}, screen.listener(), stop.get_token()));
    EXPECT_EQ(screen.events,
              (Texts{"status Scanning COM3...", "line 0 Scanning COM3...[Open failed]",
                     "status Scanning COM4...", "line 1 Scanning COM4...[Open succeed]",
                     "line 2 Scanning Completed.", "status Complete Scan."}));
    EXPECT_EQ(probed, (Texts{"COM3:", "COM4:"}));
    EXPECT_EQ(clock.now(), 2 * 7000ms + 1000ms);
}

// A stop ends the scan at once, that port without a line; a break lets the port finish.
TEST_F(PortScanTest, AStopOrABreakDuringAProbeProbesNoOtherPort) {
    for (const bool breaking : {false, true}) {
        std::stop_source stopNow, breakScan;
        Screen shown;
        probed.clear();
        PortScan scan(
            [&](const std::string& entry, const std::stop_token&) {
                probed.push_back(entry);
                (breaking ? breakScan : stopNow).request_stop();
                return true;
            },
            clock);
        EXPECT_FALSE(scan.run({"COM3:", "COM4:"}, shown.listener(), stopNow.get_token(),
                              breakScan.get_token()));
        Texts expected{"status Scanning COM3..."};
        if (breaking) {
            expected.push_back("line 0 Scanning COM3...[Open succeed]");
        }
        EXPECT_EQ(shown.events, expected);
        EXPECT_EQ(probed, Texts{"COM3:"});
    }
}

TEST(ScanSelection, PicksTheFirstPortThatAnsweredAmongTheEntries) {
    const Texts lines = {"Scanning COM3...[Open failed]", "Scanning COM4...[Open succeed]",
                         "Scanning Completed."};
    EXPECT_EQ(firstAnsweringEntry(lines, 2), 1u);
    EXPECT_EQ(firstAnsweringEntry(lines, 1), std::nullopt) << "a line beyond the entries";
    EXPECT_EQ(firstAnsweringEntry({lines[0], lines[0], lines[2]}, 2), std::nullopt);
}

}  // namespace
}  // namespace kv820

#include "core/ports/usb_serial_ports.h"

#include <gtest/gtest.h>

#include "core/at/serial_link.h"
#include "core/ports/break_pulse.h"

namespace kv820 {
namespace {

using Entries = std::vector<std::string>;
constexpr std::uint16_t V = BridgeVendorId;
constexpr std::uint16_t P = BridgeProductId;

struct DiscoveryCase {
    const char* what;
    std::vector<SerialPortDescription> ports;
    std::string extra;
    Entries expected;
};

TEST(Discovery, ListsTheBridgePortsSortedThenTheExtraPorts) {
    const DiscoveryCase cases[] = {
        DiscoveryCase("nothing at all", {}, "", {"NO"}),
        DiscoveryCase("string order: COM10 before COM3",
                      {{"COM4", V, P}, {"COM3", V, P}, {"COM10", V, P}}, "",
                      {"COM10:", "COM3:", "COM4:"}),
        DiscoveryCase("other adapters and unknown ids are left out",
                      {{"ttyUSB0", 0x0403, 0x6001},
                       {"ttyS0", {}, {}},
                       {"ttyUSB1", V, 0x2304},
                       {"ttyUSB2", V, P}},
                      "", {"ttyUSB2:"}),
        DiscoveryCase("extra ports follow in their given order", {{"ttyUSB0", V, P}},
                      "/dev/pts/7:/dev/pts/3", {"ttyUSB0:", "/dev/pts/7:", "/dev/pts/3:"}),
        DiscoveryCase("empty parts of the variable are ignored", {},
                      "::/dev/pts/7:", {"/dev/pts/7:"})};
    for (const DiscoveryCase& c : cases) {
        EXPECT_EQ(usbSerialPortEntries(c.ports, c.extra, ':'), c.expected) << c.what;
    }
}

// Writes what happens to each short-lived link into one shared log.
class RecordingLink final : public SerialLink {
  public:
    explicit RecordingLink(Entries& log) : log_(log) {}
    bool open(const std::string& path) override {
        log_.push_back("open " + path);
        open_ = path != "/dev/missing";
        return open_;
    }
    bool isOpen() const override { return open_; }
    void close() override {
        log_.push_back("close");
        open_ = false;
    }
    bool write(std::string_view) override { return false; }
    std::string readAvailable(std::size_t, std::chrono::milliseconds) override { return {}; }
    bool pulseBreak() override {
        log_.push_back("break");
        return false;  // a pseudo-terminal cannot; that is no failure
    }

  private:
    Entries& log_;
    bool open_ = false;
};

TEST(PulseBreakOnListedPorts, PulsesEveryPortThatOpensAndSkipsTheRest) {
    Entries log;
    PulseBreakOnListedPorts({"NO", "ttyUSB0:", "/dev/missing:", "/dev/pts/3:"},
                            [&] { return std::make_unique<RecordingLink>(log); });
    EXPECT_EQ(log, (Entries{"open ttyUSB0", "break", "close", "open /dev/missing",
                            "open /dev/pts/3", "break", "close"}));
}

}  // namespace
}  // namespace kv820

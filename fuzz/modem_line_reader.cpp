// Any byte stream from the modem through the reception loop's line assembly.

#include "core/at/modem_line_reader.h"
#include "core/at/com_port.h"
#include "fuzz_check.h"
#include "input_serial_link.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::size_t chunkSize = provider.ConsumeIntegralInRange<std::size_t>(1, 64);
    // Every n-th byte asks the loop to stop (0: never), as the session's stop button does.
    const unsigned stopEvery = provider.ConsumeIntegralInRange<unsigned>(0, 600);
    const std::string stream = provider.ConsumeRemainingBytesAsString();

    kv820::test::VirtualClock clock;
    kv820::fuzz::InputSerialLink link(clock, stream, chunkSize);
    kv820::ComPort port(link, clock);
    kv820::ModemLineReader reader;

    unsigned polls = 0;
    const auto stopRequested = [&] { return stopEvery != 0 && ++polls % stopEvery == 0; };

    std::size_t linesBytes = 0;
    // Each attempt takes at least one byte unless the stream is spent, so this many
    // attempts always reach the end; more would mean the reader stopped making progress.
    for (std::size_t attempt = 0; attempt <= stream.size() + 1; ++attempt) {
        const std::optional<std::string> line = reader.ReadModemLine(port, stopRequested);
        if (line) {
            FUZZ_CHECK(!line->empty() && line->size() <= kv820::ModemLineReader::MaxLineLength);
            FUZZ_CHECK(line->find('\n') == line->size() - 1);
            linesBytes += line->size();
        } else if (link.unread() == 0 && !port.ReadByte(std::chrono::milliseconds(0))) {
            FUZZ_CHECK(linesBytes <= stream.size());
            return 0;
        }
    }
    FUZZ_CHECK(!"line reader stopped making progress");
    return 0;
}

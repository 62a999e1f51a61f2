// Any byte stream from the modem through the port's events between exchanges: lines
// completed in pieces, pauses, overlong lines, a stop, and the place each "+CMTI" names.

#include <cctype>
#include <chrono>

#include "core/at/com_port.h"
#include "core/at/modem_event.h"
#include "core/common/number_text.h"
#include "fuzz_check.h"
#include "input_serial_link.h"

namespace {

// The place a line announces goes into commands.
void CheckPlace(std::string_view line, const std::optional<kv820::MessagePlace>& place) {
    FUZZ_CHECK(place.has_value() == (line.find("+CMTI") != std::string_view::npos));
    if (!place) {
        return;
    }
    FUZZ_CHECK(kv820::isUnsolicitedLine(line, ""));
    // The index goes into "at+cmgr=" and "at+cmgd=": a decimal number that reads as itself.
    const std::string index = std::to_string(place->index);
    FUZZ_CHECK(index.size() <= 11 && kv820::leadingInt32(index) == place->index);
    // The store goes into "at+cpms=\"..\"": two capital letters or nothing.
    const std::string& store = place->store;
    FUZZ_CHECK(store.empty() ||
               (store.size() == 2 && std::isupper(static_cast<unsigned char>(store[0])) &&
                std::isupper(static_cast<unsigned char>(store[1]))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::size_t chunkSize = provider.ConsumeIntegralInRange<std::size_t>(1, 64);
    // The session is stopped at the n-th look at its stop flag (0: never).
    const unsigned stopAt = provider.ConsumeIntegralInRange<unsigned>(0, 600);
    const std::string stream = provider.ConsumeRemainingBytesAsString();

    // The whole input as one line.
    CheckPlace(stream, kv820::newSmsAnnouncementPlace(stream));

    kv820::test::VirtualClock clock;
    kv820::fuzz::InputSerialLink link(clock, stream, chunkSize);
    kv820::ComPort port(link, clock);
    std::size_t stray = 0;
    port.setStrayLog([&stray](std::string_view bytes) { stray += bytes.size(); });
    unsigned polls = 0;
    bool stopped = false;
    port.setAbandon([&] {
        stopped = stopped || (stopAt != 0 && ++polls >= stopAt);
        return stopped;
    });

    // Every byte ends up in exactly one place: an event, the stray log (dropped lines), the
    // port's buffer or the link. Each attempt takes at least one byte until the stream is
    // spent or the session stopped; more attempts would mean the port made no progress.
    std::size_t events = 0;
    for (std::size_t attempt = 0; attempt <= stream.size() + 1; ++attempt) {
        const std::chrono::milliseconds before = clock.now();
        const std::optional<kv820::ModemEvent> event = port.nextEvent();
        // Only a wait for a byte that never came takes time, and it drops what was held.
        const bool waitedOut = clock.now() > before;
        if (event) {
            const std::string& line = event->line;
            FUZZ_CHECK(!line.empty() && line.size() <= kv820::ComPort::MaxLineLength);
            FUZZ_CHECK(line.find('\n') == line.size() - 1);
            const std::vector<kv820::ModemLine> proper = kv820::modemLines(line);
            FUZZ_CHECK(proper.size() == 1);
            CheckPlace(proper.front().text, event->announced);
            events += line.size();
        } else if (stopped || (waitedOut && link.unread() == 0)) {
            const std::size_t held =
                port.listen(stream.size(), std::chrono::milliseconds(0)).size();
            FUZZ_CHECK(stopped || held == 0);
            FUZZ_CHECK(events + stray + held + link.unread() == stream.size());
            return 0;
        }
    }
    FUZZ_CHECK(!"the port stopped making progress");
    return 0;
}

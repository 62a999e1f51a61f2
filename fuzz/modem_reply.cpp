// Any byte stream from the modem through the exchanges of a conversation: reply framing,
// unsolicited lines taken out, stale replies after time-outs, bytes held for the next reader.

#include <array>
#include <chrono>
#include <iterator>
#include <utility>

#include "core/at/com_port.h"
#include "core/at/modem_reply.h"
#include "fuzz_check.h"
#include "input_serial_link.h"

namespace {

using std::chrono::milliseconds;

using kv820::reply_timeout::Listing, kv820::reply_timeout::Quick, kv820::reply_timeout::Sim;

// The commands a conversation sends, with their time-outs.
constexpr std::pair<std::string_view, milliseconds> Commands[] = {{"at", Quick},
                                                                  {"at+cmgr=1", Sim},
                                                                  {"at+cmgs=1", Sim},
                                                                  {"at+cmgl=\"ALL\"", Listing},
                                                                  {"at+creg?", Quick}};

// Framing does not depend on how the bytes were cut into pieces.
void CheckPiecesFrameAlike(std::string_view stream, std::size_t piece) {
    kv820::ReplyAssembler whole("+CMGR");
    const std::size_t taken = whole.add(stream);
    kv820::ReplyAssembler cut("+CMGR");
    std::size_t cutTaken = 0;
    for (std::size_t at = 0; at < stream.size() && !cut.complete(); at += piece) {
        cutTaken += cut.add(stream.substr(at, piece));
    }
    if (whole.complete()) {
        FUZZ_CHECK(cut.complete() && cutTaken == taken);
        FUZZ_CHECK(cut.reply().text == whole.reply().text);
        FUZZ_CHECK(cut.takeUnsolicited() == whole.takeUnsolicited());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::size_t chunkSize = provider.ConsumeIntegralInRange<std::size_t>(1, 600);
    std::array<std::size_t, 4> picks{};
    for (std::size_t& pick : picks) {
        pick = provider.ConsumeIntegralInRange<std::size_t>(0, std::size(Commands) - 1);
    }
    const std::string stream = provider.ConsumeRemainingBytesAsString();
    CheckPiecesFrameAlike(stream, chunkSize);

    kv820::test::VirtualClock clock;
    kv820::fuzz::InputSerialLink link(clock, stream, chunkSize);
    kv820::ComPort port(link, clock);
    std::size_t stray = 0;
    port.setStrayLog([&stray](std::string_view bytes) { stray += bytes.size(); });

    // Every byte ends up in exactly one place: a reply, an event, the stray log, or still
    // buffered (in the port or the link). None is lost, none is counted twice.
    std::size_t accounted = 0;
    for (std::size_t exchange = 0; exchange < 64 && link.unread() > 0; ++exchange) {
        const auto& [command, timeout] = Commands[picks[exchange % picks.size()]];
        const milliseconds before = clock.now();
        const kv820::ModemReply reply = port.exchange(command, timeout);
        // Its own time-out, and at most one resynchronisation before it.
        FUZZ_CHECK(clock.now() - before <=
                   timeout + kv820::ComPort::StaleReplyWait + 4 * Quick + milliseconds(200));
        // A complete reply ends with its own final result line.
        if (reply.result != kv820::FinalResult::None && !reply.prompted()) {
            FUZZ_CHECK(reply.text.ends_with(reply.resultLine + "\r\n") ||
                       reply.text.ends_with(reply.resultLine + "\n"));
            FUZZ_CHECK(kv820::finalResultOfLine(reply.resultLine) == reply.result);
        }
        accounted += reply.text.size();
    }
    // The announcements queued around the replies come first, then the lines held past them.
    while (const std::optional<kv820::ModemEvent> event =
               port.nextEvent(kv820::ComPort::Wait::No)) {
        FUZZ_CHECK(event->line.ends_with('\n'));
        FUZZ_CHECK(!event->announced || event->line.find("+CMTI") != std::string::npos);
        accounted += event->line.size();
    }
    accounted += port.listen(stream.size(), milliseconds(0)).size() + link.unread();
    FUZZ_CHECK(accounted + stray == stream.size());
    return 0;
}

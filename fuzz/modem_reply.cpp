// Any byte stream from the modem through the reply reads of a conversation: the final
// result detection, the announcements kept aside and the bytes held for the next reader.
#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/modem/com_port.h"
#include "fuzz_check.h"
#include "input_serial_link.h"

namespace {

void CheckFinalResultEnd(std::string_view text) {
    const std::size_t end = kv820::FinalResultEnd(text);
    if (end == std::string_view::npos) {
        return;
    }
    FUZZ_CHECK(end >= 1 && end <= text.size());
    // It ends after a line break, or at a "> " prompt that ends the text.
    FUZZ_CHECK(text[end - 1] == '\n' || (end == text.size() && text.ends_with("> ")));
}

void CheckReply(std::string_view reply, std::size_t size) {
    FUZZ_CHECK(reply.size() <= size);
    // A reply ends at its first final result code, or holds none.
    const std::size_t end = kv820::FinalResultEnd(reply);
    FUZZ_CHECK(end == std::string_view::npos || end == reply.size());
    // No whole announcement line stays inside a reply.
    std::size_t lineStart = 0;
    for (std::size_t lf = reply.find('\n'); lf != std::string_view::npos;
         lf = reply.find('\n', lineStart)) {
        FUZZ_CHECK(reply.substr(lineStart, lf + 1 - lineStart).find("+CMTI") ==
                   std::string_view::npos);
        lineStart = lf + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::size_t chunkSize = provider.ConsumeIntegralInRange<std::size_t>(1, 600);
    std::size_t readSizes[4];
    for (std::size_t& readSize : readSizes) {
        readSize = provider.ConsumeIntegralInRange<std::size_t>(0, 600);
    }
    const std::string stream = provider.ConsumeRemainingBytesAsString();
    CheckFinalResultEnd(stream);

    kv820::fuzz::StepClock clock;
    kv820::fuzz::InputSerialLink link(clock, stream, chunkSize);
    kv820::ComPort port(link, clock);

    // Every byte ends up in exactly one place: a reply, an announcement, or still buffered.
    std::size_t accounted = 0;
    for (std::size_t read = 0; read < 64 && link.unread() > 0; ++read) {
        const std::size_t readSize = readSizes[read % 4];
        const auto before = clock.now();
        const std::string reply = port.ReadModemReply(readSize);
        FUZZ_CHECK(clock.now() - before <= kv820::ComPort::ReadTimeout);
        CheckReply(reply, readSize);
        accounted += reply.size();
        while (const std::optional<std::string> line = port.TakeAnnouncement()) {
            FUZZ_CHECK(line->find("+CMTI") != std::string::npos);
            FUZZ_CHECK(line->ends_with('\n'));
            accounted += line->size();
        }
    }
    while (port.ReadByte(std::chrono::milliseconds(0))) {
        ++accounted;
    }
    FUZZ_CHECK(accounted == stream.size());
    return 0;
}

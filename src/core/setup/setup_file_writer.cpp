#include "core/setup/setup_file_writer.h"

#include <array>
#include <string>

#include "core/setup/setup_message_codec.h"

namespace kv820 {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds StepPause{500};
constexpr std::string_view Confirmation{"+CMGW"};

// The status after each step cycles through two, three, four and one dot.
std::string loadingTextAfterStep(int step) {
    constexpr std::array<int, 4> Dots{2, 3, 4, 1};
    return loadingText(Dots[static_cast<std::size_t>(step) % Dots.size()]);
}

void report(const SetupProgress& progress, std::string_view text) {
    if (progress) {
        progress(text);
    }
}

std::size_t countOccurrences(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

// One paced step: the exchange, the pause and the status text.
std::string step(ComPort& port, const ModemReply& reply, int step, const SetupProgress& progress) {
    port.clock().sleepFor(StepPause);
    report(progress, loadingTextAfterStep(step));
    return reply.text;
}

void deleteOldMessages(ComPort& port, const SetupContext& context, const SetupProgress& progress) {
    for (int k = 0; k < SetupMessageCount; ++k) {
        // An index the listing did not give is never guessed: a wrong delete loses a message.
        if (context.storedIndex[k]) {
            const std::string command = "at+cmgd=" + std::to_string(*context.storedIndex[k]);
            step(port, port.exchange(command, reply_timeout::Sim), k, progress);
        }
    }
}

}  // namespace

std::string loadingText(int dots) {
    return "Please wait, now is loading" + std::string(static_cast<std::size_t>(dots), '.');
}

WriteOutcome WriteSetupFile(ComPort& port, const SetupContext& context, const SetupFile& file,
                            std::string_view timeZoneText, const SetupProgress& progress) {
    port.OpenComPort(context.portEntry);
    if (context.loadedFromDevice) {
        deleteOldMessages(port, context, progress);
    }
    SetupFile written = file;
    written.simPin = simPinToWrite(context);
    const SetupMessageTexts texts = EncodeSetupFile(written, timeZoneText);
    std::string replies;
    for (int k = 0; k < SetupMessageCount; ++k) {
        const std::string command = "at+cmgw=+" + std::to_string(k + 1);
        replies += step(port, port.exchange(command, reply_timeout::Sim), 2 * k, progress);
        // Without the prompt the text is not written: the message is simply not confirmed.
        const ModemReply written =
            port.exchangeMessageText(texts[k], Confirmation, reply_timeout::Sim);
        replies += step(port, written, 2 * k + 1, progress);
    }
    if (countOccurrences(replies, Confirmation) < SetupMessageCount) {
        port.CloseComPort();
        report(progress, LoadingFailedText);
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Written;
}

std::string_view writeOutcomeMessage(WriteOutcome outcome) {
    return outcome == WriteOutcome::Failed ? "KV820 Setup is failed." : "";
}

}  // namespace kv820

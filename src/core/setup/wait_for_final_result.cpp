#include "core/setup/wait_for_final_result.h"

namespace kv820 {

std::string WaitForFinalResult(ComPort& port, std::size_t bufferSize,
                               const std::function<void()>& onPause) {
    const std::size_t capacity = bufferSize > 0 ? bufferSize - 1 : 0;
    Clock& clock = port.clock();
    const auto start = clock.now();
    std::string text;
    while (text.size() < capacity) {
        text += port.ReadModemReply(capacity - text.size());
        if (text.empty() || FinalResultEnd(text) != std::string::npos) {
            break;
        }
        if (clock.now() - start >= FinalResultBound) {
            break;
        }
        clock.sleepFor(FinalResultPollPause);
        if (onPause) {
            onPause();
        }
    }
    return text;
}

}  // namespace kv820

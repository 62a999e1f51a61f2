#include "core/at/modem_wake.h"

#include <algorithm>

namespace kv820 {

namespace {
using std::chrono::milliseconds;
// Between two unanswered "at": a module that refuses at once is not asked a hundred times.
constexpr milliseconds PollPause{250};
}  // namespace

bool awaitModemAnswer(ComPort& port, milliseconds bound, const std::function<void()>& onSecond) {
    Clock& clock = port.clock();
    const milliseconds start = clock.now();
    long long secondsReported = 0;
    const auto reportSeconds = [&] {
        const long long seconds = (clock.now() - start) / std::chrono::seconds(1);
        for (; secondsReported < seconds && onSecond; ++secondsReported) {
            onSecond();
        }
    };
    while (!port.gone() && !port.abandoned()) {
        const milliseconds left = bound - (clock.now() - start);
        if (left <= milliseconds(0)) {
            break;
        }
        const bool answered = port.exchange("at", std::min(reply_timeout::Quick, left)).ok();
        reportSeconds();
        if (answered) {
            return true;
        }
        clock.sleepFor(
            std::min(PollPause, std::max(bound - (clock.now() - start), milliseconds(0))));
        reportSeconds();
    }
    return false;
}

}  // namespace kv820

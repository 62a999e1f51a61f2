#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "core/modem/com_port.h"

namespace kv820 {

// How long a module may go on sending without ever ending its reply with a final result.
inline constexpr std::chrono::seconds FinalResultBound{10};
// The pause between two reads of one reply.
inline constexpr std::chrono::milliseconds FinalResultPollPause{50};

// Reads one command's reply into a buffer of bufferSize bytes (at most bufferSize - 1
// characters of text), each read appended after what came before. Stops when nothing at
// all arrived on the first read, when the text holds a final result line or prompt, when
// the buffer is full, or FinalResultBound after the start; between reads it pauses 50 ms
// and calls onPause. Returns the text read; the caller's substring tests judge it.
std::string WaitForFinalResult(ComPort& port, std::size_t bufferSize,
                               const std::function<void()>& onPause = {});

}  // namespace kv820

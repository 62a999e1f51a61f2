#include "app/modem/printing_session_listener.h"

namespace kv820 {

void PrintingSessionListener::modemLog(std::string_view text) {
    if (text.empty()) {
        return;
    }
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
    atLineStart_ = text.back() == '\n';
}

void PrintingSessionListener::finishLine() {
    if (!atLineStart_) {
        std::fputc('\n', out_);
        std::fflush(out_);
        atLineStart_ = true;
    }
}

}  // namespace kv820

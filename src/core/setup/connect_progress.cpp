#include "core/setup/connect_progress.h"

namespace kv820 {

std::string ConnectProgress::text(int dots) {
    return "Connecting now! Please Wait" + std::string(static_cast<std::size_t>(dots), '.');
}

void ConnectProgress::show(int dots) {
    report(text(dots));
}

void ConnectProgress::advance() {
    ++step_;
    const int dots = step_ % 5;
    show(dots == 0 ? 5 : dots);
}

void ConnectProgress::clear() {
    report("");
}

void ConnectProgress::report(std::string_view text) {
    if (report_) {
        report_(text);
    }
}

}  // namespace kv820

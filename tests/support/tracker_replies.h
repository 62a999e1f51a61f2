#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv820::test {

// Replies of a tracker's GSM module with echo on, as they arrive on the cable.

// The echo of command, the body lines (if any) and the final "OK".
inline std::string echoed(std::string_view command, std::string_view body = {}) {
    std::string reply = std::string(command) + "\r\r\n";
    if (!body.empty()) {
        reply += std::string(body) + "\r\n\r\n";
    }
    return reply + "OK\r\n";
}

// The reply to "at+cmgr=<index>" for setup message k holding text.
inline std::string storedMessageReply(int index, int k, std::string_view text) {
    return "at+cmgr=" + std::to_string(index) + "\r\r\n+CMGR: \"STO UNSENT\",\"+" +
           std::to_string(k) + "\",\r\n" + std::string(text) + "\r\n\r\nOK\r\n";
}

struct ListedMessage {
    int index;
    std::string address;
    std::string text;
};

// The reply to the listing of stored unsent messages.
inline std::string listingReply(const std::vector<ListedMessage>& messages) {
    std::string reply = "at^smgl=\"STO UNSENT\"\r\r\n";
    for (const ListedMessage& m : messages) {
        reply += "^SMGL: " + std::to_string(m.index) + ",\"STO UNSENT\",\"" + m.address +
                 "\",\r\n" + m.text + "\r\n";
    }
    return reply + "\r\nOK\r\n";
}

}  // namespace kv820::test
